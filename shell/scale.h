#pragma once
// The map scale text of the main window's scale box.

#include <QString>

namespace engine {
class Map;
}

namespace md_functions {

// "Scale 1 : 2,500,000" for the map's current extent and width on screen.
QString CalculateScale(const engine::Map& map);
// Distance in miles between two points in degrees (Andoyer-Lambert), on the spheroid of the
// map's first layer (or the default spheroid when that layer is projected).
double DegreesToMiles(const engine::Map& map, double lon1, double lat1, double lon2, double lat2);
double DegToRad(double degrees);

}  // namespace md_functions
