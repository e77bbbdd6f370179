#include "siting/query_descriptors.h"

#include "siting/query_procedures.h"

namespace siting {

namespace {

QString key(const QString& s) { return s.trimmed().toUpper(); }

const ParameterSpec kWindRange{Parameter::WindRange, {}, {}};
const ParameterSpec kLandUses{Parameter::LandUses, {}, {}};

}  // namespace

bool QueryDescriptor::has(Parameter kind) const { return parameter(kind) != nullptr; }

const ParameterSpec* QueryDescriptor::parameter(Parameter kind) const {
    for (const ParameterSpec& p : parameters)
        if (p.kind == kind) return &p;
    return nullptr;
}

const std::vector<QueryDescriptor>& Queries() {
    using namespace md_query_functions2;
    static const std::vector<QueryDescriptor> queries{
        {"No Query (Base Map)", {}, false, {}, nullptr},
        {"Wind by Power Density", {"20_wind.shp"}, true, {kWindRange}, wind_class_x_or_better},
        {"Best wind - protected areas",
         {"20_wind.shp", "31_protectedarea.shp"},
         true,
         {kWindRange},
         wind_minus_protected_areas},
        {"Best wind + land use",
         {"20_wind.shp", "02_landuse.shp"},
         true,
         {kWindRange, kLandUses},
         wind_with_land_use},
        {"Best wind + roads",
         {"20_wind.shp", "43_roads.shp"},
         true,
         {kWindRange,
          {Parameter::RoadsKm, " kM from roads", "Proximity value must be >=0.001 and <= 25km.",
           false, false}},
         wind_with_roads},
        {"Best wind + transmission",
         {"20_wind.shp", "44_transmissionline.shp"},
         true,
         {kWindRange,
          {Parameter::TransmissionKm, " kM from transmission lines",
           "Proximity value must be >=0.001 and <= 25km."}},
         wind_with_transmission},
        {"Best wind (all)",
         {"20_wind.shp", "31_protectedarea.shp", "02_landuse.shp", "43_roads.shp",
          "44_transmissionline.shp"},
         true,
         {kWindRange,
          {Parameter::TransmissionKm, " kM from transmission lines",
           "Proximity to transmission must be >=0.001 and <= 25km.", true},
          {Parameter::RoadsKm, " kM from roads", "Proximity to roads must be >=0.001 and <= 25km.",
           true},
          kLandUses,
          {Parameter::RemoveProtected, "remove protected areas ", {}}},
         wind_all},
        {"Best Solar X kWh/m2/day",
         {},
         false,
         {{Parameter::SolarRange, {}, {}}, {Parameter::SolarResource, {}, {}}},
         solar_x_kwhm2_or_better},
    };
    return queries;
}

const QueryDescriptor* FindQuery(const QString& name) {
    const QString k = key(name);
    for (const QueryDescriptor& q : Queries())
        if (key(q.name) == k) return &q;
    return nullptr;
}

const QStringList& QueryNames() {
    static const QStringList names = [] {
        QStringList out;
        for (const QueryDescriptor& q : Queries()) out << q.name;
        return out;
    }();
    return names;
}

bool isWindQuery(const QString& name) {
    const QueryDescriptor* q = FindQuery(name);
    return q && q->wind && q->name == name;
}

const std::vector<SolarResource>& SolarResources() {
    static const std::vector<SolarResource> resources{
        {"40 km Solar Concentrators Annual Average(KWH/M2/DAY)", "11_solar_direct.shp", "ANNDIR"},
        {"40 km Solar PV Annual Average(KWH/M2/DAY)", "12_solar_tilt.shp", "ANNTILT"},
        {"10 KM Solar Concentrators Annual Average(KWH/M2/DAY)", "13_solar_direct.shp", "ANNDIR"},
        {"10 km Solar Global Horizontal Annual Average(KWH/M2/DAY)", "14_solar_glo.shp", "ANNGLO"},
        {"40 km Solar Global Horizontal Annual Average(KWH/M2/DAY)", "15_solar_glo.shp", "ANNGLO"},
        {"10 km Solar PV Annual Average(KWH/M2/DAY)", "16_solar_tilt.shp", "ANNTILT"}};
    return resources;
}

const SolarResource* FindSolarResource(const QString& description) {
    for (const SolarResource& r : SolarResources())
        if (r.description == description) return &r;
    return nullptr;
}

}  // namespace siting
