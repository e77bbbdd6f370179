#include "tools/utm.h"

#include <cmath>
#include <numbers>

namespace tools {
namespace {

constexpr double a = 6378137.0;
constexpr double f = 1 / 298.257223563;
constexpr double k0 = 0.9996;
constexpr double falseEasting = 500000.0;

const char* const wgs84 =
    "GEOGCS[\"WGS 84\",DATUM[\"WGS_1984\",SPHEROID[\"WGS 84\",6378137,298.257223563,"
    "AUTHORITY[\"EPSG\",\"7030\"]],AUTHORITY[\"EPSG\",\"6326\"]],PRIMEM[\"Greenwich\",0,"
    "AUTHORITY[\"EPSG\",\"8901\"]],UNIT[\"degree\",0.0174532925199433,AUTHORITY[\"EPSG\",\"9122\"]],"
    "AXIS[\"Latitude\",NORTH],AXIS[\"Longitude\",EAST],AUTHORITY[\"EPSG\",\"4326\"]]";

}  // namespace

engine::Point UtmZone::toGeographic(const engine::Point& p) const {
    const double e2 = f * (2 - f);
    const double ep2 = e2 / (1 - e2);
    const double e4 = e2 * e2, e6 = e4 * e2;
    const double x = p.x - falseEasting;
    const double mu = p.y / k0 / (a * (1 - e2 / 4 - 3 * e4 / 64 - 5 * e6 / 256));
    const double s = std::sqrt(1 - e2);
    const double e1 = (1 - s) / (1 + s);
    const double phi1 = mu + (3 * e1 / 2 - 27 * std::pow(e1, 3) / 32) * std::sin(2 * mu) +
                        (21 * e1 * e1 / 16 - 55 * std::pow(e1, 4) / 32) * std::sin(4 * mu) +
                        (151 * std::pow(e1, 3) / 96) * std::sin(6 * mu) +
                        (1097 * std::pow(e1, 4) / 512) * std::sin(8 * mu);
    const double sin1 = std::sin(phi1), cos1 = std::cos(phi1), tan1 = std::tan(phi1);
    const double c1 = ep2 * cos1 * cos1;
    const double t1 = tan1 * tan1;
    const double w = 1 - e2 * sin1 * sin1;
    const double n1 = a / std::sqrt(w);
    const double r1 = a * (1 - e2) / (w * std::sqrt(w));
    const double d = x / (n1 * k0);
    const double d2 = d * d;
    const double phi =
        phi1 - (n1 * tan1 / r1) *
                   (d2 / 2 - (5 + 3 * t1 + 10 * c1 - 4 * c1 * c1 - 9 * ep2) * d2 * d2 / 24 +
                    (61 + 90 * t1 + 298 * c1 + 45 * t1 * t1 - 252 * ep2 - 3 * c1 * c1) * d2 * d2 * d2 / 720);
    const double lambda = (d - (1 + 2 * t1 + c1) * d2 * d / 6 +
                           (5 - 2 * c1 + 28 * t1 - 3 * c1 * c1 + 8 * ep2 + 24 * t1 * t1) * d2 * d2 * d / 120) /
                          cos1;
    constexpr double deg = 180 / std::numbers::pi;
    return {centralMeridian() + lambda * deg, phi * deg};
}

QString UtmZone::wkt() const {
    return QString("PROJCS[\"WGS 84 / UTM zone %1N\",%2,PROJECTION[\"Transverse_Mercator\"],"
                   "PARAMETER[\"latitude_of_origin\",0],PARAMETER[\"central_meridian\",%3],"
                   "PARAMETER[\"scale_factor\",0.9996],PARAMETER[\"false_easting\",500000],"
                   "PARAMETER[\"false_northing\",0],UNIT[\"metre\",1,AUTHORITY[\"EPSG\",\"9001\"]],"
                   "AXIS[\"Easting\",EAST],AXIS[\"Northing\",NORTH],AUTHORITY[\"EPSG\",\"%4\"]]")
        .arg(zone)
        .arg(QString(wgs84))
        .arg(centralMeridian())
        .arg(32600 + zone);
}

QString geographicWkt() { return wgs84; }

}  // namespace tools
