// Synthetic hourly years: load, solar irradiance (horizontal and tilted) and wind speed.
// Every series comes from a fixed seed, so the same project always gives the same year.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "zorvel/model.h"
#include "zorvel/solar.h"

namespace zorvel {

const char* const kMonthNames[12] = {"January",   "February", "March",    "April",
                                     "May",       "June",     "July",     "August",
                                     "September", "October",  "November", "December"};

int monthOfDay(int day) {
    int m = 0;
    while (m < 11 && day >= firstDayOfMonth(m + 1)) ++m;
    return m;
}

int firstDayOfMonth(int month) {
    int d = 0;
    for (int m = 0; m < month; ++m) d += kDaysInMonth[m];
    return d;
}

// ----- random numbers: xoshiro256** (Blackman and Vigna), seeded by splitmix64 -----

Random::Random(std::uint64_t seed) {
    std::uint64_t z = seed;
    for (auto& s : s_) {
        z += 0x9e3779b97f4a7c15ULL;
        std::uint64_t x = z;
        x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
        x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
        s = x ^ (x >> 31);
    }
}

std::uint64_t Random::next() {
    auto rotl = [](std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); };
    std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
    std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    return result;
}

double Random::uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

double Random::normal() {
    if (hasSpare_) {
        hasSpare_ = false;
        return spare_;
    }
    double u1;
    do u1 = uniform();
    while (u1 <= 0.0);
    double u2 = uniform();
    double r = std::sqrt(-2.0 * std::log(u1));
    double a = 2.0 * std::numbers::pi * u2;
    spare_ = r * std::sin(a);
    hasSpare_ = true;
    return r * std::cos(a);
}

// ----- load -----

std::vector<double> synthesizeLoad(const LoadData& load, std::uint64_t seed) {
    Random rng(seed);
    std::vector<double> out(kHoursPerYear);
    auto base = [&](int day, int hour) {
        if (load.byMonth) return load.monthly[monthOfDay(day)][hour];
        bool weekend = day % 7 >= 5;  // 1 January is a Monday
        return weekend ? load.weekend[hour] : load.weekday[hour];
    };
    double sd = load.dayToDayPercent / 100.0, sh = load.hourToHourPercent / 100.0;
    for (int day = 0; day < 365; ++day) {
        double df = std::max(0.0, 1.0 + sd * rng.normal());
        for (int h = 0; h < 24; ++h) {
            double hf = std::max(0.0, 1.0 + sh * rng.normal());
            out[day * 24 + h] = base(day, h) * df * hf;
        }
    }
    double sum = 0;
    for (double v : out) sum += v;
    double target = load.averageKWhPerDay * 365.0;
    double f = sum > 0 ? target / sum : 0.0;
    for (double& v : out) v *= f;
    return out;
}

// ----- solar -----

namespace {

// Daily clear-sky index: Hollands and Huget's density p(y) ~ (1 - y) e^(g y) on y in [0, 1],
// y = (x - kDayMin) / (kDayMax - kDayMin), with the month's mean, drawn through a Gaussian AR(1)
// sequence so that consecutive days are correlated as observed. Its density falls to nothing at
// the top, so a cloudy month has few fully clear days.
constexpr double kDayMin = 0.15, kDayMax = 1.1, kDayLag1 = 0.35;
// Hourly clear-sky index within a day: an AR(1) sequence around the day's index whose spread
// vanishes on clear and on overcast days; no hour beyond 1.15 times the clear sky.
constexpr double kHourSpread = 0.4, kHourLag1 = 0.7, kHourMax = 1.15;

// The density's integral from 0 to y, not normalised; written with expm1 so that it holds for g
// near 0.
double huget(double y, double g) {
    if (std::abs(g) < 1e-6) return y - y * y / 2;
    return ((1 + g * (1 - y)) * std::expm1(g * y) - g * y) / (g * g);
}

double hugetMean(double g) {
    if (std::abs(g) < 1e-3) return (1.0 / 6 + g / 12) / (0.5 + g / 6);
    return (2 * g + (g - 2) * std::expm1(g)) / (g * g * g) / huget(1.0, g);
}

// The g whose mean is m (the mean rises with g).
double hugetRate(double m) {
    double lo = -200, hi = 200;
    for (int i = 0; i < 60; ++i) {
        double mid = 0.5 * (lo + hi);
        (hugetMean(mid) < m ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

// The y below which a share u of the days lies.
double hugetQuantile(double u, double g) {
    const double target = u * huget(1.0, g);
    double lo = 0, hi = 1;
    for (int i = 0; i < 40; ++i) {
        double mid = 0.5 * (lo + hi);
        (huget(mid, g) < target ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

// Spreads a day's energy over its hours by their clear sky scaled by kc, keeping the day's total
// and no hour above kHourMax times its clear sky (unless the day is brighter than that allows).
void splitDay(const double* clearSky, const std::array<double, 24>& kc, double total, double* out) {
    double sum = 0, clearSum = 0;
    for (int h = 0; h < 24; ++h) {
        out[h] = kc[h] * clearSky[h];
        sum += out[h];
        clearSum += clearSky[h];
    }
    if (total >= kHourMax * clearSum || sum <= 0) {
        for (int h = 0; h < 24; ++h) out[h] = clearSum > 0 ? total * clearSky[h] / clearSum : 0.0;
        return;
    }
    for (int pass = 0; pass < 20; ++pass) {
        double f = total / sum, spill = 0;
        sum = 0;
        for (int h = 0; h < 24; ++h) {
            out[h] *= f;
            double cap = kHourMax * clearSky[h];
            if (out[h] > cap) {
                spill += out[h] - cap;
                out[h] = cap;
            }
            sum += out[h];
        }
        if (spill <= 1e-12 * total) break;
    }
    double room = 0;
    for (int h = 0; h < 24; ++h) room += kHourMax * clearSky[h] - out[h];
    for (int h = 0; h < 24 && room > 0 && sum < total; ++h)
        out[h] += (total - sum) * (kHourMax * clearSky[h] - out[h]) / room;
}

}  // namespace

SolarSeries synthesizeSolar(const SolarResource& solar, double longitude, double albedo,
                            double elevation, std::uint64_t seed) {
    SolarSeries out;
    out.ghi.assign(kHoursPerYear, 0.0);
    out.tilted.assign(kHoursPerYear, 0.0);
    out.effective.assign(kHoursPerYear, 0.0);
    out.dailyClearness.assign(365, 0.0);
    out.dailyClearSkyIndex.assign(365, 0.0);
    Random rng(seed);
    const double latDeg = solar.Latitude(), tiltDeg = std::abs(latDeg);
    const auto& monthly = solar.MonthlyRadiation();
    const std::vector<SunHour> sun = sunHours(latDeg, longitude, tiltDeg);
    std::vector<double> clearSky(kHoursPerYear), clearDay(365, 0.0), daily(365, 0.0);
    for (int t = 0; t < kHoursPerYear; ++t) {
        clearSky[t] = sun[t].clearSky;
        clearDay[t / 24] += clearSky[t];
    }

    double z = rng.normal();
    for (int m = 0; m < 12; ++m) {
        const int first = firstDayOfMonth(m), n = kDaysInMonth[m];
        double clearMonth = 0;
        for (int d = first; d < first + n; ++d) clearMonth += clearDay[d];
        const double target = monthly[m] * n;
        const double mean = clearMonth > 0 ? target / clearMonth : 0.0;
        const double g = hugetRate(std::clamp((mean - kDayMin) / (kDayMax - kDayMin), 0.02, 0.98));
        double sum = 0;
        for (int d = first; d < first + n; ++d) {
            z = kDayLag1 * z + std::sqrt(1 - kDayLag1 * kDayLag1) * rng.normal();
            double u = 0.5 * std::erfc(-z / std::numbers::sqrt2);
            daily[d] = (kDayMin + (kDayMax - kDayMin) * hugetQuantile(u, g)) * clearDay[d];
            sum += daily[d];
        }
        for (int d = first; d < first + n; ++d)  // the month's mean exactly; polar night: evenly
            daily[d] = sum > 0 ? daily[d] * target / sum : monthly[m];
    }

    const double pressure = pressureRatio(elevation);
    double e = rng.normal();
    std::array<double, 24> kc{};
    for (int d = 0; d < 365; ++d) {
        const double x = clearDay[d] > 0 ? daily[d] / clearDay[d] : 0.0,
                     xc = std::clamp(x, 0.0, 1.0);
        const double spread = kHourSpread * std::sqrt(xc * (1 - xc));
        for (int h = 0; h < 24; ++h) {
            e = kHourLag1 * e + std::sqrt(1 - kHourLag1 * kHourLag1) * rng.normal();
            kc[h] = std::clamp(x + spread * e, 0.02, kHourMax);
        }
        double* ghi = &out.ghi[d * 24];
        if (clearDay[d] > 0) {
            splitDay(&clearSky[d * 24], kc, daily[d], ghi);
        } else if (daily[d] > 0) {
            for (int h = 10; h < 14; ++h) ghi[h] = daily[d] / 4;  // no sun by the formula: midday
        }
        const double h0 = extraterrestrialDaily(latDeg, d);
        out.dailyClearness[d] = h0 > 0 ? daily[d] / h0 : 0.0;
        out.dailyClearSkyIndex[d] = x;
        for (int h = 0; h < 24; ++h) {
            PlaneOfArray p = planeOfArray(sun[d * 24 + h], ghi[h], tiltDeg, albedo, pressure);
            out.tilted[d * 24 + h] = p.total();
            out.effective[d * 24 + h] = p.effective;
        }
    }
    return out;
}

// ----- wind -----

double weibullKFromMoments(const std::vector<double>& v) {
    double mean = 0, sq = 0;
    for (double x : v) mean += x;
    mean /= v.size();
    if (mean <= 0) return 0;
    for (double x : v) sq += (x - mean) * (x - mean);
    double cv2 = sq / v.size() / (mean * mean);
    // CV^2 = Gamma(1 + 2/k) / Gamma(1 + 1/k)^2 - 1, decreasing in k.
    auto f = [](double k) {
        return std::exp(std::lgamma(1 + 2 / k) - 2 * std::lgamma(1 + 1 / k)) - 1;
    };
    double lo = 0.2, hi = 50;
    if (cv2 >= f(lo)) return lo;
    if (cv2 <= f(hi)) return hi;
    for (int i = 0; i < 80; ++i) {
        double mid = 0.5 * (lo + hi);
        (f(mid) > cv2 ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

double lag1Autocorrelation(const std::vector<double>& v) {
    double mean = 0;
    for (double x : v) mean += x;
    mean /= v.size();
    double num = 0, den = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        den += (v[i] - mean) * (v[i] - mean);
        if (i + 1 < v.size()) num += (v[i] - mean) * (v[i + 1] - mean);
    }
    return den > 0 ? num / den : 0.0;
}

std::vector<double> synthesizeWind(const WindResource& wind, std::uint64_t seed) {
    const auto& monthly = wind.MonthlySpeeds();
    std::vector<double> v(kHoursPerYear, 0.0);
    bool any = false;
    for (float m : monthly) any = any || m > 0;
    if (!any) return v;

    Random rng(seed);
    std::vector<double> eps(kHoursPerYear);
    for (double& x : eps) x = rng.normal();
    std::array<double, 24> diurnal{};
    for (int h = 0; h < 24; ++h)
        diurnal[h] = 1.0 + wind.PatternStrength() *
                               std::cos(2.0 * std::numbers::pi * (h - wind.PeakHour()) / 24.0);
    std::vector<int> monthOfHour(kHoursPerYear);
    for (int t = 0; t < kHoursPerYear; ++t) monthOfHour[t] = monthOfDay(t / 24);

    const double kTarget = wind.WK();
    const double rTarget = std::min(0.995, static_cast<double>(wind.Autocorrelation()));
    std::vector<double> z(kHoursPerYear);
    // A Gaussian AR(1) series with coefficient a, mapped through the normal distribution to a
    // Weibull variable with shape kb and mean 1, times the month's mean and the diurnal cosine;
    // each month then scaled to its input mean.
    auto generate = [&](double kb, double a) {
        double s = std::sqrt(std::max(0.0, 1 - a * a));
        z[0] = eps[0];
        for (int t = 1; t < kHoursPerYear; ++t) z[t] = a * z[t - 1] + s * eps[t];
        double scale = 1.0 / std::tgamma(1 + 1 / kb);
        std::array<double, 12> sum{};
        for (int t = 0; t < kHoursPerYear; ++t) {
            double q = 0.5 * std::erfc(z[t] / std::numbers::sqrt2);  // 1 - Phi(z)
            q = std::clamp(q, 1e-300, 1.0);
            double u = scale * std::pow(-std::log(q), 1.0 / kb);
            v[t] = monthly[monthOfHour[t]] * u * diurnal[t % 24];
            sum[monthOfHour[t]] += v[t];
        }
        for (int t = 0; t < kHoursPerYear; ++t) {
            int m = monthOfHour[t];
            double mean = sum[m] / (kDaysInMonth[m] * 24);
            v[t] = mean > 0 ? v[t] * monthly[m] / mean : 0.0;
        }
    };
    // Calibrate the shape and the AR coefficient (with the same random numbers) so that the whole
    // year's series has the input k (by its coefficient of variation) and lag-1 autocorrelation.
    double kb = kTarget, a = rTarget;
    for (int iter = 0; iter < 40; ++iter) {
        generate(kb, a);
        double kNow = weibullKFromMoments(v), rNow = lag1Autocorrelation(v);
        double dk = kTarget - kNow, dr = rTarget - rNow;
        if (std::abs(dk) < 0.005 && std::abs(dr) < 0.002) break;
        kb = std::clamp(kb + dk * (kb / std::max(kNow, 0.2)), 0.3, 30.0);
        a = std::clamp(a + dr, 0.0, 0.999);
    }
    return v;
}

}  // namespace zorvel
