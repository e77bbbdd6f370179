// Solar geometry: the sun's position by the Astronomical Almanac's formulas, the angles of
// Duffie and Beckman (Solar Engineering of Thermal Processes, chapter 1), and the hours of the
// year as the sun sees them.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "zorvel/model.h"
#include "zorvel/solar.h"

namespace zorvel {

namespace {
constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180.0;
constexpr double kHourAngle = 15.0 * kDeg;  // per hour
constexpr int kSteps = 6;                   // sub-steps of an hour for the integrals
}  // namespace

SunPosition sunPosition(double day) {
    // Days from J2000.0 (2000-01-01 12:00 UT) to 2018-01-01 00:00 UT, a common year that starts
    // on a Monday as the model's year does.
    const double n = 6574.5 + day;
    auto degrees360 = [](double a) {
        a = std::fmod(a, 360.0);
        return a < 0 ? a + 360.0 : a;
    };
    const double meanLongitude = degrees360(280.460 + 0.9856474 * n);
    const double anomaly = degrees360(357.528 + 0.9856003 * n) * kDeg;
    const double longitude =
        (meanLongitude + 1.915 * std::sin(anomaly) + 0.020 * std::sin(2 * anomaly)) * kDeg;
    const double obliquity = (23.439 - 4e-7 * n) * kDeg;
    const double rightAscension =
        std::atan2(std::cos(obliquity) * std::sin(longitude), std::cos(longitude)) / kDeg;
    double lead = meanLongitude - degrees360(rightAscension);  // degrees, within +-180
    if (lead > 180) lead -= 360;
    if (lead < -180) lead += 360;
    const double distance =
        1.00014 - 0.01671 * std::cos(anomaly) - 0.00014 * std::cos(2 * anomaly);  // AU
    return {std::asin(std::sin(obliquity) * std::sin(longitude)), 4.0 * lead,
            1.0 / (distance * distance)};
}

double sunsetHourAngle(double lat, double decl) {
    return std::acos(std::clamp(-std::tan(lat) * std::tan(decl), -1.0, 1.0));
}

double cosZenith(double lat, double decl, double w) {
    return std::sin(lat) * std::sin(decl) + std::cos(lat) * std::cos(decl) * std::cos(w);
}

double cosIncidence(double lat, double decl, double w, double tilt, double azimuth) {
    const double sd = std::sin(decl), cd = std::cos(decl), sl = std::sin(lat), cl = std::cos(lat);
    const double sb = std::sin(tilt), cb = std::cos(tilt), cg = std::cos(azimuth),
                 sg = std::sin(azimuth);
    return sd * sl * cb - sd * cl * sb * cg + cd * cl * cb * std::cos(w) +
           cd * sl * sb * cg * std::cos(w) + cd * sb * sg * std::sin(w);
}

double extraterrestrialDaily(double latitudeDeg, int day) {
    const SunPosition sun = sunPosition(day + 0.5);
    double lat = latitudeDeg * kDeg, d = sun.declination, ws = sunsetHourAngle(lat, d);
    double h0 = 24.0 / kPi * kSolarConstant * sun.eccentricityFactor *
                (std::cos(lat) * std::cos(d) * std::sin(ws) + ws * std::sin(lat) * std::sin(d));
    return std::max(0.0, h0);
}

std::vector<SunHour> sunHours(double latitudeDeg, double longitudeDeg, double tiltDeg) {
    std::vector<SunHour> out(kHoursPerYear);
    const double lat = latitudeDeg * kDeg, tilt = tiltDeg * kDeg;
    const double azimuth = latitudeDeg >= 0 ? 0.0 : kPi;  // facing the equator
    const int zone = static_cast<int>(std::lround(longitudeDeg / 15.0));
    for (int day = 0; day < 365; ++day) {
        for (int h = 0; h < 24; ++h) {
            // The sun at the middle of the hour in universal time: at low sun a few tenths of a
            // degree change the clear sky and the beam on the array by several per cent.
            const SunPosition sun = sunPosition(day + (h + 0.5 - zone) / 24.0);
            const double decl = sun.declination, ws = sunsetHourAngle(lat, decl);
            const double shift =
                (longitudeDeg - 15.0 * zone) / 15.0 + sun.equationOfTimeMinutes / 60.0;
            const double w1 = (h + shift - 12.0) * kHourAngle, w2 = w1 + kHourAngle;
            const bool polarDay = ws >= kPi - 1e-9;
            const double a = polarDay ? w1 : std::max(w1, -ws),
                         b = polarDay ? w2 : std::min(w2, ws);
            if (b <= a) continue;
            SunHour& s = out[day * 24 + h];
            s.sunlit = static_cast<float>((b - a) / kHourAngle);
            s.normal = static_cast<float>(kSolarConstant * sun.eccentricityFactor);
            const double mid = 0.5 * (a + b);
            s.cosZenith = static_cast<float>(std::max(0.0, cosZenith(lat, decl, mid)));
            s.cosIncidence = static_cast<float>(cosIncidence(lat, decl, mid, tilt, azimuth));
            s.meanCosZenith = static_cast<float>(
                std::max(0.0, (std::sin(lat) * std::sin(decl) * (b - a) +
                               std::cos(lat) * std::cos(decl) * (std::sin(b) - std::sin(a))) /
                                  kHourAngle));
            double incidence = 0, clear = 0;
            for (int k = 0; k < kSteps; ++k) {
                const double w = a + (k + 0.5) * (b - a) / kSteps;
                incidence += std::max(0.0, cosIncidence(lat, decl, w, tilt, azimuth));
                clear += haurwitzClearSky(cosZenith(lat, decl, w));
            }
            s.meanCosIncidence = static_cast<float>(incidence / kSteps * s.sunlit);
            s.clearSky = static_cast<float>(clear / kSteps * s.sunlit);
        }
    }
    return out;
}

}  // namespace zorvel
