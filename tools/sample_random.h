#pragma once
// A small deterministic random source. The sample data must come out byte-identical on every
// machine and library version, so no standard distributions are used.

#include <cmath>
#include <cstdint>

namespace tools {

class SampleRandom {
public:
    explicit SampleRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {  // splitmix64
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int index(int n) { return int(uniform() * n); }

private:
    std::uint64_t state_;
};

}  // namespace tools
