// Fuel, solar and wind resource objects of the automation interface: their setters check their
// arguments and throw zorvel::Error with a description naming the operation.
#include <cmath>
#include <sstream>

#include "zorvel/model.h"

namespace zorvel {

std::string numberText(double v) {
    std::ostringstream s;
    s << v;
    return s.str();
}

std::string groupedNumber(std::int64_t v) {
    std::string digits = std::to_string(v < 0 ? -v : v), out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return (v < 0 ? "-" : "") + out;
}

void checkRange(const char* op, const char* what, double v, double lo, double hi) {
    if (!std::isfinite(v) || v < lo || v > hi)
        throw Error(std::string(op) + ": " + what + " must be from " + numberText(lo) + " to " +
                    numberText(hi) + " (is " + numberText(v) + ")");
}

namespace {

std::array<float, 12> twelve(const char* op, const char* what, std::span<const float> values,
                             double lo, double hi) {
    if (values.size() != 12)
        throw Error(std::string(op) + ": exactly 12 monthly values are needed (got " +
                    std::to_string(values.size()) + ")");
    std::array<float, 12> out{};
    for (std::size_t i = 0; i < 12; ++i) {
        if (!std::isfinite(values[i]) || values[i] < lo || values[i] > hi)
            throw Error(std::string(op) + ": the " + what + " of " + kMonthNames[i] +
                        " must be from " + numberText(lo) + " to " + numberText(hi) + " (is " +
                        numberText(values[i]) + ")");
        out[i] = values[i];
    }
    return out;
}

}  // namespace

void Fuel::SetPrice(float pricePerLitre) {
    checkRange("SetPrice", "the fuel price", pricePerLitre, 0, 1000);
    price_ = pricePerLitre;
}

void SolarResource::SetMonthlyRadiation(float latitude, std::span<const float> values) {
    checkRange("SetMonthlyRadiation", "the latitude", latitude, -90, 90);
    auto m = twelve("SetMonthlyRadiation", "radiation", values, 0, 12);
    latitude_ = latitude;
    monthly_ = m;
    set_ = true;
}

void WindResource::SetAltitude(float metres) {
    checkRange("SetAltitude", "the altitude", metres, -500, 9000);
    altitude_ = metres;
}

void WindResource::SetAutocorrelation(float lag1) {
    checkRange("SetAutocorrelation", "the lag-1 autocorrelation", lag1, 0, 1);
    autocorrelation_ = lag1;
}

void WindResource::SetWK(float k) {
    checkRange("SetWK", "the Weibull k", k, 0.5, 10);
    k_ = k;
}

void WindResource::SetPatternStrength(float strength) {
    checkRange("SetPatternStrength", "the diurnal pattern strength", strength, 0, 1);
    patternStrength_ = strength;
}

void WindResource::SetPeakHour(int hour) {
    if (hour < 0 || hour > 24)
        throw Error("SetPeakHour: the peak hour must be from 0 to 23 (is " + std::to_string(hour) +
                    ")");
    peakHour_ = hour % 24;
}

void WindResource::SetMonthlySpeeds(std::span<const float> speeds) {
    monthly_ = twelve("SetMonthlySpeeds", "wind speed", speeds, 0, 50);
    mode_ = Mode::MonthlySpeeds;
    set_ = true;
}

void WindResource::SetFromPowerDensity(float powerDensity, float altitude, float k) {
    checkRange("SetFromPowerDensity", "the power density", powerDensity, 0, 20000);
    checkRange("SetFromPowerDensity", "the altitude", altitude, -500, 9000);
    checkRange("SetFromPowerDensity", "the Weibull k", k, 0.5, 10);
    powerDensity_ = powerDensity;
    altitude_ = altitude;
    k_ = k;
    // The equivalent mean speed, for display and for the monthly means of the synthesis.
    double rho = airDensity(altitude);
    double c = std::cbrt(2.0 * powerDensity / (rho * std::tgamma(1.0 + 3.0 / k)));
    float mean = static_cast<float>(c * std::tgamma(1.0 + 1.0 / k));
    monthly_.fill(mean);
    mode_ = Mode::PowerDensity;
    set_ = true;
}

void WindResource::SetAnemometerHeight(float metres) {
    checkRange("SetAnemometerHeight", "the anemometer height", metres, 1, 300);
    anemometerHeight_ = metres;
}

void HydroResource::SetMonthlyPower(std::span<const float> monthlyKw) {
    monthly_ = twelve("SetMonthlyPower", "hydro power (kW)", monthlyKw, 0, kMaxHydroKw);
    set_ = true;
}

}  // namespace zorvel
