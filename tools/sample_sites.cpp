#include <cmath>
#include <numbers>

#include "tools/sample_layers.h"
#include "tools/sample_names.h"
#include "tools/sample_random.h"

namespace tools {
namespace {

engine::Point near(const engine::Point& p, double distance, SampleRandom& rnd) {
    const double a = rnd.range(0, 2 * std::numbers::pi);
    return {p.x + distance * std::cos(a), p.y + distance * std::sin(a)};
}

}  // namespace

void writeSites(const SampleWorld& world, const SampleWriter& out) {
    SampleLayer parks = out.layer("31_protectedarea", engine::moShapeTypePolygon,
                                  {textField("NAME", 60), textField("TYPE", 30)});
    for (const auto& a : world.protectedAreas) parks.polygon(a.ring, {a.name, a.type});
    parks.commit();

    SampleRandom rnd(9301);
    NameMaker names(9302);
    SampleLayer historic = out.layer("50_protectedarea", engine::moShapeTypePoint, {textField("NAME", 50)});
    static const char* const kinds[] = {"Ruins of %1", "Old Fort of %1", "%1 Monastery", "%1 Rock Paintings"};
    for (int i = 0; i < 12; ++i) {
        engine::Point p;
        do p = {rnd.range(world.region.bounds().left(), world.region.bounds().right()),
                rnd.range(world.region.bounds().bottom(), world.region.bounds().top())};
        while (world.region.rhoOf(p) > 0.9);
        historic.point(p, {QString(kinds[i % 4]).arg(names.next())});
    }
    historic.commit();

    SampleLayer plants = out.layer("51_powerplant", engine::moShapeTypePoint,
                                   {textField("NAME", 50), realField("CAPACITY", 8, 1)});
    for (const auto& p : world.powerPlants) plants.point(p.at, {p.name, p.capacity});
    plants.commit();

    SampleLayer facilities = out.layer("52_facilities", engine::moShapeTypePoint,
                                       {textField("NAME", 50), textField("TYPE", 30)});
    static const char* const types[] = {"Hospital", "University", "Substation", "Water Treatment Plant", "Market"};
    for (int i = 0; i < 16; ++i) {
        const auto& c = world.cities[i % world.cities.size()];
        const QString type = types[i % 5];
        facilities.point(near(c.at, rnd.range(2000, 6000), rnd), {c.name + " " + type, type});
    }
    facilities.commit();

    SampleLayer airports = out.layer("53_airports", engine::moShapeTypePoint, {textField("NAME", 50)});
    for (size_t i = 0; i < std::min<size_t>(5, world.cities.size()); ++i) {
        const auto& c = world.cities[i];
        airports.point(near(c.at, rnd.range(10000, 15000), rnd),
                       {c.name + (i == 0 ? " International Airport" : " Airport")});
    }
    airports.commit();

    SampleLayer cities = out.layer("59_cities", engine::moShapeTypePoint,
                                   {textField("NAME", 40), textField("TYPE", 20), integerField("POP", 10)});
    for (const auto& c : world.cities) cities.point(c.at, {c.name, c.type, c.population});
    cities.commit();
}

}  // namespace tools
