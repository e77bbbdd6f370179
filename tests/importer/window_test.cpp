// "File > Import Dataset...": the window reads well at any font size, an import through it
// opens the new dataset, Cancel leaves nothing behind, and the queries on an imported dataset
// give the areas the rasters hold.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "app/main_window_factory.h"
#include "dataset/dataset_loading.h"
#include "importer/frmImport.h"
#include "query/attach.h"
#include "query/frmShowQueryData.h"
#include "feedback/dialog_service.h"
#include "shell/frmMain.h"
#include "siting/result_set.h"
#include "siting/study.h"
#include "tests/importer/import_fixture.h"
#include "tests/support/layout_check.h"

namespace importtest {
namespace {

class ImportWindowTest : public ImportTest {
  protected:
    void SetUp() override {
        ImportTest::SetUp();
        form = createMainWindow();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    frmImport* openImportWindow() {
        QAction* command = nullptr;
        for (QAction* a : form->mnuFile->actions())
            if (a->text() == "Import Dataset...") command = a;
        EXPECT_TRUE(command);
        if (!command) return nullptr;
        // Right after "Open Dataset...".
        const auto actions = form->mnuFile->actions();
        EXPECT_EQ(actions.indexOf(command), actions.indexOf(form->mnuOpen) + 1);
        command->trigger();
        auto* window = form->findChild<frmImport*>();
        EXPECT_TRUE(window && window->isVisible());
        return window;
    }

    // A 18 x 10 km study area: 450 W/m2 west of 10 km, 650 east of it; cropland below 5 km and
    // tree cover above.
    void writeSources() {
        writeVector(src("area.shp"), kUtm33, {{boxKm(0, 0, 18, 10), {{"NAME", "Testland"}}}});
        writeRaster(src("wind.tif"), kUtm33, mx(0), my(10), 1000, 1000, 20, 10,
                    [](int c, int) { return c < 10 ? 450.0 : 650.0; });
        writeRaster(src("cover.tif"), kUtm33, mx(0), my(10), 1000, 1000, 20, 10,
                    [](int, int r) { return r < 5 ? 10.0 : 40.0; });
    }

    void fill(frmImport& w) {
        w.txt["out"]->setText(out());
        w.txt["boundary"]->setText(src("area.shp"));
        w.txt["wind-power-density"]->setText(src("wind.tif"));
        w.txt["land-cover"]->setText(src("cover.tif"));
    }

    std::map<int, double> classAreas() const {
        std::map<int, double> areas;
        if (const siting::QueryResult* r = siting::Study::of(*form)->result())
            for (const auto& [colour, km2] : md_query_functions2::ClassSummary(*r))
                areas[colour] += km2;
        return areas;
    }

    feedback::ScopedScriptedDialogs dialogs;
    std::unique_ptr<frmMain> form;
};

TEST_F(ImportWindowTest, EveryTabReadsWellAtTheDefaultAndALargerFont) {
    for (double scale : {1.0, 1.5}) {
        testsupport::ScopedFontScale font(scale);
        frmImport window(form.get());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        for (int t = 0; t < window.tabs->count(); ++t) {
            window.tabs->setCurrentIndex(t);
            QTest::qWait(10);
            const QStringList problems = testsupport::layoutProblems(&window);
            EXPECT_TRUE(problems.isEmpty())
                << "font x" << scale << ", tab " << window.tabs->tabText(t).toStdString() << ":\n"
                << problems.join('\n').toStdString();
        }
    }
}

TEST_F(ImportWindowTest, AnImportOpensTheNewDataset) {
    writeSources();
    frmImport* w = openImportWindow();
    ASSERT_TRUE(w);
    fill(*w);
    w->cmdImport->click();
    EXPECT_TRUE(dialogs->shown.isEmpty()) << dialogs->texts().join('\n').toStdString();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(QDir(md_functions::datasetState().dataDirectory).canonicalPath(),
              QDir(out()).canonicalPath());
    EXPECT_GE(md_functions::LayerIndexByFile("20_wind.shp"), 0);
    EXPECT_GE(md_functions::LayerIndexByFile("02_landuse.shp"), 0);
    EXPECT_GE(md_functions::LayerIndexByFile("39_countryboundary.shp"), 0);
    EXPECT_EQ(w->prgImport->value(), w->prgImport->maximum());
}

TEST_F(ImportWindowTest, CancelStopsTheImportAndLeavesNothing) {
    writeSources();
    frmImport* w = openImportWindow();
    ASSERT_TRUE(w);
    fill(*w);
    // Pressed while the import runs, as the import lets window events through.
    QTimer::singleShot(0, w->cmdCancel, [w] { w->cmdCancel->click(); });
    w->cmdImport->click();
    EXPECT_EQ(w->lblStatus->text(), "Import cancelled; nothing was written.");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->cmdCancel->text(), "Close");
    EXPECT_FALSE(QFileInfo::exists(out()));
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"src"});
    EXPECT_EQ(form->Map1->layerCount(), 0);
}

TEST_F(ImportWindowTest, AFailedImportSaysWhyAndKeepsTheChoices) {
    writeSources();
    frmImport* w = openImportWindow();
    ASSERT_TRUE(w);
    fill(*w);
    w->txt["boundary-where"]->setText("NAME = 'Atlantis'");
    w->cmdImport->click();
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_TRUE(dialogs->shown[0].text.contains("selects nothing with \"NAME = 'Atlantis'\""))
        << dialogs->shown[0].text.toStdString();
    EXPECT_EQ(dialogs->shown[0].icon, feedback::iconWarning);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->txt["boundary"]->text(), src("area.shp"));
    EXPECT_FALSE(QFileInfo::exists(out()));

    // A recipe saved from the window and loaded again gives back every choice.
    const QString recipeFile = tmp.filePath("recipe.json");
    dialogs->saveFiles << recipeFile;
    w->cmdSaveRecipe->click();
    frmImport other(form.get());
    dialogs->openFiles << recipeFile;
    other.cmdLoadRecipe->click();
    EXPECT_EQ(other.recipe().toJson(), w->recipe().toJson());
    EXPECT_EQ(other.txt["boundary-where"]->text(), "NAME = 'Atlantis'");
}

TEST_F(ImportWindowTest, QueriesOnAnImportedDatasetGiveTheAreasOfTheRasters) {
    writeSources();
    frmImport* w = openImportWindow();
    ASSERT_TRUE(w);
    fill(*w);
    w->cmdImport->click();
    ASSERT_GE(md_functions::LayerIndexByFile("20_wind.shp"), 0);

    ASSERT_TRUE(query::chooseQuery(*form, "Wind by Power Density"));
    form->cboQueryDropDown->setEditText("400");
    form->cboQueryDropDown2->setEditText("Max");
    form->cmdUpdateMap->click();
    auto areas = classAreas();
    const int pink = engine::rgb(255, 110, 180), red = engine::rgb(255, 0, 0);
    EXPECT_NEAR(areas[pink], 100, 1e-6);  // 0..10 km
    EXPECT_NEAR(areas[red], 80, 1e-6);    // 10..18 km: the last column is cut to 3 km

    ASSERT_TRUE(query::chooseQuery(*form, "Best wind + land use"));
    const auto items = form->lstQuery1->findItems("CROPLAND", Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    items.first()->setSelected(true);
    form->cboQueryDropDown->setEditText("400");
    form->cboQueryDropDown2->setEditText("Max");
    form->cmdUpdateMap->click();
    areas = classAreas();
    EXPECT_NEAR(areas[pink], 50, 1e-6);
    EXPECT_NEAR(areas[red], 40, 1e-6);
}

}  // namespace
}  // namespace importtest
