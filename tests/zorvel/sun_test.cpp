// The sun and the array against published worked examples and values: Duffie and Beckman's
// solar-geometry examples, the Perez (1990) coefficient table, Maxwell's DISC model and the
// physical incidence-angle loss as the pvlib reference implementation computes them, and the
// temperatures; then the synthetic year's properties and its CSV export.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <numeric>

#include "tests/zorvel/zorvel_test_util.h"

using namespace zorvel;
using ztest::json;

namespace {
constexpr double kDeg = std::numbers::pi / 180.0;
}  // namespace

TEST(SolarGeometry, DuffieAndBeckmanExamples) {
    // Example 1.6.1: Madison (43 deg N), 13 February, 10:30 solar time, a plane tilted 45 deg and
    // turned 15 deg west of south: declination -14 deg, incidence 35 deg (cos 0.817).
    double c = cosIncidence(43 * kDeg, -14 * kDeg, -22.5 * kDeg, 45 * kDeg, 15 * kDeg);
    EXPECT_NEAR(c, 0.817, 0.001);
    // Example 1.6.2: zenith angles 66.5 deg at 9:30 on 13 February and 79.6 deg at 18:30 on 1 July.
    EXPECT_NEAR(std::acos(cosZenith(43 * kDeg, -14 * kDeg, -37.5 * kDeg)) / kDeg, 66.5, 0.1);
    EXPECT_NEAR(std::acos(cosZenith(43 * kDeg, 23.1 * kDeg, 97.5 * kDeg)) / kDeg, 79.6, 0.1);
    // Daily extraterrestrial radiation: the pole at the June solstice has the sun all day at
    // 23.44 deg, 24 h x 1.367 kW/m2 x 0.968 x sin 23.44 deg = 45.5 MJ/m2, the most of any place
    // on any day (Figure 1.10.1).
    EXPECT_NEAR(extraterrestrialDaily(90, 171) * 3.6, 45.5, 0.1);
    // The hours of a year: the sun is up about half of them, and the hour integrals add up to
    // the daily extraterrestrial radiation.
    std::vector<SunHour> hours = sunHours(43, 0, 43);
    double sunlit = 0, h0 = 0;
    for (const SunHour& s : hours) sunlit += s.sunlit;
    for (int h = 0; h < 24; ++h)
        h0 += hours[104 * 24 + h].normal * hours[104 * 24 + h].meanCosZenith;
    EXPECT_NEAR(sunlit / 8760, 0.5, 0.01);
    EXPECT_NEAR(h0, extraterrestrialDaily(43, 104), 1e-3 * h0);
}

TEST(SolarGeometry, SeasonsAndApsidesOf2018) {
    // The US Naval Observatory's times (UT) of the equinoxes, solstices, perihelion and aphelion
    // of 2018; the solstices' declination is the obliquity, 23.436 deg; the equation of time
    // reaches -14.2 min on 11 February and +16.4 min on 3 November.
    auto at = [](int month, int dayOfMonth, double hourUt) {
        return sunPosition(firstDayOfMonth(month) + dayOfMonth - 1 + hourUt / 24.0);
    };
    EXPECT_NEAR(at(2, 20, 16.25).declination / kDeg, 0.0, 0.01);
    EXPECT_NEAR(at(5, 21, 10.12).declination / kDeg, 23.436, 0.01);
    EXPECT_NEAR(at(8, 23, 1.9).declination / kDeg, 0.0, 0.01);
    EXPECT_NEAR(at(11, 21, 22.38).declination / kDeg, -23.436, 0.01);
    EXPECT_NEAR(at(0, 3, 5.58).eccentricityFactor, 1.0 / (0.98329 * 0.98329), 2e-4);
    EXPECT_NEAR(at(6, 6, 16.78).eccentricityFactor, 1.0 / (1.01670 * 1.01670), 2e-4);
    EXPECT_NEAR(at(1, 11, 12).equationOfTimeMinutes, -14.2, 0.1);
    EXPECT_NEAR(at(10, 3, 12).equationOfTimeMinutes, 16.4, 0.1);
}

TEST(Irradiance, PerezCoefficientTableAndSkyDiffuse) {
    // Perez et al. (1990), table 6: F1 = f11 + f12 delta + f13 zenith, F2 = f21 + f22 delta + f23
    // zenith.
    PerezFactors overcast = perezFactors(1.0, 0.0, 0.0);
    EXPECT_DOUBLE_EQ(overcast.f1, 0.0);  // -0.008, floored at 0
    EXPECT_DOUBLE_EQ(overcast.f2, -0.060);
    PerezFactors mid = perezFactors(2.0, 0.2, 0.5);  // bin 1.95-2.8
    EXPECT_NEAR(mid.f1, 0.873 - 0.392 * 0.2 - 0.362 * 0.5, 1e-12);
    EXPECT_NEAR(mid.f2, 0.226 - 0.462 * 0.2 + 0.001 * 0.5, 1e-12);
    PerezFactors clear = perezFactors(7.0, 0.1, 0.3);  // bin 6.2 and up
    EXPECT_NEAR(clear.f1, 0.678 - 0.327 * 0.1 - 0.250 * 0.3, 1e-12);
    EXPECT_NEAR(clear.f2, 0.156 - 1.377 * 0.1 + 0.251 * 0.3, 1e-12);
    // The sky diffuse on a tilted plane against pvlib's perez() (all-sites composite 1990):
    // tilt, zenith, sun azimuth, DHI, DNI, extraterrestrial normal (W/m2), expected (W/m2).
    struct Case {
        double tilt, zenith, azimuth, dhi, dni, normal, expected;
    };
    for (Case k :
         {Case{40, 50, 150, 200, 600, 1400, 243.9792}, Case{55, 78, 190, 120, 350, 1410, 200.9779},
          Case{36, 60, 200, 300, 50, 1380, 336.8649}}) {
        double z = k.zenith * kDeg, tilt = k.tilt * kDeg, saz = k.azimuth * kDeg;
        double a = std::max(0.0, std::cos(z) * std::cos(tilt) +
                                     std::sin(z) * std::sin(tilt) * std::cos(saz - kDeg * 180));
        double z3 = 1.041 * std::pow(z, 3);
        double eps = ((k.dhi + k.dni) / k.dhi + z3) / (1 + z3);
        PerezFactors f = perezFactors(eps, k.dhi * kastenAirMass(std::cos(z)) / k.normal, z);
        double sky =
            k.dhi * ((1 - f.f1) * (1 + std::cos(tilt)) / 2 +
                     f.f1 * a / std::max(std::cos(z), std::cos(85 * kDeg)) + f.f2 * std::sin(tilt));
        EXPECT_NEAR(sky, k.expected, 0.01) << k.tilt << " " << k.zenith;
    }
}

TEST(Irradiance, DiscSplitAndIncidenceLossAsPublished) {
    // Maxwell's DISC model: Kn for (kt, air mass), as pvlib's disc computes it.
    EXPECT_NEAR(discBeamShare(0.3, 1.5), 0.01913, 1e-5);
    EXPECT_NEAR(discBeamShare(0.5, 3.0), 0.24662, 1e-5);
    EXPECT_NEAR(discBeamShare(0.7, 1.2), 0.46597, 1e-5);
    EXPECT_NEAR(discBeamShare(0.75, 5.0), 0.48737, 1e-5);
    // The physical model of the cover glass (n 1.526, K 4/m, L 2 mm), as pvlib's iam.physical.
    const std::pair<double, double> iam[] = {{0, 1.0},      {30, 0.99789}, {50, 0.97984},
                                             {60, 0.946},   {70, 0.85972}, {80, 0.63412},
                                             {85, 0.40088}, {90, 0.0}};
    for (auto [angle, expected] : iam)
        EXPECT_NEAR(physicalIam(angle * kDeg), expected, 2e-5) << angle;
    // Kasten's air mass: 1 at the zenith, about 2 at 60 degrees, finite at the horizon.
    EXPECT_NEAR(kastenAirMass(1.0), 1.0, 1e-3);
    EXPECT_NEAR(kastenAirMass(0.5), 1.993, 2e-3);
    EXPECT_LT(kastenAirMass(0.0), 40);
}

TEST(Temperatures, AirAndCells) {
    // At the rating conditions the cell reaches its nominal operating cell temperature; wind cools.
    EXPECT_NEAR(cellTemperature(0.8, 20, 1.0, 45), 45.0, 1e-9);
    EXPECT_NEAR(cellTemperature(0.8, 20, 1.0, 48), 48.0, 1e-9);
    EXPECT_LT(cellTemperature(0.8, 20, 5.0, 45), cellTemperature(0.8, 20, 1.0, 45) - 5);
    EXPECT_DOUBLE_EQ(cellTemperature(0.0, 12, 3.0, 45), 12.0);
    // Monthly means are kept; without them, a seasonal swing by latitude around the annual mean.
    std::array<double, 12> monthly{-8, -6, -1, 6, 12, 17, 20, 19, 14, 7, 1, -5};
    std::vector<double> t = ambientTemperatures(6.3, &monthly, 55, {});
    for (int m = 0; m < 12; ++m) {
        double sum = 0;
        for (int h = firstDayOfMonth(m) * 24; h < (firstDayOfMonth(m) + kDaysInMonth[m]) * 24; ++h)
            sum += t[h];
        EXPECT_NEAR(sum / (kDaysInMonth[m] * 24), monthly[m], 1.0) << m;
    }
    for (double lat : {-35.0, 5.0, 50.0}) {
        std::vector<double> a = ambientTemperatures(10, nullptr, lat, {});
        EXPECT_NEAR(std::accumulate(a.begin(), a.end(), 0.0) / 8760, 10, 0.05);
        double january = std::accumulate(a.begin(), a.begin() + 744, 0.0) / 744;
        double july = std::accumulate(a.begin() + 4344, a.begin() + 5088, 0.0) / 744;
        EXPECT_NEAR(july - january, lat >= 0 ? 0.39 * lat : 0.39 * lat, 0.05 * std::abs(lat) + 0.2)
            << lat;
    }
}

TEST(SolarYear, KeepsClearHoursAndEachMonthsMean) {
    SolarResource s;
    std::vector<float> sunny(ztest::kSunny.begin(), ztest::kSunny.end());
    s.SetMonthlyRadiation(12.0f, sunny);
    SolarSeries y = synthesizeSolar(s, 1.5, 0.2, 300, 5);
    // Clear hours keep the brightness of the clear sky (no cap below it).
    EXPECT_GT(*std::max_element(y.ghi.begin(), y.ghi.end()), 0.95);
    // At 55 deg N in December the array gets much more than the horizontal, as beam at low sun
    // does.
    SolarResource north;
    std::vector<float> poor{0.35f, 1.0f, 2.1f, 3.6f, 4.6f, 4.9f,
                            4.6f,  3.7f, 2.5f, 1.3f, 0.5f, 0.25f};
    north.SetMonthlyRadiation(55.3f, poor);
    SolarSeries n = synthesizeSolar(north, -160.5, 0.2, 7, 5);
    double ghiDec = 0, poaDec = 0;
    for (int t = firstDayOfMonth(11) * 24; t < 8760; ++t) {
        ghiDec += n.ghi[t];
        poaDec += n.tilted[t];
        EXPECT_LE(n.effective[t], n.tilted[t] + 1e-12);
    }
    EXPECT_NEAR(ghiDec / 31, 0.25, 0.0025);
    EXPECT_GT(poaDec / ghiDec, 1.6);
}

TEST(HourlyYear, ExportedAsCsvByTheProgramAndTheWindow) {
    ztest::TempDir dir;
    Project p;
    p.OpenFile(ztest::templateDir() / "Small_village_Pallix.zvx");
    p.ExportHourlyYear(dir / "year.csv");
    std::ifstream in(dir / "year.csv");
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line,
              "hour,load_kw,ghi_kw_m2,poa_kw_m2,ambient_c,cell_c,pv_kw_per_kw,wind_hub_m_s,wind_kw_"
              "per_turbine,hydro_kw");
    auto ctx = buildContext(p.impl().data);
    int rows = 0;
    double pv = 0, load = 0;
    while (std::getline(in, line)) {
        std::vector<std::string> cells;
        std::stringstream ss(line);
        for (std::string c; std::getline(ss, c, ',');) cells.push_back(c);
        ASSERT_EQ(cells.size(), 9u) << line;  // the template has no river: hydro_kw is empty
        ASSERT_EQ(line.back(), ',');
        EXPECT_EQ(std::stoi(cells[0]), rows);
        load += std::stod(cells[1]);
        pv += std::stod(cells[6]);
        ++rows;
    }
    EXPECT_EQ(rows, 8760);
    EXPECT_NEAR(load, ctx->annualLoadKWh, 1.0);
    EXPECT_NEAR(pv, std::accumulate(ctx->pvPerKw.begin(), ctx->pvPerKw.end(), 0.0), 1.0);
    // Without a wind resource the wind columns are empty; the file is refused where it cannot go.
    json j = ztest::smallTemplate();
    j["wind"] = nullptr;
    j["components"]["wind_turbine"]["counts"] = {0};
    p.OpenFile(ztest::writeJson(dir, "calm.zvx", j));
    p.ExportHourlyYear(dir / "calm.csv");
    std::ifstream calm(dir / "calm.csv");
    std::getline(calm, line);
    std::getline(calm, line);
    EXPECT_EQ(line.substr(line.size() - 3), ",,,");
    EXPECT_NE(ztest::errorOf([&] {
                  p.ExportHourlyYear(dir.path);
              }).find("ExportHourlyYear: cannot write"),
              std::string::npos);
}
