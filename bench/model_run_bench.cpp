// The model window on the sample dataset: the time from "Start Zorvel" to the results table
// for each village, with the window's real once-a-second polling.
// Run offscreen from the build folder: QT_QPA_PLATFORM=offscreen bench/model_run_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <memory>

#include "app/main_window_factory.h"
#include "dataset/dataset_loading.h"
#include "shell/dataset_opening.h"
#include "model/attach.h"
#include "model/frmZORVEL.h"

namespace {

struct Site {
    std::unique_ptr<frmMain> main;
    frmZORVEL* window = nullptr;
};

// The main window with the sample dataset, and the model window on the first wind cell that
// also has solar data.
Site& site() {
    static Site s = [] {
        Site made;
        const QDir bin(QCoreApplication::applicationDirPath() + "/../bin");
        made.main = createMainWindow();
        made.main->show();
        const QString solar = bin.filePath("sample_dataset/14_solar_glo.shp");
        md_functions::LoadProject("14_solar_glo.shp", solar, *made.main->Map1, *made.main->legend);
        engine::Map& map = *made.main->Map1;
        const auto wind = map.layer(md_functions::LayerIndexByFile("20_wind.shp"));
        const auto sun = map.layer(md_functions::LayerIndexByFile("14_solar_glo.shp"));
        for (engine::Recordset rs = wind->records(); !rs.eof(); rs.moveNext()) {
            const engine::Point c = rs.shape().centroid();
            if (sun->searchByDistance(engine::Shape::point(c.x, c.y), 0).eof())
                continue;
            const QPointF at = map.fromMapPoint(c);
            made.main->giX = int(at.x());
            made.main->giY = int(at.y());
            break;
        }
        made.main->hooks.showZorvel(*made.main);
        made.window = &model::zorvelWindow(*made.main);
        made.window->documentsFolder = bin.filePath("ZORVEL_docs") + "/";
        made.window->inputSummaryPath = made.window->documentsFolder + "InputSummary.html";
        return made;
    }();
    return s;
}

void BM_StartToResults(benchmark::State& state) {
    frmZORVEL& w = *site().window;
    w.cboZORVELApplication->setCurrentIndex(int(state.range(0)));
    int run = 0;
    for (auto _ : state) {
        // A changed input allows the next run.
        w.txtDieselFuelPrice->setText(run++ % 2 ? "0.40" : "0.41");
        if (!w.cmdRunZORVEL->isEnabled()) {
            state.SkipWithError(w.txtMessages->toPlainText().toStdString().c_str());
            break;
        }
        w.cmdRunZORVEL->click();
    }
    state.SetLabel((w.lblPallixData->text() + ", cheapest " + w.lblSystemNPC[0]->text()).toStdString());
}
BENCHMARK(BM_StartToResults)
    ->ArgName("village")
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    site().main.reset();
    benchmark::Shutdown();
    return 0;
}
