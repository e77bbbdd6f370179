// Air density, air temperature through the year and the temperature of the PV cells.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "zorvel/model.h"
#include "zorvel/solar.h"

namespace zorvel {

namespace {
constexpr double kPi = std::numbers::pi;
// International Standard Atmosphere (troposphere): sea-level pressure and temperature, lapse rate,
// the exponent g M / (R L) and the gas constant of dry air.
constexpr double kP0 = 101325.0, kT0 = 288.15, kLapse = kLapseRateKPerM, kExponent = 5.25588,
                 kDryAir = 287.053;
// Sandia open-rack module with a polymer back sheet (King, Boyson and Kratochvil 2004).
constexpr double kSandiaA = -3.56, kSandiaB = -0.075, kSandiaDeltaT = 3.0;
}  // namespace

double pressureRatio(double z) {
    return std::pow(std::max(1.0 - kLapse * z / kT0, 0.1), kExponent);
}

double airDensity(double z, double temperatureC) {
    return kP0 * pressureRatio(z) / (kDryAir * (temperatureC + 273.15));
}

double siteAmbientTemperature(const SiteData& site) {
    if (!site.temperatureReferenceElevation) return site.ambientTemperature;
    return site.ambientTemperature -
           kLapse * (site.elevation - *site.temperatureReferenceElevation);
}

double airDensity(double z) { return airDensity(z, kT0 - kLapse * std::min(z, 11000.0) - 273.15); }

std::vector<double> ambientTemperatures(double annualMean, const std::array<double, 12>* monthly,
                                        double latitudeDeg,
                                        const std::vector<double>& dailyClearSkyIndex) {
    std::array<double, 365> daily{};
    if (monthly) {
        // Linear between the middles of the months, round the year.
        std::array<double, 12> middle{};
        for (int m = 0; m < 12; ++m) middle[m] = firstDayOfMonth(m) + kDaysInMonth[m] / 2.0;
        for (int d = 0; d < 365; ++d) {
            int next = 0;
            while (next < 12 && middle[next] <= d) ++next;
            int prev = (next + 11) % 12;
            next %= 12;
            double from = middle[prev], to = middle[next];
            if (to <= from) to += 365;
            double at = d < from ? d + 365 : d;
            daily[d] = (*monthly)[prev] +
                       ((*monthly)[next] - (*monthly)[prev]) * (at - from) / (to - from);
        }
    } else {
        // The warmest day about four weeks after the summer solstice; half the annual range
        // 0.2 K per degree of latitude.
        const double warmest = latitudeDeg >= 0 ? 200 : 17, swing = 0.2 * std::abs(latitudeDeg);
        for (int d = 0; d < 365; ++d)
            daily[d] = annualMean + swing * std::cos(2 * kPi * (d - warmest) / 365.0);
    }
    std::vector<double> out(kHoursPerYear);
    for (int d = 0; d < 365; ++d) {
        double clear =
            dailyClearSkyIndex.empty() ? 0.6 : std::clamp(dailyClearSkyIndex[d], 0.0, 1.0);
        double half = 1.5 + 4.5 * clear;  // a clear day warms and cools more than an overcast one
        for (int h = 0; h < 24; ++h)
            out[d * 24 + h] = daily[d] + half * std::cos(2 * kPi * (h + 0.5 - 15) / 24);
    }
    return out;
}

double cellTemperature(double poa, double ambient, double wind, double noct) {
    auto rise = [](double g, double v) {
        return g * std::exp(kSandiaA + kSandiaB * v) + g / 1000 * kSandiaDeltaT;
    };
    const double scale = (noct - 20.0) / rise(800.0, 1.0);
    return ambient + scale * rise(poa * 1000.0, wind);
}

}  // namespace zorvel
