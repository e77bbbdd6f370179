// The synthetic hourly years against their inputs: solar monthly means, wind monthly means,
// Weibull k and lag-1 autocorrelation, power-density mode, and the load.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "tests/zorvel/zorvel_test_util.h"

using namespace zorvel;

namespace {

std::array<double, 12> monthlyDailyMeans(const std::vector<double>& hourly) {
    std::array<double, 12> out{};
    for (int m = 0; m < 12; ++m) {
        int first = firstDayOfMonth(m) * 24, n = kDaysInMonth[m];
        double s = 0;
        for (int t = first; t < first + n * 24; ++t) s += hourly[t];
        out[m] = s / n;
    }
    return out;
}

// Weibull k of a sample by its coefficient of variation, computed here independently of the
// model: CV^2 = Gamma(1+2/k)/Gamma(1+1/k)^2 - 1, solved by bisection.
double kByMoments(const std::vector<double>& v) {
    double mean = std::accumulate(v.begin(), v.end(), 0.0) / v.size();
    double var = 0;
    for (double x : v) var += (x - mean) * (x - mean);
    var /= v.size();
    double cv2 = var / (mean * mean);
    double lo = 0.3, hi = 20;
    for (int i = 0; i < 100; ++i) {
        double k = 0.5 * (lo + hi);
        double f = std::tgamma(1 + 2 / k) / std::pow(std::tgamma(1 + 1 / k), 2) - 1;
        (f > cv2 ? lo : hi) = k;
    }
    return 0.5 * (lo + hi);
}

double autocorr(const std::vector<double>& v) {
    double mean = std::accumulate(v.begin(), v.end(), 0.0) / v.size();
    double num = 0, den = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        den += (v[i] - mean) * (v[i] - mean);
        if (i + 1 < v.size()) num += (v[i] - mean) * (v[i + 1] - mean);
    }
    return num / den;
}

}  // namespace

struct SolarCase {
    float latitude;
    double longitude;
    std::array<float, 12> monthly;
};

class SolarSynthesis : public ::testing::TestWithParam<SolarCase> {};

TEST_P(SolarSynthesis, MonthlyMeansMatchInputsWithinOnePercent) {
    const SolarCase& c = GetParam();
    SolarResource s;
    s.SetMonthlyRadiation(c.latitude, c.monthly);
    SolarSeries series = synthesizeSolar(s, c.longitude, 0.2, 0.0, 42);
    ASSERT_EQ(series.ghi.size(), 8760u);
    auto means = monthlyDailyMeans(series.ghi);
    for (int m = 0; m < 12; ++m)
        EXPECT_NEAR(means[m], c.monthly[m], 0.01 * c.monthly[m]) << "month " << m;
    // Physical sense: never negative, nothing at midnight, the tilted plane gets more than the
    // horizontal in the month of the lowest sun away from the equator.
    for (int t = 0; t < 8760; ++t) {
        EXPECT_GE(series.ghi[t], 0.0);
        EXPECT_GE(series.tilted[t], 0.0);
        if (t % 24 == 0) {
            EXPECT_EQ(series.ghi[t], 0.0) << "hour " << t;
        }
    }
    int winter = c.latitude >= 0 ? 11 : 5;
    if (std::abs(c.latitude) > 20) {
        auto tilted = monthlyDailyMeans(series.tilted);
        EXPECT_GT(tilted[winter], means[winter] * 1.1);
    }
    // Day-to-day variability: the daily clearness index varies and is positively correlated.
    double r = autocorr(series.dailyClearness);
    EXPECT_GT(r, 0.05);
    EXPECT_LT(r, 0.8);
}

INSTANTIATE_TEST_SUITE_P(
    Sites, SolarSynthesis,
    ::testing::Values(
        SolarCase{
            12.0f, 1.5, {5.2f, 5.8f, 6.2f, 6.3f, 6.1f, 5.7f, 5.1f, 4.9f, 5.3f, 5.6f, 5.5f, 5.1f}},
        SolarCase{
            45.0f, 8.0, {1.4f, 2.2f, 3.1f, 3.8f, 4.3f, 4.6f, 4.5f, 3.9f, 3.1f, 2.2f, 1.5f, 1.1f}},
        SolarCase{-30.0f,
                  -60.0,
                  {7.0f, 6.2f, 5.1f, 4.0f, 3.0f, 2.6f, 2.8f, 3.6f, 4.6f, 5.7f, 6.7f, 7.2f}},
        SolarCase{0.5f,
                  100.0,
                  {4.5f, 4.6f, 4.7f, 4.6f, 4.5f, 4.4f, 4.4f, 4.6f, 4.8f, 4.8f, 4.6f, 4.4f}}));

TEST(SolarDays, VaryAsOnTheObservedTypicalYears) {
    // The monthly means of the typical years of Sand Point (55.3 N) and Greensboro (36.1 N). On
    // those years a month's daily clear-sky indices have a standard deviation of 0.22 on average
    // (0.15-0.27), and no day of the three years is below 0.17; a spread as wide as an evenly
    // filled 0.1-1.05 (0.27) puts too many clear days into cloudy winters.
    const std::pair<float, std::array<float, 12>> sites[] = {
        {55.3f, {0.58f, 1.05f, 1.85f, 3.06f, 3.28f, 3.81f, 5.0f, 2.7f, 3.04f, 1.61f, 0.74f, 0.46f}},
        {36.1f,
         {2.41f, 3.06f, 4.25f, 5.41f, 5.64f, 6.25f, 6.08f, 5.61f, 4.43f, 3.59f, 2.43f, 2.24f}}};
    for (const auto& [latitude, monthly] : sites) {
        SolarResource s;
        s.SetMonthlyRadiation(latitude, monthly);
        double spread = 0;
        int months = 0, dark = 0;
        for (int seed = 1; seed <= 5; ++seed) {
            SolarSeries y = synthesizeSolar(s, -100, 0.2, 0, seed);
            for (int m = 0; m < 12; ++m, ++months) {
                double sum = 0, squares = 0;
                for (int d = firstDayOfMonth(m); d < firstDayOfMonth(m) + kDaysInMonth[m]; ++d) {
                    sum += y.dailyClearSkyIndex[d];
                    squares += y.dailyClearSkyIndex[d] * y.dailyClearSkyIndex[d];
                    dark += y.dailyClearSkyIndex[d] < 0.15;
                }
                double mean = sum / kDaysInMonth[m];
                spread += std::sqrt(squares / kDaysInMonth[m] - mean * mean);
            }
        }
        EXPECT_NEAR(spread / months, 0.22, 0.03) << latitude;
        EXPECT_LT(dark, 0.01 * 365 * 5) << latitude;
    }
}

struct WindCase {
    float k, r1, strength;
    int peak;
    std::array<float, 12> monthly;
};

class WindSynthesis : public ::testing::TestWithParam<WindCase> {};

TEST_P(WindSynthesis, ReproducesMonthlyMeansKAndAutocorrelation) {
    const WindCase& c = GetParam();
    WindResource w;
    w.SetWK(c.k);
    w.SetAutocorrelation(c.r1);
    w.SetPatternStrength(c.strength);
    w.SetPeakHour(c.peak);
    w.SetMonthlySpeeds(c.monthly);
    std::vector<double> v = synthesizeWind(w, 7);
    ASSERT_EQ(v.size(), 8760u);
    auto means = monthlyDailyMeans(v);
    for (int m = 0; m < 12; ++m)
        EXPECT_NEAR(means[m] / 24, c.monthly[m], 0.01 * c.monthly[m]) << "month " << m;
    EXPECT_NEAR(kByMoments(v), c.k, 0.1);
    EXPECT_NEAR(autocorr(v), c.r1, 0.05);
    for (double x : v) EXPECT_GE(x, 0.0);
    // The diurnal pattern: the mean speed at the peak hour exceeds the one twelve hours later.
    if (c.strength > 0.1) {
        double atPeak = 0, opposite = 0;
        for (int d = 0; d < 365; ++d) {
            atPeak += v[d * 24 + c.peak];
            opposite += v[d * 24 + (c.peak + 12) % 24];
        }
        EXPECT_GT(atPeak, opposite * (1 + c.strength));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sites, WindSynthesis,
    ::testing::Values(
        WindCase{2.0f,
                 0.85f,
                 0.25f,
                 15,
                 {5.5f, 5.8f, 5.6f, 5.0f, 4.6f, 4.8f, 5.0f, 4.7f, 4.2f, 4.1f, 4.6f, 5.1f}},
        WindCase{1.6f,
                 0.90f,
                 0.10f,
                 3,
                 {8.5f, 8.8f, 8.6f, 8.0f, 7.6f, 7.4f, 7.8f, 7.7f, 7.2f, 7.5f, 8.0f, 8.3f}},
        WindCase{2.6f,
                 0.80f,
                 0.40f,
                 14,
                 {3.0f, 3.1f, 3.0f, 2.8f, 2.6f, 2.4f, 2.3f, 2.3f, 2.5f, 2.7f, 2.9f, 3.0f}},
        WindCase{3.0f,
                 0.95f,
                 0.0f,
                 0,
                 {7.0f, 7.0f, 7.0f, 7.0f, 7.0f, 7.0f, 7.0f, 7.0f, 7.0f, 7.0f, 7.0f, 7.0f}}));

TEST(WindSynthesis, FromPowerDensityGivesThePowerDensityAndK) {
    for (double pd : {150.0, 400.0, 800.0}) {
        WindResource w;
        w.SetFromPowerDensity(static_cast<float>(pd), 1200.0f, 2.0f);
        EXPECT_EQ(w.GetMode(), WindResource::Mode::PowerDensity);
        double rho = airDensity(1200.0);
        double c = std::cbrt(2 * pd / (rho * std::tgamma(1 + 3 / 2.0)));
        double mean = c * std::tgamma(1 + 1 / 2.0);
        for (float m : w.MonthlySpeeds()) EXPECT_NEAR(m, mean, 1e-4 * mean);
        std::vector<double> v = synthesizeWind(w, 11);
        double cube = 0, sum = 0;
        for (double x : v) {
            cube += x * x * x;
            sum += x;
        }
        EXPECT_NEAR(sum / v.size(), mean, 0.01 * mean);
        EXPECT_NEAR(0.5 * rho * cube / v.size(), pd, 0.08 * pd);
        EXPECT_NEAR(kByMoments(v), 2.0, 0.1);
    }
}

TEST(WindSynthesis, AirDensityOfTheStandardAtmosphereAndOfAWarmSite) {
    // The International Standard Atmosphere's table of density by altitude (kg/m3).
    const std::pair<double, double> table[] = {{0, 1.2250},    {500, 1.1673},  {1000, 1.1117},
                                               {1500, 1.0581}, {2000, 1.0066}, {2500, 0.9570},
                                               {3000, 0.9093}, {4000, 0.8194}, {5000, 0.7364}};
    for (auto [z, rho] : table) {
        EXPECT_NEAR(airDensity(z), rho, 5e-4) << z << " m";
        EXPECT_NEAR(airDensity(z, 15.0 - 0.0065 * z), rho, 5e-4) << z << " m";
    }
    // The same pressure, warmer air: rho = p / (R T).
    EXPECT_NEAR(airDensity(0, 30.0), 101325 / (287.05 * 303.15), 5e-4);
    EXPECT_NEAR(airDensity(1500, 35.0) / airDensity(1500, 5.0), 278.15 / 308.15, 1e-9);
}

TEST(LoadSynthesis, AverageShapeAndVariability) {
    ProjectData d = ztest::parse(ztest::smallTemplate());
    std::vector<double> load = synthesizeLoad(d.load, d.seeds.load);
    ASSERT_EQ(load.size(), 8760u);
    double sum = std::accumulate(load.begin(), load.end(), 0.0);
    EXPECT_NEAR(sum / 365, d.load.averageKWhPerDay, 1e-9 * sum);
    // Evening peak: 19:00-20:00 is on average the largest hour.
    std::array<double, 24> byHour{};
    for (int t = 0; t < 8760; ++t) byHour[t % 24] += load[t];
    EXPECT_EQ(std::max_element(byHour.begin(), byHour.end()) - byHour.begin(), 19);
    // Day-to-day variability: the daily totals differ.
    std::vector<double> daily(365, 0.0);
    for (int t = 0; t < 8760; ++t) daily[t / 24] += load[t];
    auto [lo, hi] = std::minmax_element(daily.begin(), daily.end());
    EXPECT_GT(*hi / *lo, 1.2);
    // Same seed, same year; another seed, another year.
    EXPECT_EQ(load, synthesizeLoad(d.load, d.seeds.load));
    EXPECT_NE(load, synthesizeLoad(d.load, d.seeds.load + 1));
}

TEST(LoadSynthesis, SchoolLoadOnWeekdaysOnly) {
    ProjectData d = ztest::parse(ztest::loadTemplate("Large_village_Pallix.zvx"));
    std::vector<double> load = synthesizeLoad(d.load, d.seeds.load);
    double sum = std::accumulate(load.begin(), load.end(), 0.0);
    EXPECT_NEAR(sum / 365, 500.0, 1e-6);
    double weekdayNoon = 0, weekendNoon = 0;
    int wd = 0, we = 0;
    for (int day = 0; day < 365; ++day) {
        double noon = load[day * 24 + 11];
        if (day % 7 >= 5)
            weekendNoon += noon, ++we;
        else
            weekdayNoon += noon, ++wd;
    }
    EXPECT_GT(weekdayNoon / wd, 1.2 * weekendNoon / we);
}

TEST(Random, FixedSeedFixedNumbers) {
    Random a(5), b(5), c(6);
    for (int i = 0; i < 100; ++i) {
        std::uint64_t x = a.next();
        EXPECT_EQ(x, b.next());
        EXPECT_NE(x, c.next());
    }
    Random n(9);
    double s = 0, s2 = 0;
    for (int i = 0; i < 100000; ++i) {
        double x = n.normal();
        s += x;
        s2 += x * x;
    }
    EXPECT_NEAR(s / 100000, 0.0, 0.02);
    EXPECT_NEAR(s2 / 100000, 1.0, 0.02);
}
