#pragma once
// What the dataset knows about the last clicked site, as the model window keeps it.

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "engine/types.h"

namespace model {

// Field names are a month key followed by a suffix ("GLO", "WS", "WPD", "POW"); index 12 gives
// the annual field.
inline const std::array<QString, 13> kMonthKeys = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL",
                                                   "AUG", "SEP", "OCT", "NOV", "DEC", "ANN"};

// Marks, in windPowerDensity, that monthly wind data were found.
constexpr float kMonthlyWindMarker = -1.0f;

struct SiteRecord {
    engine::Point pickedPoint;
    float elevation = 0;  // metres; 0 when not found
    float latitude = 0;   // degrees, north positive; 0 when not found
    float longitude = 0;  // degrees, east positive; 0 when not found
    std::array<float, 12> radiation{};   // kWh/m2/day, January first
    std::array<float, 12> windSpeeds{};  // January first
    float windPowerDensity = 0;          // W/m2, or kMonthlyWindMarker
    float wk = 0;
    float autocorrelation = 0;
    float patternStrength = 0;
    std::int32_t peakHour = 0;
    // kW, January first: the hydro layer's monthly power when it has a sound feature at the site.
    std::optional<std::array<float, 12>> hydroPower;
    QString hydroProblem;   // why the hydro layer's values there were refused; empty when not
    // Which resources the dataset has at the site; a run leaves out what a missing one would feed.
    bool hasSolar = false;
    bool hasWind = false;
    bool complete = false;  // no site clicked yet
};

}  // namespace model
