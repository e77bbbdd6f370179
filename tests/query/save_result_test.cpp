// "Save Result": the file written, the names it gets, what it refuses and why a save failed.
#include <QCoreApplication>
#include <QFile>
#include <QStatusBar>
#include <map>

#include "engine/geo_dataset.h"
#include "query/save_result.h"
#include "tests/query/query_fixture.h"

namespace querytest {
namespace {

const QString kFailure = " Error Source:md_query_functions2.SaveTrackingLayer()";

// Every part of a shapefile by extension, with its bytes.
std::map<QString, QByteArray> parts(const QString& dir, const QString& base) {
    std::map<QString, QByteArray> out;
    for (const char* ext : {"shp", "shx", "dbf", "prj", "cpg"}) {
        QFile f(dir + "/" + base + "." + ext);
        if (f.open(QIODevice::ReadOnly)) out[ext] = f.readAll();
    }
    return out;
}

class SaveTest : public QueryTest {
  protected:
    // Results of n cells of the given power density.
    void runCells(int n, double value = 550) {
        Layers l;
        l.windValues.assign(n, value);
        openDataset(l);
        choose("Wind by Power Density");
        updateMap();
        ASSERT_EQ(int(entries().size()), n);
    }

    void save(const QString& path) {
        dialogs->saveFiles << path;
        form->mnuSave->trigger();
    }

    std::string lastText() {
        return dialogs->shown.isEmpty() ? "" : dialogs->shown.last().text.toStdString();
    }
};

TEST_F(SaveTest, RoundTripThroughGdalAndTheStatusBarSaysWhere) {
    runCells(50);
    const QString out = tmp.filePath("out/result.shp");
    QDir().mkpath(tmp.filePath("out"));
    save(out);
    EXPECT_TRUE(dialogs->shown.isEmpty());  // 50 results: no question
    EXPECT_EQ(dialogs->fileDialogTitles, QStringList{"Save Layer"});
    const auto saved = engine::GeoDataset::open(out);
    ASSERT_EQ(saved->recordCount(), 50);
    EXPECT_EQ(saved->fieldNames(), QStringList{"WINDPWRD"});
    EXPECT_EQ(saved->shapeType(), engine::moShapeTypePolygon);
    EXPECT_DOUBLE_EQ(saved->value(7, 0).toDouble(), 550);
    EXPECT_NEAR(saved->shape(7).area(), 1e6, 1e-3);
    ASSERT_TRUE(saved->coordinateSystem());
    EXPECT_TRUE(saved->coordinateSystem()->isProjected);
    EXPECT_EQ(form->statusBar()->currentMessage().toStdString(),
              "50 features saved to " + QDir::toNativeSeparators(out).toStdString());
}

TEST_F(SaveTest, FiftyOneResultsAskFirstAndNoWritesNothing) {
    runCells(51);
    const QString out = tmp.filePath("result.shp");
    dialogs->answers << feedback::answerNo;
    save(out);
    EXPECT_EQ(
        dialogs->texts(),
        QStringList{"It may take few minutes to save 51 features. Do you want to continue? "});
    EXPECT_TRUE(dialogs->fileDialogTitles.isEmpty());
    EXPECT_FALSE(QFile::exists(out));
    form->mnuSave->trigger();  // Yes
    EXPECT_EQ(engine::GeoDataset::open(out)->recordCount(), 51);
}

TEST_F(SaveTest, NamesAreWrittenAsTyped) {
    runCells(2);
    save(tmp.filePath("results"));  // no extension: ".shp" added, nothing cut off
    EXPECT_EQ(engine::GeoDataset::open(tmp.filePath("results.shp"))->recordCount(), 2);
    EXPECT_FALSE(QFile::exists(tmp.filePath("res.shp")));

    save(tmp.filePath("x.SHP"));
    runCells(3);
    save(tmp.filePath("x.SHP"));  // replaces x.SHP, not a new x.shp beside it
    EXPECT_EQ(engine::GeoDataset::open(tmp.filePath("x.SHP"))->recordCount(), 3);
    EXPECT_FALSE(QFile::exists(tmp.filePath("x.shp")));
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

TEST_F(SaveTest, FailuresSayWhyAndKeepTheExistingFile) {
    runCells(3);
    const QString out = tmp.filePath("result.shp");
    save(out);
    ASSERT_EQ(engine::GeoDataset::open(out)->recordCount(), 3);
    const auto before = parts(tmp.path(), "result");

    // A line among the results cannot go into a polygon file: the save fails part-way.
    siting::QueryResult withLine = *study().result();
    withLine.entries.push_back({line(0, 0, 1, 1), {}, 1});
    study().setResult(std::move(withLine), study().criteria());
    save(out);
    EXPECT_EQ(lastText(), kFailure.toStdString() + "\nshape of another kind than the dataset's");
    ASSERT_FALSE(dialogs->shown.isEmpty());
    EXPECT_EQ(dialogs->shown.last().icon, feedback::iconWarning);
    EXPECT_EQ(parts(tmp.path(), "result"), before);

    save(tmp.filePath("missing/dir/result.shp"));
    EXPECT_EQ(lastText(), kFailure.toStdString() + "\nno such folder: " +
                              QDir::toNativeSeparators(tmp.filePath("missing/dir/")).toStdString());
    EXPECT_EQ(dialogs->shown.size(), 2);
}

TEST_F(SaveTest, ACommitFailingPartWayLeavesAllFivePartsOfTheOldFileAsTheyWere) {
    runCells(3);
    const QString out = tmp.filePath("result.shp");
    save(out);
    const auto before = parts(tmp.path(), "result");
    ASSERT_EQ(before.size(), 5u);

    // After the old .shp and .shx are moved aside, the .dbf cannot be (a folder holds its
    // backup name): everything must go back.
    runCells(4, 650);
    const QString blocker =
        tmp.filePath(QString("~result.%1.backup.dbf").arg(QCoreApplication::applicationPid()));
    ASSERT_TRUE(QDir().mkpath(blocker + "/inside"));
    save(out);
    EXPECT_EQ(lastText(), kFailure.toStdString() + "\ncannot replace result.dbf: Is a directory");
    EXPECT_EQ(parts(tmp.path(), "result"), before);
    EXPECT_EQ(QDir(tmp.path()).entryList({"~*"}, QDir::Files), QStringList());
    EXPECT_EQ(engine::GeoDataset::open(out)->recordCount(), 3);
}

// The handler says so (the window may also grey the command out; the headless runner calls the
// handler itself).
TEST_F(SaveTest, NothingToSaveIsSaid) {
    openDataset();
    query::mnuSave_Click(*form);
    EXPECT_TRUE(dialogs->fileDialogTitles.isEmpty());
    EXPECT_EQ(dialogs->texts(), QStringList{"There is no query result to save."});

    choose("Wind by Power Density");
    setRange("1000", "Max");  // no cell that strong
    updateMap();
    ASSERT_TRUE(entries().empty());
    query::mnuSave_Click(*form);
    ASSERT_EQ(dialogs->texts().size(), 2);
    EXPECT_EQ(dialogs->shown.last().text, "There is no query result to save.");
    EXPECT_TRUE(dialogs->fileDialogTitles.isEmpty());
}

TEST_F(SaveTest, TheOpenDatasetsOwnFilesAreRefused) {
    runCells(2);
    const QString data = tmp.filePath("data");
    const auto wind = parts(data, "20_wind");
    save(data + "/20_wind.shp");
    EXPECT_EQ(lastText(), kFailure.toStdString() +
                              "\n20_wind.shp is a file of the open dataset; choose another name");
    save(data + "/43_ROADS.SHP");
    EXPECT_EQ(lastText(), kFailure.toStdString() +
                              "\n43_ROADS.SHP is a file of the open dataset; choose another name");
    // A catalogue name of the data folder is the dataset's even when it was not loaded.
    save(data + "/01_elevation");
    EXPECT_EQ(dialogs->shown.size(), 3);
    EXPECT_FALSE(QFile::exists(data + "/01_elevation.shp"));
    EXPECT_EQ(parts(data, "20_wind"), wind);

    save(data + "/my_result.shp");  // any other name there is fine
    EXPECT_EQ(engine::GeoDataset::open(data + "/my_result.shp")->recordCount(), 2);
    EXPECT_EQ(dialogs->shown.size(), 3);
}

TEST_F(SaveTest, LeftoversOfAKilledSaveAreCleanedByTheNextSave) {
    runCells(2);
    // A process that is gone (no pid is this large) was killed while writing.
    for (const char* ext : {"shp", "shx", "dbf"}) {
        QFile f(tmp.filePath(QString("~result.999999999.writing.") + ext));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    save(tmp.filePath("other.shp"));
    EXPECT_EQ(QDir(tmp.path()).entryList({"~*"}, QDir::Files), QStringList());
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

}  // namespace
}  // namespace querytest
