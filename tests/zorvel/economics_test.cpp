// The dispatch and economics on fixed hourly inputs: the figures below were recorded before the
// sun and wind physics changed, so a change of the yields can never hide a change of the
// economics. The inputs are analytic series, not synthesised years.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tests/zorvel/zorvel_test_util.h"

using namespace zorvel;

namespace {

// A context whose load, PV output per kW and wind output per turbine are fixed functions of the
// hour, scaled to the template's load and turbine.
std::shared_ptr<Context> fixedContext(const char* templateName) {
    auto ctx = std::make_shared<Context>();
    ctx->data = ztest::parse(ztest::loadTemplate(templateName));
    const double meanLoad = ctx->data.load.averageKWhPerDay / 24;
    const double rated = ctx->data.turbine.ratedKw;
    const double pi = std::numbers::pi;
    ctx->loadF.resize(kHoursPerYear);
    ctx->pvPerKw.resize(kHoursPerYear);
    ctx->windPerTurbine.resize(kHoursPerYear);
    for (int t = 0; t < kHoursPerYear; ++t) {
        int h = t % 24, day = t / 24;
        double season = std::cos(2 * pi * (day - 172) / 365.0);
        double evening = std::exp(-0.5 * std::pow((h - 19.5) / 2.0, 2));
        double load = meanLoad * (0.55 + 1.6 * evening + 0.15 * std::sin(0.7 * day));
        double sun = std::max(0.0, std::sin(pi * (h + 0.5 - 6) / 12.0));
        double clouds = 0.55 + 0.45 * std::abs(std::sin(1.3 * day + 0.2 * season));
        double pv = 0.82 * sun * clouds * (0.9 + 0.1 * season);
        double windFactor = 0.5 + 0.5 * std::sin(0.37 * t) * std::cos(0.05 * day);
        double wind = rated * std::clamp(windFactor * windFactor * 1.2, 0.0, 1.0);
        ctx->loadF[t] = static_cast<float>(load);
        ctx->pvPerKw[t] = static_cast<float>(pv);
        ctx->windPerTurbine[t] = static_cast<float>(wind);
        ctx->annualLoadKWh += ctx->loadF[t];
        ctx->peakLoadKw = std::max(ctx->peakLoadKw, static_cast<double>(ctx->loadF[t]));
    }
    return ctx;
}

struct Golden {
    SystemSpec spec;
    double npc, fuel, shortage, excess, served, coe;
};

void expectGolden(const char* templateName, const std::vector<Golden>& cases) {
    auto ctx = fixedContext(templateName);
    for (const Golden& g : cases) {
        Result r = makeResult(*ctx, g.spec, simulate(*ctx, g.spec));
        SCOPED_TRACE(std::string(templateName) + ": " + describe(nullptr, ctx->data, r));
        auto near = [](double expected) { return 1e-9 * std::max(1.0, std::abs(expected)); };
        EXPECT_NEAR(r.npc, g.npc, near(g.npc));
        EXPECT_NEAR(r.fuelLitres, g.fuel, near(g.fuel));
        EXPECT_NEAR(r.capacityShortage, g.shortage, 1e-12);
        EXPECT_NEAR(r.excessKWh, g.excess, near(g.excess));
        EXPECT_NEAR(r.servedKWh, g.served, near(g.served));
        EXPECT_NEAR(r.costOfEnergy, g.coe, 1e-12);
    }
}

}  // namespace

// The figures recorded on the fixed hourly inputs (sizes; NPC $, fuel L, capacity shortage share,
// excess kWh, served kWh, cost of energy $/kWh).
// clang-format off
const std::vector<Golden> kSmall = {
    {{1.5, 0, 0, 4, 1, 0}, 14485.068955191335, 0, 0, 807.86872203032578, 1602.3776252269745, 0.70714879539247522},
    {{3, 1, 0, 8, 2, 0}, 33872.888530474942, 0, 0, 6739.3201346885435, 1602.3776252269745, 1.6536457227015349},
    {{0, 0, 1.5, 0, 0, 0}, 48021.288768849976, 2037.5398335667608, 0, 2342.9817090392553, 1602.3776252269745, 2.3443586365473328},
    {{1, 0, 1.5, 3, 1, 0}, 13666.672995096718, 47.686481896043041, 0, 39.003417613265746, 1602.3776252269745, 0.66719539792331317},
    {{1, 0, 1.5, 3, 1, 1}, 13905.567317536061, 68.899653639457995, 0, 125.50636376640453, 1602.3776252269745, 0.67885801636590881},
    {{0, 2, 2.5, 2, 1.5, 1}, 28955.207875285931, 0, 0, 4794.3827450858726, 1602.3776252269745, 1.4135687191194799},
};
const std::vector<Golden> kMedium = {
    {{15, 1, 8, 12, 10, 0}, 186276.71287539991, 0, 0, 41480.369329193294, 16023.776244342327, 0.90938713230956325},
    {{15, 1, 8, 12, 10, 1}, 186276.71287539991, 0, 0, 41480.369329193294, 16023.776244342327, 0.90938713230956325},
    {{5, 0, 8, 8, 6, 0}, 141265.37709249981, 3675.2847865311987, 0, 0, 16023.776244342327, 0.68964560403590214},
    {{5, 0, 8, 8, 6, 1}, 131061.36254856116, 3479.8357169860647, 0, 1124.8994691151386, 16023.776244342327, 0.63983046943899502},
    {{30, 0, 0, 24, 6, 0}, 164323.9063783529, 0, 0.020727783613905669, 34013.917871637022, 16023.776244342327, 0.80221539066599057},
    {{0, 2, 5, 0, 0, 0}, 236367.35583386448, 2399.7409107679391, 6.0455179358463136e-05, 53719.990776265789, 16023.776244342327, 1.1539254079340091},
    {{25, 0, 5, 0, 15, 0}, 160867.27305757423, 4590.1582329095863, 0.0015134581847509152, 38382.814267269707, 16023.776244342327, 0.78534039961366708},
};
const std::vector<Golden> kLarge = {
    {{100, 1, 80, 40, 75, 0}, 1002643.2382246357, 0, 0, 164444.3364205285, 160237.76245880127, 0.48948193522239475},
    {{100, 1, 80, 40, 75, 1}, 1002643.2382246357, 0, 0, 164444.3364205285, 160237.76245880127, 0.48948193522239475},
    {{50, 0, 60, 20, 50, 0}, 968533.45506836905, 31912.865524598936, 0, 994.01774880900689, 160237.76245880127, 0.4728298280392762},
    {{50, 0, 60, 20, 50, 1}, 905892.17102531891, 29759.620931503796, 0, 10799.061181161283, 160237.76245880127, 0.44224888382176952},
    {{200, 4, 0, 100, 150, 0}, 2484383.6212162315, 0, 0, 825780.5869789815, 160237.76245880127, 1.2128550379504892},
    {{0, 0, 100, 0, 0, 0}, 2214394.6321645579, 119211.09336180228, 0, 117475.12654876709, 160237.76245880127, 1.0810487006497407},
    {{150, 2, 60, 0, 100, 0}, 1577444.4618400431, 26396.362441372912, 0, 484025.41926524608, 160237.76245880127, 0.77009502328516422},
};
// clang-format on

TEST(Economics, UnchangedForFixedHourlyInputs) {
    expectGolden("Small_village_Pallix.zvx", kSmall);
    expectGolden("Medium_village_Pallix.zvx", kMedium);
    expectGolden("Large_village_Pallix.zvx", kLarge);
}
