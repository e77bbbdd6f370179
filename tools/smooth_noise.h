#pragma once
// Smooth deterministic noise fields for terrain, wind and sunshine.

#include <cstdint>

namespace tools {

// Value noise on a unit lattice, smoothly interpolated; in [0, 1].
double smoothNoise(double x, double y, std::uint32_t seed);
// Sum of octaves of smoothNoise, each of double frequency and half weight; in [0, 1].
double fractalNoise(double x, double y, std::uint32_t seed, int octaves = 4);

}  // namespace tools
