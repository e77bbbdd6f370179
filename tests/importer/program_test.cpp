// pallix-import as a user runs it: every option in --help, a clear message and exit status for
// each bad source or target, recipes, and OUT_DIR left exactly as it was whenever an import fails.
#include <sys/stat.h>
#include <unistd.h>

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
    // A virtual raster reading the pipe, in full and as a raw band.
    for (const auto& [name, band] :
         {std::pair{"pipe.vrt", R"(<VRTRasterBand dataType="Float32" band="1"><SimpleSource>
            <SourceFilename relativeToVRT="1">pipe.tif</SourceFilename></SimpleSource>
            </VRTRasterBand>)"},
          std::pair{"raw.vrt", R"(<VRTRasterBand dataType="Float32" band="1"
            subClass="VRTRawRasterBand"><SourceFilename relativetoVRT="1">pipe.tif</SourceFilename>
            <ImageOffset>0</ImageOffset><PixelOffset>4</PixelOffset><LineOffset>40</LineOffset>
            </VRTRasterBand>)"}}) {
        QFile vrt(src(name));
        ASSERT_TRUE(vrt.open(QIODevice::WriteOnly));
        vrt.write(QString(R"(<VRTDataset rasterXSize="10" rasterYSize="10"><SRS>EPSG:32633</SRS>
            <GeoTransform>500000, 1000, 0, 5010000, 0, -1000</GeoTransform>%1</VRTDataset>)")
                      .arg(band)
                      .toUtf8());
    }
    struct Case {
        QStringList args;
        QString message;
    };
    const std::vector<Case> cases = {
        {{"--elevation", src("missing.tif")},
         "the elevation raster " + src("missing.tif") + " does not exist"},
        {{"--elevation", src("nocrs.tif")}, "has no coordinate system"},
        {{"--elevation", src("pipe.tif")}, "is not a regular file"},
        {{"--wind-power-density", src("pipe.vrt")},
         "the wind power density raster (read by pipe.vrt) " + src("pipe.tif") +
             " is not a regular file"},
        {{"--wind-power-density", src("raw.vrt")}, "(read by raw.vrt)"},
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

// --overwrite replaces only a dataset this importer wrote, and only when OUT_DIR holds nothing
// but its files: a user's own files, links and the sources themselves stay where they are.
TEST_F(ProgramTest, OverwriteNeverDeletesWhatTheImportDidNotWrite) {
    ASSERT_EQ(importWith({}).code, 0);
    const QDir dataset(out());
    auto touch = [](const QString& path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
        f.write("the user's own");
    };
    auto refused = [&](const QString& message, const QStringList& kept) {
        const Outcome r = importWith({"--overwrite"});
        EXPECT_EQ(r.code, 1) << message.toStdString();
        EXPECT_TRUE(r.err.contains(message)) << message.toStdString() << "\n"
                                             << r.err.toStdString();
        for (const QString& f : kept) EXPECT_TRUE(QFile::exists(f)) << f.toStdString();
        EXPECT_TRUE(dataset.exists("20_wind.shp"));
        EXPECT_EQ(leftovers(), QStringList{"out"});
    };
    const QString foreign = "which is not part of a dataset pallix-import wrote";

    writeVector(dataset.filePath("my_survey.shp"), kUtm33, {{boxKm(1, 1, 2, 2)}});
    refused(foreign, {dataset.filePath("my_survey.shp"), dataset.filePath("my_survey.prj")});
    for (const char* ext : {"shp", "shx", "dbf", "prj"})
        QFile::remove(dataset.filePath(QString("my_survey.") + ext));
    for (const char* name : {"PARCELS_2019.shp", ".hidden.shp", "my_projection.prj"}) {
        touch(dataset.filePath(name));
        refused(QString("holds ") + name + ", " + foreign, {dataset.filePath(name)});
        QFile::remove(dataset.filePath(name));
    }

    // A file of the dataset's name that is another name of a user's file, or a link to one.
    touch(src("keep.dbf"));
    QFile::remove(dataset.filePath("20_wind.dbf"));
    ASSERT_EQ(::link(QFile::encodeName(src("keep.dbf")).constData(),
                     QFile::encodeName(dataset.filePath("20_wind.dbf")).constData()),
              0);
    refused("holds 20_wind.dbf, which has another name (a hard link) elsewhere", {src("keep.dbf")});
    QFile::remove(dataset.filePath("20_wind.dbf"));
    ASSERT_TRUE(QFile::link(src("keep.dbf"), dataset.filePath("20_wind.dbf")));
    refused("holds 20_wind.dbf, a link to another file", {src("keep.dbf")});
    QFile::remove(dataset.filePath("20_wind.dbf"));
    QFile::copy(src("keep.dbf"), dataset.filePath("20_wind.dbf"));

    // Files of the right names, but no report and recipe of this importer.
    QFile::rename(dataset.filePath("import-report.txt"), src("report.txt"));
    refused("holds a dataset without the import-report.txt and import-recipe.json of pallix-import",
            {dataset.filePath("20_wind.dbf")});
    QFile::rename(src("report.txt"), dataset.filePath("import-report.txt"));

    // The sources' own folder, and a source taken from the dataset being replaced.
    Outcome r = program({src(""), "--overwrite", "--boundary", src("area.shp")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("holds the source " + src("area.shp"))) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(src("area.shp")) && QFile::exists(src("wind.tif")));
    r = program({out(), "--overwrite", "--boundary", dataset.filePath("39_countryboundary.shp")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("holds the source")) << r.err.toStdString();
    EXPECT_TRUE(dataset.exists("39_countryboundary.shp"));

    // What it wrote itself it replaces.
    r = importWith({"--overwrite"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(leftovers(), QStringList{"out"});
}

// A killed import leaves nothing behind for long: a later import clears its work folder. The
// dataset folder gets the user's usual permissions.
TEST_F(ProgramTest, AStoppedImportLeavesNoWorkFolder) {
    // What a killed import left is cleared; a running one's folder is not touched.
    const QString dead = tmp.filePath(".out.importing-2147483646-AbCdEf");
    const QString alive =
        tmp.filePath(QString(".out.importing-%1-GhIjKl").arg(QCoreApplication::applicationPid()));
    for (const QString& dir : {dead, alive}) {
        ASSERT_TRUE(QDir().mkpath(dir));
        QFile f(dir + "/20_wind.shp");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const mode_t mask = ::umask(022);
    const Outcome r = importWith({});
    ::umask(mask);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dead));
    EXPECT_TRUE(QFileInfo::exists(alive));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(out()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);
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
