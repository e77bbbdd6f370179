// The siting queries, each run through the main window's "Update Map", on generated datasets:
//   large        the sample country at benchmark size (about 100,000 wind cells, 20,000 road
//                segments, 2,000 transmission segments, 5,000 land-use polygons, 500 parks), with
//                the panel's defaults and the first three land uses of the list;
//   dense        100,000 square wind cells of 5 km, 20,000 random-walk roads of 9 km crossing
//                freely, 2,000 transmission lines of 48 km, 4,900 overlapping land-use
//                quadrilaterals of 22 km, 500 parks; wind 500 to 800 W/m2, roads 2 km,
//                transmission 2 km ("Best wind (all)": 5 km), GRASSLAND and FARMER'S FIELD;
//   dense-roads2 the same with twice as many roads;
//   dense4       the dense grid four times as large (400,000 cells, 80,000 roads), only when
//                named in --datasets.
// Flags besides Google Benchmark's: --datasets=a,b,... (default large,dense,dense-roads2);
// --threads=N, the worker threads of a run (default: PALLIX_THREADS, else one per processor).
// PALLIX_BENCH_DIR names a directory that keeps the generated datasets between runs.
// Each query's counters: threads; results; cpu_s, the processor time of the whole process (all
// threads); peak_MiB, the process's peak resident memory during the run, the loaded dataset
// included. The time is wall time. Quote the medians over repetitions (3 unless told otherwise).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

#include "app/main_window_factory.h"
#include "dataset/dataset_loading.h"
#include "shell/dataset_opening.h"
#include "query/attach.h"
#include "feedback/dialog_service.h"
#include "shell/frmMain.h"
#include "siting/parallel_run.h"
#include "siting/study.h"
#include "tools/sample_dataset.h"

namespace {

struct Dataset {
    QString name;
    std::function<void(const QString&)> generate;
    bool dense;
};

const std::vector<Dataset>& datasets() {
    static const std::vector<Dataset> all = {
        {"large",
         [](const QString& d) { tools::generateSampleDataset(d, tools::SampleSize::large()); },
         false},
        {"dense", [](const QString& d) { tools::generateDenseDataset(d); }, true},
        {"dense-roads2",
         [](const QString& d) { tools::generateDenseDataset(d, tools::DenseSize{}.scaled(1, 2)); },
         true},
        {"dense4",
         [](const QString& d) { tools::generateDenseDataset(d, tools::DenseSize{}.scaled(4)); },
         true},
    };
    return all;
}

// One dataset open in a main window at a time, so that the peak memory of a query counts only
// its own dataset.
class Session {
  public:
    frmMain& open(const Dataset& d) {
        if (current_ == d.name) return *form_;
        form_.reset();
        malloc_trim(0);
        const QString base = qEnvironmentVariable("PALLIX_BENCH_DIR", tmp_.path());
        const QString dir = QDir(base).filePath(d.name);
        if (!QFile::exists(QDir(dir).filePath("20_wind.shp"))) d.generate(dir);
        form_ = createMainWindow();
        md_functions::LoadProject("20_wind.shp", QDir(dir).filePath("20_wind.shp"), *form_->Map1,
                                  *form_->legend);
        current_ = d.name;
        return *form_;
    }

  private:
    QTemporaryDir tmp_;
    QString current_;
    std::unique_ptr<frmMain> form_;
};

// Made in main, and closed there while the application still exists.
std::unique_ptr<Session> current;
Session& session() { return *current; }

// Resets the kernel's record of the peak resident memory to the present one.
void resetPeakMemory() {
    QFile f("/proc/self/clear_refs");
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double peakMiB() {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

void selectLandUses(frmMain& f, bool dense) {
    for (int i = 0; i < f.lstQuery1->count(); ++i) {
        QListWidgetItem* item = f.lstQuery1->item(i);
        item->setSelected(dense ? item->text() == "GRASSLAND" || item->text() == "FARMER'S FIELD"
                                : i < 3);
    }
}

void setParameters(frmMain& f, const char* query, bool dense) {
    query::chooseQuery(f, query);
    selectLandUses(f, dense);
    if (!dense) return;
    f.cboQueryDropDown->setEditText("500");
    f.cboQueryDropDown2->setEditText("800");
    f.chkProtectedAreas->setChecked(true);
    f.txtQuery1[2]->setText("2");
    if (std::strcmp(query, "Best wind (all)") == 0) f.txtQuery1[1]->setText("5");
}

void BM_Query(benchmark::State& state, const Dataset* d, const char* query) {
    frmMain& f = session().open(*d);
    setParameters(f, query, d->dense);
    double peak = 0, cpu = 0;
    for (auto _ : state) {
        resetPeakMemory();
        const double start = cpuSeconds();
        f.cmdUpdateMap->click();
        cpu = cpuSeconds() - start;
        peak = peakMiB();
    }
    state.counters["threads"] = md_query_functions2::WorkerThreadCount();
    state.counters["results"] = double(siting::Study::of(f)->result()->entries.size());
    state.counters["cpu_s"] = cpu;
    state.counters["peak_MiB"] = peak;
}

const char* const queries[][2] = {{"WindByPowerDensity", "Wind by Power Density"},
                                  {"WindMinusProtectedAreas", "Best wind - protected areas"},
                                  {"WindWithLandUse", "Best wind + land use"},
                                  {"WindWithRoads", "Best wind + roads"},
                                  {"WindWithTransmission", "Best wind + transmission"},
                                  {"WindAll", "Best wind (all)"}};

// Takes --datasets=... and --threads=N out of the arguments and puts the default repetitions before
// the rest, so that flags given still decide.
QStringList chosenDatasets(std::vector<char*>& args) {
    static char repetitions[] = "--benchmark_repetitions=3";
    static char aggregates[] = "--benchmark_report_aggregates_only=true";
    QStringList chosen{"large", "dense", "dense-roads2"};
    std::vector<char*> out{args[0], repetitions, aggregates};
    for (size_t i = 1; i < args.size(); ++i) {
        if (std::strncmp(args[i], "--datasets=", 11) == 0)
            chosen = QString(args[i] + 11).split(',', Qt::SkipEmptyParts);
        else if (std::strncmp(args[i], "--threads=", 10) == 0)
            md_query_functions2::SetWorkerThreadCount(std::atoi(args[i] + 10));
        else
            out.push_back(args[i]);
    }
    args = out;
    return chosen;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::vector<char*> args(argv, argv + argc);
    const QStringList chosen = chosenDatasets(args);
    int count = int(args.size());
    QApplication app(count, args.data());
    feedback::setDialogService(std::make_unique<feedback::ScriptedDialogs>());  // answers Yes
    current = std::make_unique<Session>();
    for (const Dataset& d : datasets()) {
        if (!chosen.contains(d.name)) continue;
        for (const auto& [label, query] : queries)
            benchmark::RegisterBenchmark((d.name + "/" + label).toStdString().c_str(), BM_Query, &d,
                                         query)
                ->Iterations(1)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
    }
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    current.reset();
    return 0;
}
