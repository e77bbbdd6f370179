#include "dataset/catalogue.h"

#include "feedback/error_report.h"

namespace md_functions {

QStringList& StandardFileNames() {
    static QStringList names;
    return names;
}

void FillStandardFileNames() {
    StandardFileNames() = {
        QStringLiteral("01_elevation.shp"),
        QStringLiteral("02_landuse.shp"),
        QStringLiteral("11_solar_direct.shp"),
        QStringLiteral("12_solar_tilt.shp"),
        QStringLiteral("13_solar_direct.shp"),
        QStringLiteral("14_solar_glo.shp"),
        QStringLiteral("15_solar_direct.shp"),
        QStringLiteral("16_solar_tilt.shp"),
        QStringLiteral("17_solar_direct.shp"),
        QStringLiteral("18_solar_tilt.shp"),
        QStringLiteral("20_wind.shp"),
        QStringLiteral("21_wind.shp"),
        QStringLiteral("22_wind.shp"),
        QStringLiteral("30_lakes.shp"),
        QStringLiteral("31_protectedarea.shp"),
        QStringLiteral("36_subcountrybnd3.shp"),
        QStringLiteral("37_subcountrybnd2.shp"),
        QStringLiteral("38_subcountrybnd1.shp"),
        QStringLiteral("39_countryboundary.shp"),
        QStringLiteral("40_rivers.shp"),
        QStringLiteral("42_railroad.shp"),
        QStringLiteral("43_roads.shp"),
        QStringLiteral("44_transmissionline.shp"),
        QStringLiteral("50_protectedarea.shp"),
        QStringLiteral("51_powerplant.shp"),
        QStringLiteral("52_facilities.shp"),
        QStringLiteral("53_airports.shp"),
        QStringLiteral("59_cities.shp"),
        QStringLiteral("25_hydro.shp"),
    };
}

bool StandardFile(const QString& fileName) {
    try {
        const QString key = fileName.toLower();
        for (const QString& name : StandardFileNames())
            if (name.toLower() == key) return true;
        return false;
    } catch (...) {
        ErrorMessage(QStringLiteral("Error Source:md_functions.StandardFile()"), 48);
        return false;
    }
}

}  // namespace md_functions
