#include "tools/smooth_noise.h"

#include <cmath>

namespace tools {
namespace {

double lattice(std::int64_t ix, std::int64_t iy, std::uint32_t seed) {
    std::uint64_t h = std::uint64_t(ix) * 0x9e3779b97f4a7c15ull ^ std::uint64_t(iy) * 0xc2b2ae3d27d4eb4full ^
                      std::uint64_t(seed) * 0x165667b19e3779f9ull;
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ull;
    h ^= h >> 33;
    return double(h >> 11) * (1.0 / 9007199254740992.0);
}

double fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

}  // namespace

double smoothNoise(double x, double y, std::uint32_t seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const auto ix = std::int64_t(fx), iy = std::int64_t(fy);
    const double u = fade(x - fx), v = fade(y - fy);
    const double a = lattice(ix, iy, seed), b = lattice(ix + 1, iy, seed);
    const double c = lattice(ix, iy + 1, seed), d = lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * u) * (1 - v) + (c + (d - c) * u) * v;
}

double fractalNoise(double x, double y, std::uint32_t seed, int octaves) {
    double sum = 0, weight = 1, total = 0, f = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * smoothNoise(x * f, y * f, seed + 101u * std::uint32_t(i));
        total += weight;
        weight *= 0.5;
        f *= 2;
    }
    return sum / total;
}

}  // namespace tools
