// Opening dataset directories written by the test: which files load, in which order, how they
// start, and what goes wrong safely.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>
#include <limits>

#include "dataset/catalogue.h"
#include "dataset/dataset_loading.h"
#include "shell/dataset_opening.h"
#include "feedback/dialog_service.h"
#include "shell/frmMain.h"
#include "tests/dataset/test_shapefiles.h"

using namespace md_functions;

namespace {

class Loading : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        form.Form_Load();
        dialogs->shown.clear();
    }

    QString dir(const QString& sub = QStringLiteral("data")) const { return tmp.filePath(sub); }

    void load(const QString& directory, const QString& file) {
        LoadProject(file, directory + "/" + file, *form.Map1, *form.legend);
    }

    QStringList tags() const {
        QStringList t;
        for (int i = 0; i < form.Map1->layerCount(); ++i) t << form.Map1->layer(i)->tag;
        return t;
    }

    QTemporaryDir tmp;
    feedback::ScopedScriptedDialogs dialogs;
    frmMain form;
};

TEST_F(Loading, LoadsOnlyCatalogueFilesTopLayerLastListedAndIndexesThem) {
    testdata::writeSquares(dir(), "01_elevation", 3, "Elev_m");
    testdata::writeSquares(dir(), "20_wind", 4, "WINDPWRD");
    testdata::writeLines(dir(), "43_roads", 10);
    testdata::writeSquares(dir(), "59_cities", 2);
    testdata::writeSquares(dir(), "15_solar_glo", 2, "ANNGLO");  // known to symbology only
    testdata::writeSquares(dir(), "my_notes", 2);

    load(dir(), "43_roads.shp");

    EXPECT_EQ(tags(),
              QStringList({"59_cities.shp", "43_roads.shp", "20_wind.shp", "01_elevation.shp"}));
    EXPECT_EQ(LayerIndexByFile("59_cities.shp"), 0);
    EXPECT_EQ(LayerIndexByFile("20_WIND.SHP"), 2);
    EXPECT_EQ(LayerIndexByFile("01_elevation.shp"), 3);
    EXPECT_THROW(LayerIndexByFile("15_solar_glo.shp"), std::out_of_range);
    EXPECT_EQ(datasetState().dataDirectory, QDir::toNativeSeparators(dir()) + QDir::separator());
    ASSERT_TRUE(datasetState().dataConnection);
    EXPECT_TRUE(dialogs->shown.isEmpty());

    const engine::Map& map = *form.Map1;
    EXPECT_EQ(map.layer(0)->name, "Cities");
    EXPECT_TRUE(map.layer(0)->visible);
    EXPECT_TRUE(map.layer(1)->visible);   // 10 roads
    EXPECT_FALSE(map.layer(2)->visible);  // wind starts hidden
    EXPECT_FALSE(map.layer(3)->visible);
    EXPECT_EQ(form.legend->entryCount(), 4);
    // The redraw after loading enabled the tools and filled the summary line.
    EXPECT_TRUE(form.cmdZoomIn->isEnabled());
    EXPECT_EQ(form.lblLayersCurrentlyDisplayed->text(), "Cities; Roads; ");
}

TEST_F(Loading, RoadsAndCitiesStartShownOnlyBelowFiftyFeatures) {
    testdata::writeLines(dir("a"), "43_roads", 49);
    testdata::writeSquares(dir("a"), "59_cities", 50);
    load(dir("a"), "43_roads.shp");
    EXPECT_TRUE(form.Map1->layer(LayerIndexByFile("43_roads.shp"))->visible);
    EXPECT_FALSE(form.Map1->layer(LayerIndexByFile("59_cities.shp"))->visible);

    testdata::writeLines(dir("b"), "43_roads", 50);
    load(dir("b"), "43_roads.shp");
    EXPECT_FALSE(form.Map1->layer(0)->visible);
}

TEST_F(Loading, VisibilityOfLayersNoRowNames) {
    testdata::writeSquares(dir(), "13_solar_direct", 2, "ANNDIR");
    testdata::writeSquares(dir(), "21_wind", 2);
    testdata::writeSquares(dir(), "39_countryboundary", 1);
    testdata::writeSquares(dir(), "38_subcountrybnd1", 2, "NAME");
    load(dir(), "21_wind.shp");
    const engine::Map& map = *form.Map1;
    EXPECT_FALSE(map.layer(LayerIndexByFile("13_solar_direct.shp"))->visible);
    EXPECT_TRUE(map.layer(LayerIndexByFile("21_wind.shp"))->visible);
    EXPECT_EQ(map.layer(LayerIndexByFile("21_wind.shp"))->name, "21_wind");  // engine's default
    EXPECT_TRUE(map.layer(LayerIndexByFile("39_countryboundary.shp"))->visible);
    EXPECT_TRUE(map.layer(LayerIndexByFile("38_subcountrybnd1.shp"))->visible);
}

TEST_F(Loading, NameInAnotherCaseIsAcceptedButGetsNoSymbologyOrStartState) {
    testdata::writeSquares(dir(), "tmp_elev", 3, "Elev_m");
    testdata::upperCaseExtensions(dir(), "tmp_elev", "01_Elevation");
    load(dir(), "01_Elevation.SHP");
    ASSERT_EQ(form.Map1->layerCount(), 1);
    const engine::MapLayer& layer = *form.Map1->layer(0);
    EXPECT_EQ(layer.tag, "01_Elevation.SHP");
    EXPECT_EQ(layer.name, "01_Elevation");
    EXPECT_EQ(layer.renderer, nullptr);
    EXPECT_TRUE(layer.visible);
    EXPECT_EQ(LayerIndexByFile("01_elevation.shp"), 0);
}

TEST_F(Loading, StopsWithAMessageAboveTheLayerLimitOnlyWhileNamesRemain) {
    QStringList all = StandardFileNames();
    ASSERT_EQ(all.size(), MAX_LAYERS + 1);
    for (const QString& name : all) {
        const QString base = QFileInfo(name).completeBaseName();
        testdata::writeSquares(dir(), base, 1, base == "02_landuse" ? "LAND_USE" : "VALUE");
    }

    load(dir(), "20_wind.shp");
    EXPECT_EQ(form.Map1->layerCount(), 29);
    EXPECT_EQ(dialogs->texts(), QStringList());
    EXPECT_EQ(tags().first(), "59_cities.shp");

    testdata::writeSquares(dir(), "60_more", 1);
    load(dir(), "20_wind.shp");
    EXPECT_EQ(form.Map1->layerCount(), 29);
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown[0].text,
              "Sorry, this program was not meant to handle more than 28 layers.  Please reduce the "
              "number of shape (.shp) files in the data directory.");
    EXPECT_EQ(dialogs->shown[0].icon, feedback::iconNone);
    // The index covers every loaded layer.
    EXPECT_EQ(LayerIndexByFile("01_elevation.shp"), 28);
}

TEST_F(Loading, DirectoryWithoutCatalogueFilesLoadsNothingQuietly) {
    testdata::writeSquares(dir(), "my_notes", 3);
    testdata::writeSquares(dir(), "15_solar_glo", 3, "ANNGLO");
    load(dir(), "my_notes.shp");
    EXPECT_EQ(form.Map1->layerCount(), 0);
    EXPECT_TRUE(dialogs->shown.isEmpty());
    EXPECT_FALSE(form.cmdZoomIn->isEnabled());
    EXPECT_FALSE(form.cboSelectQuery->isEnabled());
    EXPECT_EQ(form.lblLayersCurrentlyDisplayed->text(), "- No layers found -");
}

TEST_F(Loading, UsesTheChosenFilesOwnDirectoryWhenAFolderAboveHasItsName) {
    // .../20_wind.shp/data/20_wind.shp: cutting the path at the first "20_wind.shp" would
    // point at the wrong folder.
    const QString inner = dir("20_wind.shp/data");
    testdata::writeSquares(inner, "20_wind", 2, "WINDPWRD");
    testdata::writeLines(inner, "43_roads", 3);
    load(inner, "20_wind.shp");
    EXPECT_EQ(datasetState().dataDirectory, QDir::toNativeSeparators(inner) + QDir::separator());
    EXPECT_EQ(form.Map1->layerCount(), 2);
}

TEST_F(Loading, DamagedShapefilesAreSkippedAndTheOthersLoad) {
    testdata::writeSquares(dir(), "20_wind", 5, "WINDPWRD");
    const struct {
        const char* base;
        std::function<void(const QString&)> damage;
    } cases[] = {
        {"30_lakes",
         [](const QString& b) {  // truncated inside the first record
             QFile f(b + ".shp");
             f.open(QIODevice::ReadWrite);
             f.resize(110);
         }},
        {"31_protectedarea", [](const QString& b) { QFile::remove(b + ".dbf"); }},
        {"40_rivers", [](const QString& b) { QFile::remove(b + ".shx"); }},
        {"42_railroad",
         [](const QString& b) {  // garbage in place of the file
             QFile f(b + ".shp");
             f.open(QIODevice::WriteOnly | QIODevice::Truncate);
             f.write(QByteArray(400, char(0x5a)));
         }},
    };
    for (const auto& c : cases) {
        testdata::writeSquares(dir(), c.base, 5);
        c.damage(dir() + "/" + c.base);
    }
    testdata::writeLines(dir(), "43_roads", 4);

    load(dir(), "20_wind.shp");
    EXPECT_EQ(tags(), QStringList({"43_roads.shp", "20_wind.shp"}));
    // One message names every skipped file and why, in listing order.
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown[0].icon, feedback::iconWarning);
    const QStringList lines = dialogs->shown[0].text.split('\n');
    ASSERT_EQ(lines.size(), 5) << dialogs->shown[0].text.toStdString();
    EXPECT_EQ(lines[0], "Some files of this dataset could not be used:");
    EXPECT_TRUE(lines[1].startsWith("30_lakes.shp was skipped: cannot read 30_lakes.shp: "));
    EXPECT_EQ(lines[2], "31_protectedarea.shp was skipped: 31_protectedarea.dbf is missing");
    EXPECT_EQ(lines[3], "40_rivers.shp was skipped: 40_rivers.shx is missing");
    EXPECT_TRUE(lines[4].startsWith("42_railroad.shp was skipped: cannot read 42_railroad.shp"));
    EXPECT_EQ(datasetState().loadReport, dialogs->shown[0].text);

    // The query that needs a skipped layer still says it is missing; the user knows why.
    QString message;
    EXPECT_FALSE(isLayerExist("40_rivers.shp", message));
}

TEST_F(Loading, SpecialFilesAndFoldersWithCatalogueNamesAreSkippedAtOnceAndNamed) {
    testdata::writeSquares(dir(), "20_wind", 3, "WINDPWRD");
    testdata::writeLines(dir(), "43_roads", 3);
    testdata::writeLines(dir(), "44_transmissionline", 3);
    testdata::writeSquares(dir(), "59_cities", 2);
    // A FIFO would block a reader for ever, /dev/zero never ends.
    QFile::remove(dir() + "/20_wind.prj");
    ASSERT_EQ(mkfifo(QFile::encodeName(dir() + "/20_wind.prj").constData(), 0600), 0);
    QFile::remove(dir() + "/43_roads.cpg");
    ASSERT_TRUE(QFile::link("/dev/zero", dir() + "/43_roads.cpg"));
    ASSERT_EQ(mkfifo(QFile::encodeName(dir() + "/30_lakes.shp").constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(dir() + "/31_protectedarea.shp"));
    ASSERT_TRUE(QDir().mkpath(dir() + "/folder.shp"));  // no catalogue name: not a layer
    QFile::remove(dir() + "/59_cities.shp");
    ASSERT_TRUE(QFile::link(dir() + "/gone.shp", dir() + "/59_cities.shp"));

    QElapsedTimer clock;
    clock.start();
    load(dir(), "44_transmissionline.shp");
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(tags(), QStringList({"44_transmissionline.shp"}));
    EXPECT_EQ(dialogs->texts().join('|').toStdString(),
              "Some files of this dataset could not be used:\n"
              "20_wind.shp was skipped: 20_wind.prj is not a regular file\n"
              "30_lakes.shp was skipped: 30_lakes.shp is not a regular file\n"
              "31_protectedarea.shp was skipped: 31_protectedarea.shp is not a regular file\n"
              "43_roads.shp was skipped: 43_roads.cpg is not a regular file\n"
              "59_cities.shp was skipped: 59_cities.shp is not a regular file");
}

TEST_F(Loading, FeaturesWithAbsurdCoordinatesAreLeftOutAndCountedOnce) {
    testdata::writeSquares(dir(), "20_wind", 3, "WINDPWRD");
    testdata::writeShapefile(
        dir(), "43_roads", engine::moShapeTypeLine, {{"NAME", engine::moString, 20, 0}}, 4,
        [](int i) {
            return engine::Shape::lineString({{500000, i * 1000.0}, {7777.5 + i, 0}});
        },
        [](int i) { return std::vector<QVariant>{QString("road %1").arg(i)}; });
    const QString roads = dir() + "/43_roads.shp";
    ASSERT_GT(testdata::replaceDouble(roads, 7777.5, 1e308), 0);
    ASSERT_GT(testdata::replaceDouble(roads, 7779.5, std::numeric_limits<double>::max()), 0);
    ASSERT_GT(testdata::replaceDouble(roads, 7780.5, std::nan("")), 0);

    load(dir(), "20_wind.shp");
    EXPECT_EQ(tags(), QStringList({"43_roads.shp", "20_wind.shp"}));
    const engine::MapLayer& layer = *form.Map1->layer(0);
    ASSERT_EQ(layer.recordCount(), 1);
    EXPECT_EQ(layer.records().value("NAME").toString(), "road 1");
    EXPECT_EQ(dialogs->texts().join('|').toStdString(),
              "Some files of this dataset could not be used:\n"
              "43_roads.shp: 3 features were left out: coordinates that are not finite, lie "
              "beyond the bounds of the coordinate system or make no valid shape");
    // The map's extent is the sound features' own.
    EXPECT_LT(form.Map1->fullExtent().right(), 1e7);
}

TEST_F(Loading, MissingDirectoryReportsTheConnectionErrorAndLeavesTheMapEmpty) {
    testdata::writeSquares(dir(), "20_wind", 2, "WINDPWRD");
    load(dir(), "20_wind.shp");
    ASSERT_EQ(form.Map1->layerCount(), 1);

    load(dir("gone"), "20_wind.shp");
    EXPECT_EQ(form.Map1->layerCount(), 0);
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_TRUE(dialogs->shown[0].text.startsWith("No data found... Data Connection error #"));
    EXPECT_NE(dialogs->shown[0].text, "No data found... Data Connection error #0");
    EXPECT_EQ(dialogs->shown[0].icon, feedback::iconWarning);
}

TEST_F(Loading, EmptyFileNameOnlyClearsTheMap) {
    testdata::writeSquares(dir(), "20_wind", 2, "WINDPWRD");
    load(dir(), "20_wind.shp");
    LoadProject(QString(), QString(), *form.Map1, *form.legend);
    EXPECT_EQ(form.Map1->layerCount(), 0);
    EXPECT_THROW(LayerIndexByFile("20_wind.shp"), std::out_of_range);
}

TEST_F(Loading, OpenDatasetMenuAsksForAShapefileAndCancelDoesNothing) {
    testdata::writeSquares(dir(), "20_wind", 2, "WINDPWRD");
    form.mnuOpen_Click();  // no file queued: cancelled
    EXPECT_EQ(form.Map1->layerCount(), 0);
    EXPECT_EQ(dialogs->fileDialogTitles, QStringList{"Open Dataset"});

    dialogs->openFiles << dir() + "/20_wind.shp";
    form.mnuOpen->trigger();
    EXPECT_EQ(form.Map1->layerCount(), 1);
}

TEST_F(Loading, LayerExistenceIgnoresBlanksAndCase) {
    testdata::writeSquares(dir(), "20_wind", 2, "WINDPWRD");
    QString message = "unchanged";
    EXPECT_FALSE(isLayerExist("20_wind.shp", message));  // no layers yet
    EXPECT_EQ(message, "unchanged");

    load(dir(), "20_wind.shp");
    EXPECT_TRUE(isLayerExist(" 20_WIND.SHP ", message));
    EXPECT_EQ(message, "");
    EXPECT_FALSE(isLayerExist("43_roads.shp", message));
    EXPECT_EQ(message, "This query requires 43_roads.shp shapefile.");
}

TEST_F(Loading, ANewMainWindowStartsWithNoDatasetState) {
    testdata::writeSquares(dir(), "20_wind", 2, "WINDPWRD");
    load(dir(), "20_wind.shp");
    ASSERT_EQ(LayerIndexByFile("20_wind.shp"), 0);

    frmMain next;
    next.Form_Load();
    EXPECT_EQ(frmMain::instance(), &next);
    EXPECT_THROW(LayerIndexByFile("20_wind.shp"), std::out_of_range);
    EXPECT_EQ(datasetState().dataDirectory, QCoreApplication::applicationDirPath());
    EXPECT_FALSE(datasetState().dataConnection);
    EXPECT_FALSE(isLayerExist("20_wind.shp"));
}

}  // namespace
