#include "info/info_fields.h"

#include <QHash>

namespace info {
namespace {

QStringList solarFields(const QString& kind) {
    QStringList names{"CELL_ID", "GRIDCODE", "LON", "LAT"};
    for (const char* month : {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP",
                              "OCT", "NOV", "DEC", "ANN"})
        names << QString::fromLatin1(month) + kind;
    return names;
}

QHash<QString, LayerFields> buildTable() {
    QHash<QString, LayerFields> t;
    const auto add = [&t](const QStringList& files, FieldStyle style, const QStringList& names) {
        for (const QString& f : files) t.insert(f, {style, names});
    };
    add({"01_elevation.shp"}, FieldStyle::Plain, {"ELEV_M"});
    add({"02_landuse.shp"}, FieldStyle::Plain, {"LAND_USE"});
    add({"11_solar_direct.shp", "13_solar_direct.shp", "15_solar_direct.shp",
         "17_solar_direct.shp"},
        FieldStyle::Ordered, solarFields("DIR"));
    add({"12_solar_tilt.shp", "16_solar_tilt.shp", "18_solar_tilt.shp"}, FieldStyle::Ordered,
        solarFields("TILT"));
    add({"14_solar_glo.shp", "15_solar_glo.shp"}, FieldStyle::Ordered, solarFields("GLO"));
    add({"20_wind.shp"}, FieldStyle::Ordered, {"WINDCLASS", "WINDPWRD"});
    add({"25_hydro.shp"}, FieldStyle::Ordered,
        {"WATERSHED", "ANNPOW", "JANPOW", "FEBPOW", "MARPOW", "APRPOW", "MAYPOW", "JUNPOW",
         "JULPOW", "AUGPOW", "SEPPOW", "OCTPOW", "NOVPOW", "DECPOW", "HEAD200M", "BASINAREA"});
    add({"30_lakes.shp", "40_rivers.shp", "42_railroad.shp", "43_roads.shp", "53_airports.shp"},
        FieldStyle::Plain, {"NAME"});
    add({"31_protectedarea.shp", "52_facilities.shp"}, FieldStyle::Ordered, {"NAME", "TYPE"});
    add({"36_subcountrybnd3.shp", "37_subcountrybnd2.shp", "38_subcountrybnd1.shp"},
        FieldStyle::Ordered, {"NAME", "POP"});
    add({"44_transmissionline.shp"}, FieldStyle::Ordered, {"NAME", "VOLTAGE"});
    add({"51_powerplant.shp"}, FieldStyle::Ordered, {"NAME", "CAPACITY"});
    add({"59_cities.shp"}, FieldStyle::Ordered, {"NAME", "TYPE", "POP"});
    return t;
}

}  // namespace

const LayerFields& fieldsOf(const QString& layerFile) {
    static const QHash<QString, LayerFields> table = buildTable();
    static const LayerFields none;
    const auto it = table.constFind(layerFile);
    return it == table.constEnd() ? none : *it;
}

QString unitSuffix(const QString& fieldNameUpper) {
    const QString key = fieldNameUpper.trimmed();
    if (key == QLatin1String("HEAD200M")) return QStringLiteral(" (m)");
    if (key == QLatin1String("BASINAREA")) return QStringLiteral(" (km^2)");
    return {};
}

}  // namespace info
