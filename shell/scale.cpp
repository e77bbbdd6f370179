#include "shell/scale.h"

#include <QLocale>
#include <cmath>
#include <stdexcept>

#include "mapview/map.h"
#include "feedback/error_report.h"

namespace md_functions {
namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kDefaultAxis = 6378137;
constexpr double kDefaultFlattening = 0.003352813;
constexpr double kTwipsPerInch = 1440;
constexpr double kFeetPerMile = 5280;
constexpr double kInchesPerFoot = 12;
constexpr double kInchesPerMetre = 39.37;
constexpr double kMilesPerMetre = 0.0006214;
// Two points further apart than half the globe are measured the short way round it; a view
// wider than that is measured in steps no wider than this, so each step is the way it spans.
constexpr double kWidestStepDegrees = 10;

}  // namespace

double DegToRad(double degrees) {
    try {
        return degrees * kPi / 180;
    } catch (...) {
        ErrorMessage(
            QStringLiteral(
                " Error while lconverting degree to Radian. Error Source:md_functions.DegToRad()"),
            48);
        return 0;
    }
}

double DegreesToMiles(const engine::Map& map, double lon1, double lat1, double lon2, double lat2) {
    try {
        if (lon1 == lon2 && lat1 == lat2) return 0;
        double a = kDefaultAxis, f = kDefaultFlattening;
        const auto& cs = map.layer(0)->coordinateSystem();
        if (cs && !cs->isProjected) {
            a = cs->axis;
            f = cs->flattening;
        }
        const double F = (DegToRad(lat1) + DegToRad(lat2)) / 2;
        const double G = (DegToRad(lat1) - DegToRad(lat2)) / 2;
        const double L = (DegToRad(lon1) - DegToRad(lon2)) / 2;
        const auto sq = [](double v) { return v * v; };
        const double S = sq(std::sin(G)) * sq(std::cos(L)) + sq(std::cos(F)) * sq(std::sin(L));
        const double C = sq(std::cos(G)) * sq(std::cos(L)) + sq(std::sin(F)) * sq(std::sin(L));
        if (!(C > 0) || !(S > 0)) throw std::domain_error("degenerate distance");
        const double w = std::atan(std::sqrt(S / C));
        const double R = std::sqrt(S * C) / w;
        const double D = 2 * w * a;
        const double H1 = (3 * R - 1) / (2 * C);
        const double H2 = (3 * R + 1) / (2 * S);
        const double metres = D * (1 + f * (H1 * sq(std::sin(F)) * sq(std::cos(G)) -
                                            H2 * sq(std::cos(F)) * sq(std::sin(G))));
        if (!std::isfinite(metres)) throw std::domain_error("distance not finite");
        return metres * kMilesPerMetre;
    } catch (...) {
        ErrorMessage(QStringLiteral(" Error while converting degree to mile. Error "
                                    "Source:md_functions.DegreesToMiles()"),
                     48);
        return 0;
    }
}

QString CalculateScale(const engine::Map& map) {
    try {
        if (map.layerCount() == 0) return QStringLiteral("- No Map - ");
        const auto& cs = map.layer(0)->coordinateSystem();
        if (!cs) return QStringLiteral("- No Units - ");
        const double screenInches = map.widthInTwips() / kTwipsPerInch;
        if (!(screenInches > 0)) throw std::domain_error("map has no width");
        const QString unit = cs->unitName.toLower();
        double groundInches = 0;
        const engine::Rectangle extent = map.extent();
        if (unit == QLatin1String("degree")) {
            const double midLat = (extent.top() + extent.bottom()) / 2;
            const double width = extent.width();
            const int steps = width > 180 ? int(std::ceil(width / kWidestStepDegrees)) : 1;
            groundInches = steps * DegreesToMiles(map, 0, midLat, width / steps, midLat) *
                           kFeetPerMile * kInchesPerFoot;
        } else if (unit == QLatin1String("meter")) {
            groundInches = extent.width() * kInchesPerMetre;
        }
        return QStringLiteral("Scale 1 : ") +
               QLocale().toString(groundInches / screenInches, 'f', 0);
    } catch (...) {
        ErrorMessage(QStringLiteral(" Error while calculating the scale factor. Error "
                                    "Source:md_functions.CalculateScale()"),
                     48);
        return {};
    }
}

}  // namespace md_functions
