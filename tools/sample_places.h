#pragma once
// Chooses the known places of SamplePlaces: spots with nothing else drawn near them by default.

#include "tools/sample_layers.h"

namespace tools {

// In metres.
SamplePlaces findPlaces(const SampleWorld& world, const std::vector<GridCell>& windCells);

}  // namespace tools
