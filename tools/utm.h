#pragma once
// Universal Transverse Mercator on the WGS 84 ellipsoid, northern hemisphere: the inverse
// formulas the generator needs for latitude/longitude fields and the degree variant, and the
// coordinate-system texts of the .prj files.

#include <QString>

#include "engine/types.h"

namespace tools {

struct UtmZone {
    int zone = 37;  // northern hemisphere

    double centralMeridian() const { return zone * 6.0 - 183.0; }
    // Easting/northing in metres to longitude (x) and latitude (y) in degrees.
    engine::Point toGeographic(const engine::Point& p) const;
    QString wkt() const;
};

// WGS 84 geographic coordinates in degrees.
QString geographicWkt();

}  // namespace tools
