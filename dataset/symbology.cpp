#include "dataset/symbology.h"

#include <vector>

#include "dataset/land_use_colours.h"
#include "engine/string_collection.h"
#include "feedback/error_report.h"

namespace md_functions {
namespace {

using engine::rgb;

struct ClassTable {
    std::vector<double> breaks;
    std::vector<engine::ColorNumber> colours;  // one more than breaks
};

const ClassTable kElevation{
    {200, 400, 600, 800, 1000, 1200, 1400, 1600, 1800, 2000, 2200, 2500, 3000},
    {rgb(38, 115, 0), rgb(76, 156, 36), rgb(129, 199, 93), rgb(196, 245, 171), rgb(255, 249, 186),
     rgb(255, 234, 140), rgb(255, 212, 102), rgb(199, 172, 125), rgb(168, 131, 67),
     rgb(138, 98, 23), rgb(122, 47, 9), rgb(166, 97, 63), rgb(209, 166, 144), rgb(255, 255, 255)}};

const ClassTable kWind{{200, 300, 400, 500, 600, 800},
                       {rgb(255, 255, 255), rgb(222, 184, 135), rgb(254, 172, 0),
                        rgb(255, 110, 180), rgb(154, 50, 205), rgb(255, 0, 0), rgb(0, 0, 255)}};

const ClassTable kHydro{{1, 20, 100, 500, 1000},
                        {rgb(210, 210, 210), rgb(190, 232, 255), rgb(255, 255, 0), rgb(255, 170, 0),
                         rgb(255, 0, 0), rgb(0, 0, 255)}};

// Just below each whole number, so that a whole-number value starts the class above.
const ClassTable kSolar{{1.9999999999, 2.5, 2.9999999999, 3.5, 3.9999999999, 4.5, 4.9999999999, 5.5,
                         5.9999999999, 6.5, 6.999999999, 7.5, 7.999999999, 8.5, 8.999999999},
                        {rgb(122, 97, 50), rgb(184, 146, 75), rgb(224, 178, 92), rgb(252, 218, 154),
                         rgb(237, 237, 166), rgb(230, 230, 83), rgb(255, 255, 0), rgb(252, 223, 0),
                         rgb(255, 171, 0), rgb(237, 138, 0), rgb(255, 94, 25), rgb(247, 0, 0),
                         rgb(207, 0, 0), rgb(153, 0, 0), rgb(115, 0, 0), rgb(71, 0, 0)}};

void attachClassBreaks(engine::MapLayer& layer, const QString& field, const ClassTable& table,
                       int symbolType = -1) {
    auto renderer = std::make_shared<engine::ClassBreaksRenderer>();
    renderer->symbolType = symbolType;
    layer.renderer = renderer;
    renderer->field = field;
    renderer->setBreakCount(int(table.breaks.size()));
    for (int i = 0; i < int(table.breaks.size()); ++i) renderer->setBreak(i, table.breaks[i]);
    for (int i = 0; i < int(table.colours.size()); ++i)
        renderer->symbol(i).color = table.colours[i];
    for (int i = 0; i <= renderer->breakCount(); ++i) renderer->symbol(i).outline = false;
}

void attachLandUse(engine::MapLayer& layer) {
    engine::StringCollection texts;
    for (engine::Recordset rs = layer.records(); !rs.eof(); rs.moveNext())
        texts.add(rs.value(QStringLiteral("LAND_USE")).toString());
    auto renderer = std::make_shared<engine::ValueMapRenderer>();
    renderer->setValueCount(texts.count());
    renderer->field = QStringLiteral("LAND_USE");
    for (int i = 0; i < texts.count(); ++i) {
        renderer->setValue(i, texts.item(i));
        renderer->symbol(i).outline = false;
        renderer->symbol(i).color = LandUseColor(renderer->value(i));
    }
    layer.renderer = renderer;
    layer.visible = false;
}

void setSymbol(engine::MapLayer& layer, engine::ColorNumber colour, int style) {
    layer.symbol.color = colour;
    layer.symbol.style = style;
}

void setOutlineSymbol(engine::MapLayer& layer, double size, engine::ColorNumber outlineColour) {
    layer.symbol.style = 1;
    layer.symbol.outline = true;
    layer.symbol.size = size;
    layer.symbol.outlineColor = outlineColour;
}

}  // namespace

engine::ColorNumber LandUseColor(const QString& landUse) {
    return landUseColourTable().value(landUse.trimmed().toUpper(), kUnknownLandUseColour);
}

void LayerRenderer(engine::MapLayer& layer, const QString& fieldName) {
    md_functions::reportingFailure(QStringLiteral(" Error Source:md_functions.LayerRenderer()"),
                                   [&] {
                                       if (fieldName == QLatin1String("Elev_m")) {
                                           attachClassBreaks(layer, fieldName, kElevation);
                                       } else if (fieldName == QLatin1String("WINDPWRD")) {
                                           attachClassBreaks(layer, fieldName, kWind);
                                       } else if (fieldName == QLatin1String("ANNPOW")) {
                                           attachClassBreaks(layer, fieldName, kHydro, 0);
                                       } else if (fieldName == QLatin1String("ANNDIR") ||
                                                  fieldName == QLatin1String("ANNTILT") ||
                                                  fieldName == QLatin1String("ANNGLO")) {
                                           attachClassBreaks(layer, fieldName, kSolar);
                                           layer.visible = false;
                                       } else if (fieldName == QLatin1String("LAND_USE")) {
                                           attachLandUse(layer);
                                       }
                                   });
}

void SetLayerProperties(engine::MapLayer& layer, const QString& fileName,
                        const QString& solarDisplayName) {
    try {
        const auto solar = [&](const QString& field, const char* defaultName) {
            LayerRenderer(layer, field);
            layer.name =
                solarDisplayName.isEmpty() ? QString::fromLatin1(defaultName) : solarDisplayName;
        };
        const QString& f = fileName;
        if (f == QLatin1String("01_elevation.shp")) {
            LayerRenderer(layer, QStringLiteral("Elev_m"));
            layer.name = QStringLiteral("Elevation (meters)");
        } else if (f == QLatin1String("02_landuse.shp")) {
            LayerRenderer(layer, QStringLiteral("LAND_USE"));
            layer.name = QStringLiteral("Land Use");
        } else if (f == QLatin1String("11_solar_direct.shp") ||
                   f == QLatin1String("15_solar_direct.shp") ||
                   f == QLatin1String("17_solar_direct.shp")) {
            solar(QStringLiteral("ANNDIR"), "40 km Solar Concentrators Annual Average(KWH/M2/DAY)");
        } else if (f == QLatin1String("15_solar_glo.shp")) {
            solar(QStringLiteral("ANNGLO"),
                  "40 km Solar Global Horizontal Annual Average(KWH/M2/DAY)");
        } else if (f == QLatin1String("13_solar_direct.shp")) {
            solar(QStringLiteral("ANNDIR"), "10 KM Solar Concentrators Annual Average(KWH/M2/DAY)");
        } else if (f == QLatin1String("14_solar_glo.shp")) {
            solar(QStringLiteral("ANNGLO"),
                  "10 km Solar Global Horizontal Annual Average(KWH/M2/DAY)");
        } else if (f == QLatin1String("16_solar_tilt.shp")) {
            solar(QStringLiteral("ANNTILT"), "10 km Solar PV Annual Average(KWH/M2/DAY)");
        } else if (f == QLatin1String("12_solar_tilt.shp") ||
                   f == QLatin1String("18_solar_tilt.shp")) {
            solar(QStringLiteral("ANNTILT"), "40 km Solar PV Annual Average(KWH/M2/DAY)");
        } else if (f == QLatin1String("20_wind.shp")) {
            LayerRenderer(layer, QStringLiteral("WINDPWRD"));
            layer.symbol.outline = false;
            layer.name = QStringLiteral("Wind Power Density (W/m2)");
        } else if (f == QLatin1String("31_protectedarea.shp")) {
            setSymbol(layer, rgb(0, 128, 0), 4);
            layer.symbol.outline = true;
            layer.symbol.outlineColor = rgb(0, 128, 0);
            layer.name = QStringLiteral("Protected Areas");
        } else if (f == QLatin1String("30_lakes.shp")) {
            layer.symbol.color = rgb(127, 199, 242);
            layer.symbol.outline = false;
            layer.name = QStringLiteral("Lakes");
        } else if (f == QLatin1String("40_rivers.shp")) {
            layer.symbol.color = rgb(0, 0, 255);
            layer.name = QStringLiteral("Rivers");
        } else if (f == QLatin1String("36_subcountrybnd3.shp")) {
            setOutlineSymbol(layer, 1, rgb(230, 152, 0));
            layer.name = QStringLiteral("Additional Boundary");
        } else if (f == QLatin1String("39_countryboundary.shp")) {
            setOutlineSymbol(layer, 1.5, rgb(0, 0, 0));
            layer.name = QStringLiteral("Country Boundary");
        } else if (f == QLatin1String("37_subcountrybnd2.shp")) {
            setOutlineSymbol(layer, 1, rgb(115, 38, 0));
            layer.name = QStringLiteral("Other Boundary");
        } else if (f == QLatin1String("38_subcountrybnd1.shp")) {
            setOutlineSymbol(layer, 1, rgb(0, 0, 0));
            QFont font(QStringLiteral("MS Sans Serif"), 12);
            font.setBold(true);
            auto labels = std::make_shared<engine::LabelRenderer>();
            layer.renderer = labels;
            labels->symbol(0).font = font;
            labels->field = QStringLiteral("NAME");
            labels->allowDuplicates = true;
            layer.name = QStringLiteral("State Boundaries");
        } else if (f == QLatin1String("42_railroad.shp")) {
            setSymbol(layer, rgb(255, 0, 0), 2);
            layer.name = QStringLiteral("Railways");
        } else if (f == QLatin1String("43_roads.shp")) {
            layer.symbol.color = rgb(255, 0, 0);
            layer.symbol.size = 2;
            layer.name = QStringLiteral("Roads");
        } else if (f == QLatin1String("44_transmissionline.shp")) {
            setSymbol(layer, rgb(0, 0, 0), 3);
            layer.name = QStringLiteral("Transmission Lines");
        } else if (f == QLatin1String("25_hydro.shp")) {
            LayerRenderer(layer, QStringLiteral("ANNPOW"));
            layer.name = QStringLiteral("Hydro Resource (kW)");
        } else if (f == QLatin1String("51_powerplant.shp")) {
            setSymbol(layer, rgb(0, 0, 0), 3);
            layer.name = QStringLiteral("Power Plants");
        } else if (f == QLatin1String("50_protectedarea.shp")) {
            setSymbol(layer, rgb(128, 64, 64), 2);
            layer.name = QStringLiteral("Historic Sites");
        } else if (f == QLatin1String("52_facilities.shp")) {
            setSymbol(layer, rgb(0, 255, 255), 1);
            layer.name = QStringLiteral("Facilities");
        } else if (f == QLatin1String("53_airports.shp")) {
            setSymbol(layer, rgb(255, 128, 0), 2);
            layer.name = QStringLiteral("Airports");
        } else if (f == QLatin1String("59_cities.shp")) {
            setSymbol(layer, rgb(255, 0, 0), 0);
            layer.name = QStringLiteral("Cities");
        }
    } catch (...) {
        ErrorMessage(QStringLiteral(" Error Source:md_functions.SetLayerProperties()"), 48);
    }
}

}  // namespace md_functions
