// Solar geometry (Duffie and Beckman, Solar Engineering of Thermal Processes, chapter 1) and the
// hours of the year as the sun sees them.
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

double declination(int day) {
    return 23.45 * kDeg * std::sin(2.0 * kPi * (284.0 + day + 1) / 365.0);
}

double eccentricityFactor(int day) { return 1.0 + 0.033 * std::cos(2.0 * kPi * (day + 1) / 365.0); }

double equationOfTimeMinutes(int day) {
    double b = 2.0 * kPi * (day + 1 - 81) / 364.0;
    return 9.87 * std::sin(2 * b) - 7.53 * std::cos(b) - 1.5 * std::sin(b);
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
    double lat = latitudeDeg * kDeg, d = declination(day), ws = sunsetHourAngle(lat, d);
    double h0 = 24.0 / kPi * kSolarConstant * eccentricityFactor(day) *
                (std::cos(lat) * std::cos(d) * std::sin(ws) + ws * std::sin(lat) * std::sin(d));
    return std::max(0.0, h0);
}

std::vector<SunHour> sunHours(double latitudeDeg, double longitudeDeg, double tiltDeg) {
    std::vector<SunHour> out(kHoursPerYear);
    const double lat = latitudeDeg * kDeg, tilt = tiltDeg * kDeg;
    const double azimuth = latitudeDeg >= 0 ? 0.0 : kPi;  // facing the equator
    const int zone = static_cast<int>(std::lround(longitudeDeg / 15.0));
    for (int day = 0; day < 365; ++day) {
        const double decl = declination(day), ws = sunsetHourAngle(lat, decl);
        const double shift =
            (longitudeDeg - 15.0 * zone) / 15.0 + equationOfTimeMinutes(day) / 60.0;
        for (int h = 0; h < 24; ++h) {
            const double w1 = (h + shift - 12.0) * kHourAngle, w2 = w1 + kHourAngle;
            const bool polarDay = ws >= kPi - 1e-9;
            const double a = polarDay ? w1 : std::max(w1, -ws),
                         b = polarDay ? w2 : std::min(w2, ws);
            if (b <= a) continue;
            SunHour& s = out[day * 24 + h];
            s.sunlit = static_cast<float>((b - a) / kHourAngle);
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
