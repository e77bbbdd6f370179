// The search simulates systems side by side in vector lanes: every lane must get, to the bit, the
// totals its system gets alone (which the system summary shows), on the fast kernel and on the
// portable one, and the result lists must be those of simulating every system alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "tests/zorvel/zorvel_test_util.h"

using namespace zorvel;
using ztest::json;

namespace {

// The bench's river with a dry season, scaled to the village.
json withRiver(json j, double scale) {
    std::vector<double> river{90, 100, 110, 100, 80, 60, 40, 30, 35, 50, 70, 85};
    for (double& v : river) v *= scale;
    j["hydro"] = {{"monthly_power_kw", river}};
    return j;
}

void expectSameTotals(const SimTotals& alone, const SimTotals& lane, const std::string& what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(alone.load, lane.load);
    EXPECT_EQ(alone.served, lane.served);
    EXPECT_EQ(alone.unmet, lane.unmet);
    EXPECT_EQ(alone.capacityShortage, lane.capacityShortage);
    EXPECT_EQ(alone.pv, lane.pv);
    EXPECT_EQ(alone.wind, lane.wind);
    EXPECT_EQ(alone.hydro, lane.hydro);
    EXPECT_EQ(alone.generator, lane.generator);
    EXPECT_EQ(alone.excess, lane.excess);
    EXPECT_EQ(alone.fuel, lane.fuel);
    EXPECT_EQ(alone.generatorHours, lane.generatorHours);
    EXPECT_EQ(alone.starts, lane.starts);
    EXPECT_EQ(alone.batteryThroughput, lane.batteryThroughput);
    EXPECT_EQ(alone.batteryIn, lane.batteryIn);
    EXPECT_EQ(alone.batteryOut, lane.batteryOut);
    EXPECT_EQ(alone.inverterOut, lane.inverterOut);
    EXPECT_EQ(alone.rectifierOut, lane.rectifierOut);
    EXPECT_EQ(alone.finalSoc, lane.finalSoc);
}

std::string describeSpec(const SystemSpec& s) {
    return "pv " + std::to_string(s.pvKw) + ", wind " + std::to_string(s.windCount) + ", diesel " +
           std::to_string(s.dieselKw) + ", batteries " + std::to_string(s.batteryCount) +
           ", converter " + std::to_string(s.converterKw) + ", dispatch " +
           std::to_string(s.dispatch) + ", hydro " + std::to_string(s.hydroKw);
}

}  // namespace

TEST(Batch, EveryLaneGetsTheTotalsOfItsSystemAlone) {
    // The medium village with a river: systems of all four kinds, plants of every size and
    // none, both dispatch strategies.
    auto ctx = buildContext(
        ztest::parse(withRiver(ztest::loadTemplate("Medium_village_Pallix.zvx"), 0.1)));
    const std::vector<SystemSpec> systems = enumerateSystems(ctx->data);
    std::array<std::vector<SystemSpec>, 4> byKind;
    for (const SystemSpec& s : systems) byKind[batchKind(s)].push_back(s);
    int checked = 0;
    for (int kind = 0; kind < 4; ++kind) {
        const auto& list = byKind[kind];
        ASSERT_GE(list.size(), 40u) << "kind " << kind;
        // Lanes far apart in the search (different sizes, strategies and plants), in batches of
        // every length.
        const std::size_t quarter = list.size() / 4, step = quarter / 10;
        for (std::size_t i = 0, n = 0; i < quarter; i += step, ++n) {
            const int count = 1 + static_cast<int>(n % kBatchSize);
            std::vector<SystemSpec> batch;
            for (int k = 0; k < count; ++k) batch.push_back(list[i + k * quarter]);
            for (bool portable : {false, true}) {
                SimTotals totals[kBatchSize];
                simulateBatch(*ctx, batch.data(), count, totals, portable);
                for (int k = 0; k < count; ++k) {
                    expectSameTotals(simulate(*ctx, batch[k]), totals[k],
                                     describeSpec(batch[k]) + (portable ? ", portable" : ""));
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 150);
    const bool mixedStrategies =
        std::any_of(byKind[3].begin(), byKind[3].end(), [](auto& s) { return s.dispatch == 1; });
    EXPECT_TRUE(mixedStrategies);
}

TEST(Batch, TheResultListsAreThoseOfEverySystemSimulatedAlone) {
    // The small village with a river: 9,371 systems, feasible and infeasible, in batches of four
    // with a short one at the end of a kind.
    ztest::TempDir dir;
    Project p;
    p.OpenFile(ztest::writeJson(dir, "river.zvx", withRiver(ztest::smallTemplate(), 0.01)));
    p.CalculateBlocking();
    const Project::Impl& m = p.impl();
    ASSERT_EQ(m.systems.size(), 9371u);
    EXPECT_TRUE(std::any_of(m.batches.begin(), m.batches.end(),
                            [](auto& b) { return b.second < kBatchSize; }));
    for (const auto& [first, count] : m.batches)
        for (int k = 1; k < count; ++k)
            ASSERT_EQ(batchKind(m.systems[m.order[first + k]]),
                      batchKind(m.systems[m.order[first]]));

    // Each system alone, ranked as the search ranks: feasible first, each part by net present
    // cost and then by position in the search.
    std::vector<Result> alone;
    for (std::size_t j = 0; j < m.systems.size(); ++j) {
        Result r = makeResult(*m.ctx, m.systems[j], simulate(*m.ctx, m.systems[j]));
        r.index = static_cast<int>(j);
        alone.push_back(r);
    }
    std::stable_sort(alone.begin(), alone.end(), [](const Result& a, const Result& b) {
        if (a.feasible != b.feasible) return a.feasible;
        return a.npc < b.npc;
    });
    const auto feasible =
        std::count_if(alone.begin(), alone.end(), [](auto& r) { return r.feasible; });
    ASSERT_EQ(p.ResultCount(0), feasible);
    ASSERT_EQ(p.ResultCount(1), static_cast<int>(alone.size()));
    EXPECT_GT(feasible, 0);
    EXPECT_LT(feasible, static_cast<long>(alone.size()));
    for (int i = 0; i < p.ResultCount(1); ++i) {
        const Result r = p.GetResult(1, i), &a = alone[i];
        ASSERT_EQ(r.index, a.index) << "rank " << i;
        ASSERT_EQ(r.npc, a.npc) << "rank " << i;
        ASSERT_EQ(r.initialCapital, a.initialCapital) << "rank " << i;
        ASSERT_EQ(r.operatingCost, a.operatingCost) << "rank " << i;
        ASSERT_EQ(r.costOfEnergy, a.costOfEnergy) << "rank " << i;
        ASSERT_EQ(r.renewableFraction, a.renewableFraction) << "rank " << i;
        ASSERT_EQ(r.capacityShortage, a.capacityShortage) << "rank " << i;
        ASSERT_EQ(r.unmetLoadKWh, a.unmetLoadKWh) << "rank " << i;
        ASSERT_EQ(r.excessKWh, a.excessKWh) << "rank " << i;
        ASSERT_EQ(r.fuelLitres, a.fuelLitres) << "rank " << i;
        ASSERT_EQ(r.generatorHours, a.generatorHours) << "rank " << i;
        if (i < feasible) {
            ASSERT_EQ(p.GetResult(0, i).index, a.index) << "rank " << i;
        }
    }
}
