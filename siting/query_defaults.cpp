#include "siting/query_defaults.h"

#include <cmath>
#include <memory>

#include "engine/renderer.h"
#include "engine/string_collection.h"
#include "siting/number_text.h"

namespace siting {

namespace {

using md_query_functions2::plainNumber;

std::shared_ptr<engine::ClassBreaksRenderer> breaksOf(const engine::MapLayer& layer) {
    return std::dynamic_pointer_cast<engine::ClassBreaksRenderer>(layer.renderer);
}

// The layer of a solar resource: the one named after it, else the top one.
std::shared_ptr<engine::MapLayer> solarLayer(const Study& study, const QString& description) {
    for (int i = 0; i < study.layers().layerCount(); ++i)
        if (study.layers().layer(i)->name == description) return study.layers().layer(i);
    return study.layers().layer(0);
}

QString at(const QStringList& list, int i) {
    return i >= 0 && i < list.size() ? list[i] : QString();
}

}  // namespace

RangeChoices WindRangeChoices(const Study& study) {
    RangeChoices c;
    const auto breaks = breaksOf(*study.layer("20_wind.shp"));
    if (!breaks) throw engine::EngineError("the wind layer has no class breaks");
    for (int i = 0; i < breaks->breakCount(); ++i) c.minimums << plainNumber(breaks->breakValue(i));
    c.maximums = c.minimums;
    c.maximums << "Max";
    c.minimum = 3;
    c.maximum = int(c.maximums.size()) - 2;
    return c;
}

RangeChoices SolarRangeChoices(const Study& study, const QStringList& resources) {
    RangeChoices c;
    for (const QString& resource : resources) {
        const SolarResource* r = FindSolarResource(resource);
        if (!r || !study.hasLayer(r->layerFile)) continue;
        const auto breaks = breaksOf(*solarLayer(study, resource));
        for (int b = 0; breaks && b < breaks->breakCount(); ++b)
            c.minimums << plainNumber(std::round(breaks->breakValue(b) * 10) / 10);
        c.maximums = c.minimums;
        c.minimum = 3;
        c.maximum = int(c.maximums.size()) - 1;
        return c;
    }
    for (int k = 0; k <= 14; ++k) c.minimums << plainNumber(2 + 0.5 * k);
    c.maximums = c.minimums;
    c.minimum = 3;
    c.maximum = int(c.maximums.size()) - 1;
    return c;
}

QStringList OfferedSolarResources(const Study& study) {
    QStringList out;
    const auto& all = SolarResources();
    for (int i = 0; i < 4; ++i) out << all[size_t(i)].description;
    if (study.hasLayer("16_solar_tilt.shp") || study.hasLayer("15_solar_glo.shp"))
        out << all[4].description << all[5].description;
    return out;
}

QStringList LandUses(const Study& study) {
    const auto layer = study.layer("02_landuse.shp");
    engine::Recordset records = layer->searchExpression(QStringLiteral("FeatureID") + " > -1");
    engine::StringCollection texts;
    for (; !records.eof(); records.moveNext()) texts.add(records.value("LAND_USE").toString());
    return texts.items();
}

ParameterInput DefaultInput(const Study& study, const QueryDescriptor& query) {
    ParameterInput in;
    in.removeProtected = true;
    RangeChoices range;
    try {
        if (query.has(Parameter::WindRange)) range = WindRangeChoices(study);
    } catch (const std::exception&) {
        // No breaks to offer: nothing is shown.
    }
    if (query.has(Parameter::SolarResource)) {
        const QStringList offered = OfferedSolarResources(study);
        in.solarResource = offered.first();
        range = SolarRangeChoices(study, offered);
    }
    in.minimum = at(range.minimums, range.minimum);
    in.maximum = at(range.maximums, range.maximum);
    for (const ParameterSpec& p : query.parameters) {
        const QString start = p.keepTyped ? kStartDistance : kDefaultDistance;
        if (p.kind == Parameter::RoadsKm) in.roadsKm = start;
        if (p.kind == Parameter::TransmissionKm) in.transmissionKm = start;
    }
    return in;
}

}  // namespace siting
