// The siting queries on the large generated dataset (about 100,000 wind cells, 20,000 road
// segments, 2,000 transmission segments, 5,000 land-use polygons, 500 protected areas), each run
// through the main window's "Update Map" with the panel's defaults. Land-use queries take the
// first three land uses of the list. PALLIX_BENCH_DATASET names an already generated large
// dataset to use instead of writing one.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

#include "app/main_window_factory.h"
#include "dataset/dataset_loading.h"
#include "query/attach.h"
#include "query/query_state.h"
#include "shell/dialog_service.h"
#include "shell/frmMain.h"
#include "tools/sample_dataset.h"

namespace {

struct Session {
    QTemporaryDir tmp;
    QString dir;
    std::unique_ptr<frmMain> form;
    Session() {
        shell::setDialogService(std::make_unique<shell::ScriptedDialogs>());  // answers Yes
        dir = qEnvironmentVariable("PALLIX_BENCH_DATASET");
        if (dir.isEmpty()) {
            dir = tmp.filePath("large");
            tools::generateSampleDataset(dir, tools::SampleSize::large());
        }
        form = createMainWindow();
        md_functions::LoadProject("20_wind.shp", QDir(dir).filePath("20_wind.shp"), *form->Map1,
                                  *form->legend);
    }
};

Session& session() {
    static Session s;
    return s;
}

long maxRssMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void BM_Query(benchmark::State& state, const char* name) {
    frmMain& f = *session().form;
    for (auto _ : state) {
        query::chooseQuery(f, name);
        for (int i = 0; i < f.lstQuery1->count() && i < 3; ++i) f.lstQuery1->item(i)->setSelected(true);
        f.cmdUpdateMap->click();
    }
    state.counters["results"] = double(md_query_functions2::queryState().cShapes.size());
    state.counters["maxrss_MiB"] = double(maxRssMiB());
}

BENCHMARK_CAPTURE(BM_Query, WindByPowerDensity, "Wind by Power Density")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Query, WindMinusProtectedAreas, "Best wind - protected areas")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Query, WindWithLandUse, "Best wind + land use")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Query, WindWithRoads, "Best wind + roads")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Query, WindWithTransmission, "Best wind + transmission")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Query, WindAll, "Best wind (all)")->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    session();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
