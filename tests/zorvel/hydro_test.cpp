// The run-of-river plant: a site served by hydro alone, a dry season that needs the diesel, a
// plant larger than the river, the sizes searched, old projects without hydro, and bad monthly
// hydro power.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "tests/zorvel/zorvel_test_util.h"

using namespace zorvel;
using ztest::json;

namespace {

// A flat load of `kw` without variability; nothing to try but the hydro sizes and the diesels.
json flatHydroProject(double kw, std::vector<double> riverKw, std::vector<double> hydroSizes,
                      std::vector<double> diesel) {
    json j = ztest::flatLoadTemplate(kw);
    j["economics"]["capacity_shortage_percent"] = 0;
    j["hydro"] = {{"monthly_power_kw", riverKw}};
    auto& h = j["components"]["hydro"];
    h["design_flow_percent"] = 80;
    h["efficiency_percent"] = 70;  // 56 % of the river's power reaches the wire
    h["sizes_kw"] = hydroSizes;
    ztest::setSpace(j, {0}, {0}, diesel, {0}, {0});
    return j;
}

const std::vector<double> kSteadyRiver(12, 10.0);  // 5.6 kW to the wire
// Wet from October to May, nearly dry from June to September.
const std::vector<double> kDrySummer{10, 10, 10, 10, 10, 1, 1, 1, 1, 10, 10, 10};

}  // namespace

TEST(Hydro, ASiteServedByHydroAloneNeedsNoFuelAndCostsItsPlant) {
    ztest::TempDir dir;
    Project p;
    p.OpenFile(
        ztest::writeJson(dir, "h.zvx", flatHydroProject(2.0, kSteadyRiver, {0, 3, 10}, {0})));
    // 10 kW is more than the river gives: the search tries the river's 5.6 kW instead.
    EXPECT_EQ(hydroSizes(p.impl().data), (std::vector<double>{0, 3, static_cast<float>(5.6)}));
    EXPECT_EQ(p.SystemsToTry(), 2);
    p.CalculateBlocking();
    ASSERT_EQ(p.ResultCount(0), 2);
    Result r = p.GetResult(0, 0);
    EXPECT_EQ(p.DescribeSystem(r), "3 kW hydro");
    EXPECT_EQ(r.SystemTypeCode(), kTypeHydro);
    EXPECT_EQ(Project::SystemTypeName(r.SystemTypeCode()), "Hydro");
    EXPECT_EQ(r.fuelLitres, 0);
    EXPECT_EQ(r.renewableFraction, 1.0);
    EXPECT_EQ(r.capacityShortage, 0);  // 3 kW covers the 2 kW load and its 10 % reserve
    EXPECT_NEAR(r.servedKWh, 2.0 * 8760, 1e-6);
    EXPECT_NEAR(r.excessKWh, 1.0 * 8760, 1e-3);  // the load controller dumps the rest

    // Net present cost by hand: 3 kW at the template's costs, a 20-year life in 25 years.
    const HydroData& h = *p.impl().data.hydroPlant;
    const double i = 0.06, n = 25, crf = capitalRecoveryFactor(i, n);
    const double plant = 3 * h.capitalPerKw + 3 * h.replacementPerKw * std::pow(1 + i, -20) -
                         3 * h.replacementPerKw * 15.0 / 20.0 * std::pow(1 + i, -n) +
                         3 * h.omPerKwYear / crf;
    const EconomicsData& e = p.impl().data.economics;
    EXPECT_NEAR(r.npc, plant + e.fixedCapital + e.fixedOmPerYear / crf, 1e-6 * r.npc);
    EXPECT_NE(p.SystemSummaryHtml(r).find("<td>Hydro plant</td>"), std::string::npos);
}

TEST(Hydro, ADrySeasonNeedsTheDiesel) {
    ztest::TempDir dir;
    Project p;
    p.OpenFile(
        ztest::writeJson(dir, "dry.zvx", flatHydroProject(2.0, kDrySummer, {0, 3}, {0, 2.5})));
    p.CalculateBlocking();
    ASSERT_EQ(p.ResultCount(1), 3);
    // Hydro alone falls short from June to September; the diesel alone burns fuel all year.
    ASSERT_EQ(p.ResultCount(0), 2);
    Result best = p.GetResult(0, 0);
    EXPECT_EQ(p.DescribeSystem(best), "3 kW hydro, 2.5 kW diesel");
    EXPECT_EQ(best.SystemTypeCode(), kTypeHydro | kTypeDiesel);
    EXPECT_EQ(Project::SystemTypeName(best.SystemTypeCode()), "Hydro/Diesel");
    EXPECT_EQ(p.GetResult(0, 1).SystemTypeCode(), kTypeDiesel);
    const int dryHours = (30 + 31 + 31 + 30) * 24;
    EXPECT_EQ(best.generatorHours, dryHours);

    auto ctx = buildContext(p.impl().data);
    Detail det;
    SystemSpec s{0, 0, 2.5, 0, 0, 0, 3};
    simulate(*ctx, s, &det);
    for (int m = 0; m < 12; ++m) {
        const double hours = kDaysInMonth[m] * 24;
        const bool dry = m >= 5 && m <= 8;
        SCOPED_TRACE(kMonthNames[m]);
        EXPECT_NEAR(det.hydro[m], (dry ? 0.56 : 3.0) * hours, 1e-3 * hours);
        EXPECT_NEAR(det.generator[m], dry ? (2.0 - 0.56) * hours : 0.0, 1e-3 * hours);
    }
}

TEST(Hydro, APlantLargerThanTheRiverMakesOnlyWhatTheFlowGives) {
    ProjectData data = ztest::parse(flatHydroProject(2.0, kDrySummer, {0, 3}, {0, 2.5}));
    auto ctx = buildContext(data);
    Detail det;
    det.wantHours = true;
    SimTotals big = simulate(*ctx, {0, 0, 2.5, 0, 0, 0, 50}, &det);
    double river = 0;
    for (int t = 0; t < kHoursPerYear; ++t) {
        river += ctx->hydroAvailable[t];
        ASSERT_FLOAT_EQ(det.hours[t].hydro, ctx->hydroAvailable[t]) << "hour " << t;
    }
    EXPECT_NEAR(big.hydro, river, 1e-6 * river);
    // A plant sized to the best month makes the same; the search offers no more than that.
    SimTotals fit = simulate(*ctx, {0, 0, 2.5, 0, 0, 0, hydroAvailablePeak(data)});
    EXPECT_DOUBLE_EQ(fit.hydro, big.hydro);
    EXPECT_EQ(hydroSizes(data), (std::vector<double>{0, 3}));
    data.hydroPlant->sizesKw = {10, 20};
    EXPECT_EQ(hydroSizes(data), (std::vector<double>{static_cast<float>(5.6)}));
    // Without a river no plant is tried, whatever the list holds.
    data.hydro.reset();
    EXPECT_EQ(hydroSizes(data), (std::vector<double>{0}));
    EXPECT_EQ(countSystems(data), 1);  // the diesel alone
}

TEST(Hydro, ProjectsWithoutHydroLoadAndGiveTheSameResults) {
    ztest::TempDir dir;
    json now = ztest::loadTemplate("Medium_village_Pallix.zvx");
    json old = now;
    old.erase("hydro");
    old["components"].erase("hydro");
    Project a, b;
    a.OpenFile(ztest::writeJson(dir, "now.zvx", now));
    b.OpenFile(ztest::writeJson(dir, "old.zvx", old));
    EXPECT_FALSE(b.impl().data.hydroPlant);
    EXPECT_EQ(a.SystemsToTry(), 6345);
    EXPECT_EQ(b.SystemsToTry(), 6345);
    a.CalculateBlocking();
    b.CalculateBlocking();
    ASSERT_EQ(a.ResultCount(1), b.ResultCount(1));
    for (int k = 0; k < a.ResultCount(1); k += 97) {
        EXPECT_EQ(a.GetResult(1, k).npc, b.GetResult(1, k).npc);
        EXPECT_EQ(a.DescribeSystem(a.GetResult(1, k)), b.DescribeSystem(b.GetResult(1, k)));
    }
    // An old project is saved as it was read: no hydro keys appear.
    b.SaveFileAs(dir / "old2.zvx");
    std::ifstream in(dir / "old2.zvx");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str().find("hydro"), std::string::npos);

    // A river and its plant survive a save and a reload.
    HydroResource river;
    const std::array<float, 12> power{8, 8, 7, 6, 5, 4, 3, 3, 4, 5, 6, 7.5f};
    river.SetMonthlyPower(power);
    a.PutHydroResource(river);
    a.SaveFileAs(dir / "river.zvx");
    Project c;
    c.OpenFile(dir / "river.zvx");
    ASSERT_TRUE(c.GetHydroResource());
    EXPECT_EQ(c.GetHydroResource()->MonthlyPower(), power);
    EXPECT_EQ(c.impl().data.hydroPlant->sizesKw, a.impl().data.hydroPlant->sizesKw);
    c.RemoveHydroResource();
    EXPECT_FALSE(c.GetHydroResource());
    EXPECT_EQ(c.SystemsToTry(), 6345);
}

TEST(Hydro, BadMonthlyHydroPowerIsRefusedWithTheMonthOrKeyNamed) {
    HydroResource r;
    std::array<float, 12> power{};
    power.fill(5);
    power[2] = -1;
    EXPECT_EQ(ztest::errorOf([&] { r.SetMonthlyPower(power); }),
              "SetMonthlyPower: the hydro power (kW) of March must be from 0 to 1e+06 (is -1)");
    power[2] = std::nanf("");
    EXPECT_EQ(ztest::errorOf([&] { r.SetMonthlyPower(power); }),
              "SetMonthlyPower: the hydro power (kW) of March must be from 0 to 1e+06 (is nan)");
    power[2] = 5;
    power[11] = 3e6f;
    EXPECT_EQ(ztest::errorOf([&] { r.SetMonthlyPower(power); }),
              "SetMonthlyPower: the hydro power (kW) of December must be from 0 to 1e+06 (is "
              "3e+06)");
    EXPECT_FALSE(r.IsSet());
    EXPECT_EQ(ztest::errorOf([&] { r.SetMonthlyPower(std::span(power.data(), 11)); }),
              "SetMonthlyPower: exactly 12 monthly values are needed (got 11)");

    Project p;
    p.OpenFile(ztest::templateDir() / "Small_village_Pallix.zvx");
    EXPECT_EQ(ztest::errorOf([&] { p.PutHydroResource(r); }),
              "PutHydroResource: the hydro resource has no monthly power; call SetMonthlyPower "
              "first.");

    json j = ztest::smallTemplate();
    j["hydro"] = {{"monthly_power_kw", {5, 5, -2, 5, 5, 5, 5, 5, 5, 5, 5, 5}}};
    EXPECT_EQ(ztest::errorOf([&] { ztest::parse(j); }),
              "Project file 'test.zvx': key 'hydro.monthly_power_kw[2]' must be from 0 to 1e+06 "
              "(is -2)");
    j["hydro"]["monthly_power_kw"][2] = 5;
    j["components"]["hydro"]["design_flow_percent"] = 0;
    EXPECT_EQ(ztest::errorOf([&] { ztest::parse(j); }),
              "Project file 'test.zvx': key 'components.hydro.design_flow_percent' must be from 1 "
              "to 100 (is 0)");
}

TEST(Hydro, EveryTypeWithHydroHasItsOwnNameAndColour) {
    std::set<std::int32_t> colours;
    for (std::int16_t code = 1; code < 32; ++code) colours.insert(typeColour(code));
    EXPECT_EQ(colours.size(), 31u);
    EXPECT_EQ(colours.count(typeColour(0)), 0u);  // unknown stays grey, apart from all
    EXPECT_EQ(typeColour(32), typeColour(0));
    EXPECT_EQ(Project::SystemTypeName(31), "PV/Wind/Hydro/Diesel/Battery");
    EXPECT_EQ(Project::SystemTypeName(28), "Hydro/Diesel/Battery");
    EXPECT_EQ(Project::SystemTypeName(32), "None");
}

TEST(Hydro, TheHourlyYearExportsTheAvailableHydroPower) {
    ztest::TempDir dir;
    Project p;
    p.OpenFile(ztest::writeJson(dir, "dry.zvx", flatHydroProject(2.0, kDrySummer, {0, 3}, {0})));
    p.ExportHourlyYear(dir / "year.csv");
    std::ifstream in(dir / "year.csv");
    std::string line;
    std::getline(in, line);
    ASSERT_EQ(line.substr(line.size() - 9), ",hydro_kw");
    std::vector<double> hydro;
    while (std::getline(in, line)) hydro.push_back(std::stod(line.substr(line.rfind(',') + 1)));
    ASSERT_EQ(hydro.size(), 8760u);
    EXPECT_NEAR(hydro[0], 5.6, 1e-3);          // January
    EXPECT_NEAR(hydro[24 * 200], 0.56, 1e-3);  // 20 July
    EXPECT_NEAR(hydro[8759], 5.6, 1e-3);       // 31 December
}
