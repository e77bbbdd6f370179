// pallix-import as a user runs it: every option in --help, a clear message and exit status for
// each bad source or target, recipes, and OUT_DIR left exactly as it was whenever an import fails.
#include <sys/stat.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include "tests/importer/import_fixture.h"

namespace importtest {
namespace {

struct Outcome {
    int code = -1;
    QString out, err;
};

class ProgramTest : public ImportTest {
  protected:
    void SetUp() override {
        ImportTest::SetUp();
        writeVector(src("area.shp"), kUtm33, {{boxKm(0, 0, 10, 10), {{"NAME", "Testland"}}}});
        writeRaster(src("wind.tif"), kUtm33, mx(0), my(10), 1000, 1000, 10, 10,
                    [](int, int) { return 500.0; });
    }

    Outcome program(const QStringList& args) const {
        QProcess p;
        p.start(QCoreApplication::applicationDirPath() + "/pallix-import", args);
        p.waitForFinished(120000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

    Outcome importWith(QStringList extra) const {
        return program(QStringList{out(), "--boundary", src("area.shp"), "--wind-power-density",
                                   src("wind.tif")} +
                       extra);
    }

    // Everything in the temporary folder but the sources: OUT_DIR and any work folder.
    QStringList leftovers() const {
        QStringList all =
            QDir(tmp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        all.removeAll("src");
        return all;
    }
};

TEST_F(ProgramTest, HelpListsEveryOption) {
    const Outcome r = program({"--help"});
    EXPECT_EQ(r.code, 0);
    for (const importer::OptionInfo& s : importer::allOptions())
        EXPECT_TRUE(r.out.contains("--" + s.key + " ")) << s.key.toStdString();
    EXPECT_TRUE(r.out.contains("--recipe FILE.json"));
}

TEST_F(ProgramTest, AnImportWritesTheDatasetAndItsReport) {
    const Outcome r = importWith({"--roads-where", "1 = 1"});
    EXPECT_EQ(r.code, 2) << r.err.toStdString();  // a filter without its file
    EXPECT_TRUE(r.err.contains("--roads-where is given without --roads"));

    const Outcome ok = importWith({});
    ASSERT_EQ(ok.code, 0) << ok.err.toStdString();
    EXPECT_TRUE(ok.out.contains("Dataset written to"));
    QStringList files = QDir(out()).entryList(QDir::Files);
    for (const char* f : {"20_wind.shp", "20_wind.dbf", "20_wind.shx", "20_wind.prj", "20_wind.cpg",
                          "39_countryboundary.shp", "import-report.txt", "import-recipe.json"})
        EXPECT_TRUE(files.contains(f)) << f;
    QFile report(QDir(out()).filePath("import-report.txt"));
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(report.readAll());
    for (const char* part :
         {"WGS 84 / UTM zone 33N (EPSG:32633)", "Cell size: 5 km",
          "Written: 20_wind.shp, 4 cells of 5 km", "WINDPWRD from 500 to 500 W/m2", "wind.tif"})
        EXPECT_TRUE(text.contains(part)) << part << "\n" << text.toStdString();
    EXPECT_EQ(leftovers(), QStringList{"out"});
}

TEST_F(ProgramTest, EachBadSourceIsNamedAndNothingIsWritten) {
    writeRaster(src("nocrs.tif"), 0, mx(0), my(10), 1000, 1000, 10, 10,
                [](int, int) { return 1.0; });
    ASSERT_EQ(mkfifo(QFile::encodeName(src("pipe.tif")).constData(), 0600), 0);
    writeVector(src("roads.shp"), kUtm33, {{"LINESTRING(500000 5000000, 510000 5010000)"}});
    QFile::remove(src("roads.prj"));
    ASSERT_TRUE(
        QFile::link("/dev/zero", src("roads.prj")));  // the side file GDAL would read without end
    struct Case {
        QStringList args;
        QString message;
    };
    const std::vector<Case> cases = {
        {{"--elevation", src("missing.tif")},
         "the elevation raster " + src("missing.tif") + " does not exist"},
        {{"--elevation", src("nocrs.tif")}, "has no coordinate system"},
        {{"--elevation", src("pipe.tif")}, "is not a regular file"},
        {{"--elevation", tmp.filePath("src")}, "is a folder, not a file"},
        {{"--roads", src("roads.shp")}, "side file " + src("roads.prj") + " is not a regular file"},
        {{"--boundary-where", "NAME = 'Atlantis'"}, "selects nothing with \"NAME = 'Atlantis'\""},
        {{"--boundary-where", "NOSUCHFIELD > 1"}, "is not valid"},
        {{"--solar-ghi", src("wind.tif"), "--solar-ghi-monthly", src("ghi_{MM}.tif")},
         "no monthly raster matches"},
        {{"--crs", "EPSG:4326"}, "is not projected in metres"},
        {{"--land-cover", src("wind.tif"), "--land-cover-classes", src("nothing.csv")},
         "does not exist"},
    };
    for (const Case& c : cases) {
        QElapsedTimer clock;
        clock.start();
        const Outcome r = importWith(c.args);
        EXPECT_LT(clock.elapsed(), 20000) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.code, 1) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << c.message.toStdString() << "\n"
                                               << r.err.toStdString();
        EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
    }
}

TEST_F(ProgramTest, AnExistingDatasetIsReplacedOnlyWhenAskedAndOnlyWhenItIsOne) {
    ASSERT_EQ(importWith({}).code, 0);
    QFile old(QDir(out()).filePath("30_lakes.shp"));  // a layer this import will not write
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();

    Outcome r = importWith({});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("already holds a dataset; give --overwrite to replace it"))
        << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(old.fileName()));

    r = importWith({"--overwrite"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(old.fileName()));  // replaced as a whole
    EXPECT_TRUE(QFile::exists(QDir(out()).filePath("20_wind.shp")));
    EXPECT_EQ(leftovers(), QStringList{"out"});

    // A folder holding anything else is never replaced.
    QFile notes(QDir(out()).filePath("notes.docx"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();
    r = importWith({"--overwrite"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("holds notes.docx, which is not part of a dataset"))
        << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(notes.fileName()));
}

TEST_F(ProgramTest, RecipesHoldTheSameChoicesAndBadOnesAreRefused) {
    auto write = [&](const QString& name, const QByteArray& text) {
        QFile f(src(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    };
    // Paths relative to the recipe; the command line wins over it.
    const QString recipe = write("recipe.json", R"({"out": "../out", "boundary": "area.shp",
        "wind-power-density": "wind.tif", "cell-km": 2.5, "solar-units": "daily"})");
    Outcome r = program({"--recipe", recipe, "--cell-km", "5"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(layer("20_wind")->recordCount(), 4);
    QFile used(QDir(out()).filePath("import-recipe.json"));
    ASSERT_TRUE(used.open(QIODevice::ReadOnly));
    const QString usedText = QString::fromUtf8(used.readAll());
    EXPECT_TRUE(usedText.contains("\"cell-km\": 5.0")) << usedText.toStdString();
    EXPECT_TRUE(usedText.contains(QDir(src("")).absoluteFilePath("area.shp")));

    const std::vector<std::pair<QByteArray, QString>> bad = {
        {R"({"format": 1e400})", "is not valid JSON"},
        {R"({"bondary": "area.shp"})", "unknown key \"bondary\""},
        {R"({"cell-km": "five"})", "--cell-km needs a number"},
        {R"({"overwrite": "yes"})", "--overwrite is true or false, not \"yes\""},
        {R"([1, 2])", "the top level must be an object"},
    };
    for (const auto& [text, message] : bad) {
        r = program({"--recipe", write("bad.json", text)});
        EXPECT_EQ(r.code, 2) << text.toStdString();
        EXPECT_TRUE(r.err.contains(message)) << message.toStdString() << "\n"
                                             << r.err.toStdString();
    }
    r = program({"--recipe", "/dev/zero"});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains("is not a regular file")) << r.err.toStdString();
    r = program({out(), "--boundary", src("area.shp"), "--solar-units", "weekly"});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains("--solar-units is one of daily, yearly")) << r.err.toStdString();
}

}  // namespace
}  // namespace importtest
