#pragma once
// Small datasets for the model window, written as real shapefiles through the engine.
//
// Cells of 10 km on a metre grid:
//   A  0..10 km   7.3N 80.9W, elevation 511 m, monthly wind, a hydro point near its centre
//   B 10..20 km   7.3S 80.9E, elevation 1234 m, monthly wind, a hydro point 3 tolerances away
//   C 20..30 km   0N 0E, no elevation, solar only
// and nothing at all east of 30 km.

#include <QString>
#include <vector>

#include "engine/types.h"

namespace model_test {

constexpr engine::Point kSiteA{5000, 5000};
constexpr engine::Point kSiteB{15000, 5000};
constexpr engine::Point kSiteC{25000, 5000};
constexpr engine::Point kNowhere{35000, 5000};

enum class Wind { Monthly, AnnualOnly, None };

// Writes 01_elevation, 14_solar_glo and 20_wind (as asked). Returns the path of one of its
// shapefiles, for loading.
QString writeSiteDataset(const QString& dir, Wind wind);
// Writes 25_hydro with one point half a tolerance east of site A and one three tolerances east
// of site B, both with the 13 values of `power` (JANPOW ... DECPOW, ANNPOW), by default
// 1000, 1100, ... 2200 kW.
void writeHydro(const QString& dir, double tolerance, std::vector<double> power = {});

}  // namespace model_test
