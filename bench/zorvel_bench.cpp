// Zorvel benchmarks: a full search of each village template (target: the large village, hydro
// included, in under 2 s on a 2-core machine), one system's simulated year alone and in a batch,
// and the synthesis of the hourly year.
//
// The templates are read from ZORVEL_docs next to the programs (build/bin/ZORVEL_docs), or from
// the folder named by the environment variable ZORVEL_DOCS.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "zorvel/model.h"
#include "zorvel/project.h"

namespace {

std::filesystem::path docs() {
    if (const char* env = std::getenv("ZORVEL_DOCS")) return env;
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return exe.parent_path().parent_path() / "bin" / "ZORVEL_docs";
}

const char* kTemplates[] = {"Small_village_Pallix.zvx", "Medium_village_Pallix.zvx",
                            "Large_village_Pallix.zvx"};

// The template's sample site (site 0), a sunny windy site (1), a poor-resource site (2) or the
// sample site with a river for the village's hydro plant (3).
void setSite(zorvel::Project& p, int templateIndex, int site) {
    if (site == 0) return;
    if (site == 3) {
        // Gross hydro power of a river with a dry season, scaled to the village: its best month
        // gives about the large village's peak load (56 % of 110 kW), its driest about a quarter.
        const double scale = templateIndex == 0 ? 0.01 : templateIndex == 1 ? 0.1 : 1.0;
        std::array<float, 12> river{90, 100, 110, 100, 80, 60, 40, 30, 35, 50, 70, 85};
        for (float& v : river) v = static_cast<float>(v * scale);
        zorvel::HydroResource h;
        h.SetMonthlyPower(river);
        p.PutHydroResource(h);
        return;
    }
    bool good = site == 1;
    float lat = good ? 12.0f : 45.0f;
    p.SetLatitude(lat);
    zorvel::SolarResource s;
    const std::array<float, 12> sunny{6.2f, 6.6f, 6.9f, 7.0f, 6.8f, 6.5f,
                                      6.3f, 6.4f, 6.6f, 6.5f, 6.2f, 6.0f};
    const std::array<float, 12> poor{1.4f, 2.2f, 3.1f, 3.8f, 4.3f, 4.6f,
                                     4.5f, 3.9f, 3.1f, 2.2f, 1.5f, 1.1f};
    s.SetMonthlyRadiation(lat, good ? sunny : poor);
    p.PutSolarResource(s);
    zorvel::WindResource w = *p.GetWindResource();
    if (good) {
        w.SetFromPowerDensity(600.0f, 300.0f, 2.0f);
    } else {
        const std::array<float, 12> calm{3.0f, 3.1f, 3.0f, 2.8f, 2.6f, 2.4f,
                                         2.3f, 2.3f, 2.5f, 2.7f, 2.9f, 3.0f};
        w.SetMonthlySpeeds(calm);
    }
    p.PutWindResource(w);
}

void BM_FullSearch(benchmark::State& state) {
    const char* name = kTemplates[state.range(0)];
    zorvel::Project p;
    p.OpenFile(docs() / name);
    setSite(p, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    std::int64_t systems = p.SystemsToTry();
    int feasible = 0;
    for (auto _ : state) {
        p.CalculateBlocking();
        feasible = p.ResultCount(0);
    }
    state.counters["systems"] = static_cast<double>(systems);
    state.counters["feasible"] = feasible;
    state.counters["systems_per_s"] = benchmark::Counter(
        static_cast<double>(systems), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["threads"] = std::thread::hardware_concurrency();
    zorvel::Result best = p.GetResult(0, 0);
    state.SetLabel(std::string(name) + ": best " + p.DescribeSystem(best) + ", NPC $" +
                   std::to_string(static_cast<long long>(best.npc)));
}
BENCHMARK(BM_FullSearch)
    ->ArgNames({"template", "site"})
    ->ArgsProduct({{0, 1, 2}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

void BM_SimulateOneSystem(benchmark::State& state) {
    zorvel::ProjectData d = zorvel::readProject(docs() / kTemplates[2]);
    auto ctx = zorvel::buildContext(d);
    zorvel::SystemSpec s{100, 1, 80, 40, 75, static_cast<int>(state.range(0))};
    for (auto _ : state) {
        zorvel::SimTotals t = zorvel::simulate(*ctx, s);
        benchmark::DoNotOptimize(t);
        zorvel::Result r = zorvel::makeResult(*ctx, s, t);
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations() * zorvel::kHoursPerYear);
}
BENCHMARK(BM_SimulateOneSystem)
    ->ArgName("cycle_charging")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

// A batch of systems of one kind side by side, as the search runs them (portable: the kernel
// every processor has); items are system-hours, as above.
void BM_SimulateBatch(benchmark::State& state) {
    zorvel::ProjectData d = zorvel::readProject(docs() / kTemplates[2]);
    auto ctx = zorvel::buildContext(d);
    std::vector<zorvel::SystemSpec> specs;
    for (int k = 0; k < zorvel::kBatchSize; ++k)
        specs.push_back({100.0 + 25 * k, k % 3, 80, 40 + 10 * k, 75, k % 2});
    std::vector<zorvel::SimTotals> totals(specs.size());
    for (auto _ : state) {
        zorvel::simulateBatch(*ctx, specs.data(), zorvel::kBatchSize, totals.data(),
                              state.range(0) != 0);
        benchmark::DoNotOptimize(totals.data());
    }
    state.SetItemsProcessed(state.iterations() * zorvel::kBatchSize * zorvel::kHoursPerYear);
}
BENCHMARK(BM_SimulateBatch)->ArgName("portable")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_SynthesizeYear(benchmark::State& state) {
    zorvel::ProjectData d = zorvel::readProject(docs() / kTemplates[2]);
    for (auto _ : state) {
        auto ctx = zorvel::buildContext(d);
        benchmark::DoNotOptimize(ctx);
    }
}
BENCHMARK(BM_SynthesizeYear)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
