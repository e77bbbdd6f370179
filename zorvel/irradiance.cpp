// Irradiance on the array: Haurwitz's clear sky, Maxwell's DISC split of the global radiation into
// beam and diffuse, the Perez (1990) sky on the tilted plane and the physical angle-of-incidence
// loss of the cover glass. Sources and reasons in zorvel/README.md.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "zorvel/model.h"
#include "zorvel/solar.h"

namespace zorvel {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

// Perez, Ineichen, Seals, Michalsky and Stewart (1990), table 6: f11 f12 f13 f21 f22 f23 for the
// eight sky-clearness bins.
constexpr double kPerez[8][6] = {
    {-0.008, 0.588, -0.062, -0.060, 0.072, -0.022}, {0.130, 0.683, -0.151, -0.019, 0.066, -0.029},
    {0.330, 0.487, -0.221, 0.055, -0.064, -0.026},  {0.568, 0.187, -0.295, 0.109, -0.152, -0.014},
    {0.873, -0.392, -0.362, 0.226, -0.462, 0.001},  {1.132, -1.237, -0.412, 0.288, -0.823, 0.056},
    {1.060, -1.600, -0.359, 0.264, -1.127, 0.131},  {0.678, -0.327, -0.250, 0.156, -1.377, 0.251}};
constexpr double kPerezBinEdges[7] = {1.065, 1.23, 1.5, 1.95, 2.8, 4.5, 6.2};

}  // namespace

double haurwitzClearSky(double cz) { return cz > 0 ? 1.098 * cz * std::exp(-0.057 / cz) : 0.0; }

double kastenAirMass(double cz) {
    double zenithDeg = std::acos(std::clamp(cz, -1.0, 1.0)) / kDeg;
    return 1.0 / (std::cos(zenithDeg * kDeg) + 0.15 * std::pow(93.885 - zenithDeg, -1.253));
}

double discBeamShare(double kt, double am) {
    am = std::min(am, 12.0);
    double a, b, c;
    if (kt <= 0.6) {
        a = 0.512 + kt * (-1.56 + kt * (2.286 - 2.222 * kt));
        b = 0.37 + 0.962 * kt;
        c = -0.28 + kt * (0.932 - 2.048 * kt);
    } else {
        a = -5.743 + kt * (21.77 + kt * (-27.49 + 11.56 * kt));
        b = 41.4 + kt * (-118.5 + kt * (66.05 + 31.9 * kt));
        c = -47.01 + kt * (184.2 + kt * (-222.0 + 73.81 * kt));
    }
    double clear = 0.866 + am * (-0.122 + am * (0.0121 + am * (-0.000653 + 1.4e-05 * am)));
    return std::max(0.0, clear - (a + b * std::exp(c * am)));
}

PerezFactors perezFactors(double epsilon, double delta, double zenith) {
    int bin = static_cast<int>(
        std::upper_bound(std::begin(kPerezBinEdges), std::end(kPerezBinEdges), epsilon) -
        std::begin(kPerezBinEdges));
    const double* f = kPerez[bin];
    return {std::max(0.0, f[0] + f[1] * delta + f[2] * zenith),
            f[3] + f[4] * delta + f[5] * zenith};
}

double physicalIam(double theta) {
    constexpr double n = 1.526,
                     kl = 4.0 * 0.002;  // refractive index; extinction (1/m) x thickness (m)
    if (theta >= std::numbers::pi / 2) return 0.0;
    auto transmittance = [&](double t) {
        if (t < 1e-6) {
            double r = (n - 1) / (n + 1);
            return std::exp(-kl) * (1 - r * r);
        }
        double tr = std::asin(std::sin(t) / n);
        double rs = std::pow(std::sin(tr - t) / std::sin(tr + t), 2);
        double rp = std::pow(std::tan(tr - t) / std::tan(tr + t), 2);
        return std::exp(-kl / std::cos(tr)) * (1 - 0.5 * (rs + rp));
    };
    return transmittance(theta) / transmittance(0.0);
}

PlaneOfArray planeOfArray(const SunHour& s, double ghi, double tiltDeg, double albedo,
                          double pressure) {
    PlaneOfArray p;
    if (ghi <= 0) return p;
    const double tilt = tiltDeg * kDeg;
    // Brandemuehl and Beckman's effective incidence angles of the sky and the ground.
    const double skyAngle = (59.7 - 0.1388 * tiltDeg + 0.001497 * tiltDeg * tiltDeg) * kDeg;
    const double groundAngle = (90.0 - 0.5788 * tiltDeg + 0.002693 * tiltDeg * tiltDeg) * kDeg;
    p.ground = ghi * albedo * (1 - std::cos(tilt)) / 2;
    double diffuse = ghi;
    if (s.sunlit > 0 && s.meanCosZenith > 0) {
        const double normal = s.normal;
        const double kt =
            std::min(1.0, ghi / (normal * std::max<double>(s.meanCosZenith, 0.065 * s.sunlit)));
        const double am = kastenAirMass(s.cosZenith);
        double dni =
            s.cosZenith > std::cos(87 * kDeg) ? discBeamShare(kt, am * pressure) * normal : 0.0;
        dni = std::min(dni, ghi / s.meanCosZenith);  // the beam never exceeds the global
        diffuse = ghi - dni * s.meanCosZenith;
        p.beam = dni * s.meanCosIncidence;
        if (diffuse > 0) {
            const double dIrr = diffuse / s.sunlit, zenith = std::acos(s.cosZenith),
                         z3 = 1.041 * std::pow(zenith, 3);
            const double epsilon = ((dIrr + dni) / dIrr + z3) / (1 + z3);
            const PerezFactors f = perezFactors(epsilon, dIrr * am / normal, zenith);
            const double ratio = s.meanCosIncidence /
                                 std::max<double>(s.meanCosZenith, s.sunlit * std::cos(85 * kDeg));
            p.sky = std::max(0.0, diffuse * ((1 - f.f1) * (1 + std::cos(tilt)) / 2 + f.f1 * ratio +
                                             f.f2 * std::sin(tilt)));
        }
        p.effective =
            p.beam * physicalIam(std::acos(std::clamp<double>(s.cosIncidence, -1.0, 1.0)));
    } else {
        p.sky =
            diffuse * (1 + std::cos(tilt)) / 2;  // light without a sun by the formula: isotropic
    }
    p.effective += p.sky * physicalIam(skyAngle) + p.ground * physicalIam(groundAngle);
    return p;
}

}  // namespace zorvel
