// Synthetic hourly years: load, solar irradiance (horizontal and tilted) and wind speed.
// Every series comes from a fixed seed, so the same project always gives the same year.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "zorvel/model.h"

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

constexpr double kSolarConstant = 1.367;  // kW/m2
constexpr double kDeg = std::numbers::pi / 180.0;

double declination(int dayOfYear) {  // Cooper, radians; dayOfYear 0-based
    return 23.45 * kDeg * std::sin(2.0 * std::numbers::pi * (284.0 + dayOfYear + 1) / 365.0);
}
double eccentricity(int dayOfYear) {
    return 1.0 + 0.033 * std::cos(2.0 * std::numbers::pi * (dayOfYear + 1) / 365.0);
}
double sunsetHourAngle(double lat, double decl) {
    double x = -std::tan(lat) * std::tan(decl);
    return std::acos(std::clamp(x, -1.0, 1.0));
}
double equationOfTimeMinutes(int dayOfYear) {
    double b = 2.0 * std::numbers::pi * (dayOfYear + 1 - 81) / 364.0;
    return 9.87 * std::sin(2 * b) - 7.53 * std::cos(b) - 1.5 * std::sin(b);
}
// Erbs, Klein and Duffie (1982): diffuse fraction of hourly global radiation.
double erbsDiffuseFraction(double kt) {
    if (kt <= 0.22) return 1.0 - 0.09 * kt;
    if (kt <= 0.80)
        return 0.9511 - 0.1604 * kt + 4.388 * kt * kt - 16.638 * kt * kt * kt +
               12.336 * kt * kt * kt * kt;
    return 0.165;
}

}  // namespace

double extraterrestrialDaily(double latitudeDeg, int day) {
    double lat = latitudeDeg * kDeg, d = declination(day), ws = sunsetHourAngle(lat, d);
    double h0 = 24.0 / std::numbers::pi * kSolarConstant * eccentricity(day) *
                (std::cos(lat) * std::cos(d) * std::sin(ws) + ws * std::sin(lat) * std::sin(d));
    return std::max(0.0, h0);
}

SolarSeries synthesizeSolar(const SolarResource& solar, double longitude, double rhoGround,
                            std::uint64_t seed) {
    SolarSeries out;
    out.ghi.assign(kHoursPerYear, 0.0);
    out.tilted.assign(kHoursPerYear, 0.0);
    out.dailyClearness.assign(365, 0.0);
    Random rng(seed);
    const double latDeg = solar.Latitude();
    const double lat = latDeg * kDeg;
    const auto& monthly = solar.MonthlyRadiation();

    // Daily clearness: a Gaussian AR(1) sequence (lag-1 0.3, as observed for daily clearness)
    // around the month's mean clearness, clipped to the physical range, then each month's
    // daily totals scaled to its input mean.
    std::vector<double> h0(365), daily(365, 0.0);
    for (int day = 0; day < 365; ++day) h0[day] = extraterrestrialDaily(latDeg, day);
    const double phiDay = 0.3;
    double x = rng.normal();
    for (int m = 0; m < 12; ++m) {
        int first = firstDayOfMonth(m), n = kDaysInMonth[m];
        double h0sum = 0;
        for (int day = first; day < first + n; ++day) h0sum += h0[day];
        double kbar = h0sum > 0 ? monthly[m] * n / h0sum : 0.0;
        double kb = std::clamp(kbar, 0.05, 0.8);
        double sigma = 0.6 * kb * (1.0 - kb);
        double sum = 0;
        for (int day = first; day < first + n; ++day) {
            x = phiDay * x + std::sqrt(1 - phiDay * phiDay) * rng.normal();
            double kt = std::clamp(kb + sigma * x, 0.02, 0.85);
            out.dailyClearness[day] = kt;
            daily[day] = kt * h0[day];
            sum += daily[day];
        }
        double target = monthly[m] * n;
        if (sum > 0) {
            for (int day = first; day < first + n; ++day) daily[day] *= target / sum;
            // No day clearer than 0.8: move the surplus to the other days by their room.
            double room = 0, surplus = 0;
            for (int day = first; day < first + n; ++day) {
                double cap = 0.8 * h0[day];
                if (daily[day] > cap) {
                    surplus += daily[day] - cap;
                    daily[day] = cap;
                }
                room += cap - daily[day];
            }
            if (surplus > 0 && room > 0) {
                double f = std::min(1.0, surplus / room);
                for (int day = first; day < first + n; ++day)
                    daily[day] += f * (0.8 * h0[day] - daily[day]);
            }
            if (surplus > room) {  // a month clearer than 0.8 on average: keep its mean anyway
                double s2 = 0;
                for (int day = first; day < first + n; ++day) s2 += daily[day];
                for (int day = first; day < first + n; ++day) daily[day] *= target / s2;
            }
            for (int day = first; day < first + n; ++day)
                out.dailyClearness[day] = h0[day] > 0 ? daily[day] / h0[day] : 0.0;
        } else if (target > 0) {
            // polar night with a non-zero input: spread the energy evenly over the month's days
            for (int day = first; day < first + n; ++day) daily[day] = monthly[m];
        }
    }

    // Hourly: Collares-Pereira and Rabl's ratio of hourly to daily global radiation around the
    // clear-sky shape, with hour-to-hour AR(1) fluctuations (lag-1 0.54) whose size depends on
    // the day's clearness; each day's hours sum to the day's total.
    const int tz = static_cast<int>(std::lround(longitude / 15.0));
    const double tilt = std::abs(lat);
    const double latTilted = lat >= 0 ? lat - tilt : lat + tilt;  // the plane faces the equator
    const double phiHour = 0.54;
    double e = rng.normal();
    std::array<double, 24> r{}, cosz{}, omega{};
    for (int day = 0; day < 365; ++day) {
        double decl = declination(day), ws = sunsetHourAngle(lat, decl), e0 = eccentricity(day);
        double a = 0.409 + 0.5016 * std::sin(ws - 60 * kDeg);
        double b = 0.6609 - 0.4767 * std::sin(ws - 60 * kDeg);
        double denom = std::sin(ws) - ws * std::cos(ws);
        double shift = (longitude - 15.0 * tz) / 15.0 + equationOfTimeMinutes(day) / 60.0;
        double rsum = 0;
        for (int h = 0; h < 24; ++h) {
            double solarTime = h + 0.5 + shift;
            double w = (solarTime - 12.0) * 15.0 * kDeg;
            omega[h] = w;
            cosz[h] = std::sin(lat) * std::sin(decl) + std::cos(lat) * std::cos(decl) * std::cos(w);
            double v = 0;
            if (denom > 1e-9 && std::cos(w) > std::cos(ws))
                v = std::numbers::pi / 24.0 * (a + b * std::cos(w)) * (std::cos(w) - std::cos(ws)) /
                    denom;
            r[h] = std::max(0.0, v);
            rsum += r[h];
        }
        if (rsum <= 0) {
            // no sun by the formula (polar night) but a non-zero total: midday hours only
            if (daily[day] > 0) {
                for (int h = 10; h < 14; ++h) out.ghi[day * 24 + h] = daily[day] / 4.0;
            }
            continue;
        }
        double kt = out.dailyClearness[day];
        double sigma = std::max(0.02, kt * (1.0 - kt));
        // No hour may exceed a clearness of 0.85 (or its share of a very clear day's total).
        std::array<double, 24> cap{};
        double sum = 0;
        for (int h = 0; h < 24; ++h) {
            e = phiHour * e + std::sqrt(1 - phiHour * phiHour) * rng.normal();
            if (r[h] <= 0) continue;
            double base = daily[day] * r[h] / rsum;
            cap[h] = std::max(0.85 * kSolarConstant * e0 * std::max(cosz[h], 0.0), base);
            double g = std::min(base * std::max(0.0, 1.0 + sigma * e), cap[h]);
            out.ghi[day * 24 + h] = g;
            sum += g;
        }
        // Scale the hours to the day's total, moving what a capped hour cannot take to the others.
        for (int pass = 0; pass < 8 && sum > 0; ++pass) {
            double f = daily[day] / sum, spill = 0, room = 0;
            sum = 0;
            for (int h = 0; h < 24; ++h) {
                double& g = out.ghi[day * 24 + h];
                g *= f;
                if (g > cap[h]) {
                    spill += g - cap[h];
                    g = cap[h];
                }
                room += cap[h] - g;
                sum += g;
            }
            if (spill <= 1e-12 || room <= 0) break;
        }
        if (sum > 0 && sum < daily[day]) {  // what is still missing, by each hour's room
            double room = 0;
            for (int h = 0; h < 24; ++h) room += cap[h] - out.ghi[day * 24 + h];
            double missing = std::min(daily[day] - sum, room);
            for (int h = 0; h < 24 && room > 0; ++h)
                out.ghi[day * 24 + h] += missing * (cap[h] - out.ghi[day * 24 + h]) / room;
        }
        if (sum <= 0) {
            for (int h = 0; h < 24; ++h) out.ghi[day * 24 + h] = daily[day] * r[h] / rsum;
        }
        // The plane tilted at the latitude: isotropic sky (Liu and Jordan) with ground reflection.
        for (int h = 0; h < 24; ++h) {
            double g = out.ghi[day * 24 + h];
            if (g <= 0) continue;
            double cz = std::max(cosz[h], 0.05);
            double g0 = kSolarConstant * e0 * cz;
            double ktH = std::clamp(g / g0, 0.0, 1.0);
            double gd = erbsDiffuseFraction(ktH) * g;
            double gb = g - gd;
            double cosTheta = std::sin(latTilted) * std::sin(decl) +
                              std::cos(latTilted) * std::cos(decl) * std::cos(omega[h]);
            double rb = std::min(std::max(cosTheta, 0.0) / cz, 8.0);
            out.tilted[day * 24 + h] =
                gb * rb + gd * (1 + std::cos(tilt)) / 2 + g * rhoGround * (1 - std::cos(tilt)) / 2;
        }
    }
    return out;
}

// ----- wind -----

double airDensity(double z) {
    // International Standard Atmosphere, troposphere.
    double t = 1.0 - 0.0065 * z / 288.15;
    return 1.225 * std::pow(std::max(t, 0.1), 4.25588);
}

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
