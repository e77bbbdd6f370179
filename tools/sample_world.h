#pragma once
// The features of the sample country, generated once in metres and then written layer by layer.

#include <QString>
#include <vector>

#include "tools/sample_dataset.h"
#include "tools/sample_region.h"

namespace tools {

struct City {
    engine::Point at;
    QString name, type;
    int population;
};

struct Lake {
    Ring ring;
    engine::Point centre;
    QString name;
};

struct NamedArea {
    Ring ring;
    QString name, type;
};

struct River {
    Path path;
    QString name;
};

struct LineSegment {
    Path path;
    QString name;
    int voltage = 0;  // transmission lines only
};

struct PowerPlant {
    engine::Point at;
    QString name;
    double capacity;  // MW
};

struct SampleWorld {
    Region region;
    std::vector<City> cities;  // the capital first, then by falling population
    std::vector<Lake> lakes;
    std::vector<NamedArea> protectedAreas;
    std::vector<River> rivers;
    std::vector<PowerPlant> powerPlants;
    std::vector<LineSegment> roads, transmission, railways;

    explicit SampleWorld(const SampleSize& size);
};

// A closed clockwise blob around a centre, radius varying by up to about a third.
Ring blob(const engine::Point& centre, double radius, std::uint64_t seed, int vertices = 48);
// A gently winding path from a to b with a vertex about every step metres.
Path windingPath(const engine::Point& a, const engine::Point& b, double step, double sway, std::uint64_t seed);
// Cuts paths into exactly count pieces (at least one per path), pieces in proportion to length.
std::vector<LineSegment> splitInto(const std::vector<LineSegment>& lines, int count);

}  // namespace tools
