// Replacing shapefiles: the names written, commits that fail part-way, and what saves that were
// killed part-way leave for the next save to put right.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "engine_test_support.h"

using namespace engine;
using namespace enginetest;

namespace {

const TableDesc kTable = {{"V", moDouble, 15, 1}};
// A process id no process has (above the kernel's largest).
constexpr qint64 kDeadPid = 999999999;

using Files = std::map<QString, QByteArray>;

// Every file of the directory with its bytes.
Files snapshot(const QString& dir) {
    Files files;
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden)) {
        QFile f(QDir(dir).filePath(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        files[name] = f.readAll();
    }
    return files;
}

std::string names(const Files& files) {
    std::string text;
    for (const auto& [name, bytes] : files) text += name.toStdString() + " ";
    return text;
}

// A shapefile with all five parts and n squares of value v.
void writeOld(const QString& dir, const QString& name, int n, double v) {
    std::vector<Cell> cells;
    for (int i = 0; i < n; ++i)
        cells.push_back(
            {Shape::polygon({{i * 10.0, 0}, {i * 10.0 + 5, 0}, {i * 10.0 + 5, 5}}), {v}});
    writeShapefile(dir, name, moShapeTypePolygon, kTable, cells,
                   CoordinateSystem::fromWkt(utm33Wkt));
}

std::unique_ptr<GeoDatasetWriter> newWriter(const QString& dir, const QString& name, int n = 1) {
    DataConnection conn;
    conn.setDatabase(dir);
    auto w = conn.addGeoDataset(name, moShapeTypePolygon, kTable);
    for (int i = 0; i < n; ++i) w->addRecord(Shape::polygon({{0, 0}, {1, 0}, {1, 1}}), {7.0});
    return w;
}

void writeFile(const QString& path, const QByteArray& bytes = "x") {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QString ownTag(const QString& base) {
    return '~' + base + '.' + QString::number(QCoreApplication::applicationPid());
}

QString deadTag(const QString& base) { return '~' + base + '.' + QString::number(kDeadPid); }

}  // namespace

TEST(Saving, NamesAreWrittenAsGivenWithShpOnlyDroppedAsTheExtension) {
    QTemporaryDir dir;
    newWriter(dir.path(), "results")->commit();
    newWriter(dir.path(), "res.v2")->commit();
    auto upper = newWriter(dir.path(), "x.SHP");
    EXPECT_EQ(upper->path(), dir.filePath("x.SHP"));
    upper->commit();
    newWriter(dir.path(), "mixed.Shp")->commit();  // readable only as .shp or .SHP
    EXPECT_EQ(names(snapshot(dir.path())),
              "mixed.cpg mixed.dbf mixed.shp mixed.shx res.v2.cpg res.v2.dbf res.v2.shp res.v2.shx "
              "results.cpg results.dbf results.shp results.shx x.CPG x.DBF x.SHP x.SHX ");
    EXPECT_EQ(GeoDataset::open(dir.filePath("x.SHP"))->recordCount(), 1);
    newWriter(dir.path(), "x.SHP", 3)->commit();  // replaced under the same name
    EXPECT_EQ(GeoDataset::open(dir.filePath("x.SHP"))->recordCount(), 3);
    EXPECT_FALSE(QFile::exists(dir.filePath("x.shp")));
    EXPECT_THROW(newWriter(dir.path(), ".shp"), EngineError);
}

TEST(Saving, ACommitFailingPartWayLeavesEveryOldPartByteIdentical) {
    QTemporaryDir dir;
    writeOld(dir.path(), "result", 3, 1.5);
    writeFile(dir.filePath("result.qix"), "old index");
    const Files before = snapshot(dir.path());
    ASSERT_EQ(before.size(), 6u);

    // The old .dbf cannot be moved aside (a folder holds its backup name) after the .shp and
    // .shx have been: they must come back.
    const QString blocker = dir.filePath(ownTag("result") + ".backup.dbf");
    ASSERT_TRUE(QDir().mkpath(blocker + "/inside"));
    auto w = newWriter(dir.path(), "result.shp", 5);
    try {
        w->commit();
        FAIL() << "the commit succeeded";
    } catch (const EngineError& e) {
        EXPECT_EQ(std::string(e.what()), "cannot replace result.dbf: Is a directory");
    }
    EXPECT_EQ(snapshot(dir.path()), before);  // nothing of ours left behind either
    EXPECT_THROW(w->commit(), EngineError);
    w.reset();
    EXPECT_EQ(snapshot(dir.path()), before);
    EXPECT_EQ(GeoDataset::open(dir.filePath("result.shp"))->recordCount(), 3);

    // A folder standing where a part goes is refused before anything moves.
    QDir().rmdir(blocker + "/inside");
    QDir().rmdir(blocker);
    QFile::remove(dir.filePath("result.qix"));
    ASSERT_TRUE(QDir().mkdir(dir.filePath("result.qix")));
    auto refused = newWriter(dir.path(), "result", 5);
    EXPECT_THROW(refused->commit(), EngineError);
    Files after = snapshot(dir.path());
    Files expected = before;
    expected.erase("result.qix");
    EXPECT_EQ(after, expected);
    QDir().rmdir(dir.filePath("result.qix"));

    // Without obstacles the new file replaces every old part, and the old index goes.
    newWriter(dir.path(), "result", 5)->commit();
    EXPECT_EQ(GeoDataset::open(dir.filePath("result.shp"))->recordCount(), 5);
    EXPECT_FALSE(QFile::exists(dir.filePath("result.prj")));
    EXPECT_EQ(names(snapshot(dir.path())), "result.cpg result.dbf result.shp result.shx ");
}

TEST(Saving, TheNextSaveRollsBackOrFinishesSavesThatWereKilled) {
    QTemporaryDir dir;
    const QString d = dir.path();
    auto path = [&](const QString& name) { return QDir(d).filePath(name); };
    auto rename = [&](const QString& from, const QString& to) {
        ASSERT_TRUE(QFile::rename(path(from), path(to))) << from.toStdString();
    };

    // a: killed while writing records: only its temporary files.
    for (const char* ext : {"shp", "shx", "dbf"}) writeFile(path(deadTag("a") + ".writing." + ext));

    // b: killed while moving the old parts aside: .shp aside, .shx and .dbf not yet.
    writeOld(d, "b", 2, 1);
    const Files oldB = snapshot(d);
    rename("b.shp", deadTag("b") + ".backup.shp");
    for (const char* ext : {"shp", "shx", "dbf"}) writeFile(path(deadTag("b") + ".writing." + ext));

    // c: killed while moving the new parts in: every old part aside, the journal written, the
    // new .shp in place, the new .dbf not yet.
    writeOld(d, "c", 2, 2);
    Files oldC = snapshot(d);
    for (const char* ext : {"shp", "shx", "dbf", "prj", "cpg"})
        rename(QString("c.") + ext, deadTag("c") + ".backup." + ext);
    writeFile(
        path(deadTag("c") + ".committing"),
        (deadTag("c") + ".writing.shp\tc.shp\n" + deadTag("c") + ".writing.dbf\tc.dbf\n").toUtf8());
    writeFile(path("c.shp"), "new shapes");
    writeFile(path(deadTag("c") + ".writing.dbf"), "new rows");

    // e: killed after the new file was complete, while deleting the backups.
    writeOld(d, "e", 4, 4);
    const Files newE = snapshot(d);
    writeFile(path(deadTag("e") + ".backup.dbf"), "old rows");

    // f: a save of a process that still runs is left alone; so are names not of our making.
    const QString live = "~f." + QString::number(getppid()) + ".writing.shp";
    writeFile(path(live));
    writeFile(path("~notes.txt"));
    writeFile(path("~g.12x.writing.shp"));

    newWriter(d, "other")->commit();

    const Files after = snapshot(d);
    auto part = [&](const Files& files, const QString& name) {
        return files.count(name) ? files.at(name) : QByteArray("(missing)");
    };
    for (const char* ext : {"shp", "shx", "dbf", "prj", "cpg"}) {
        const QString e = ext;
        EXPECT_EQ(part(after, "b." + e), part(oldB, "b." + e)) << ext;
        EXPECT_EQ(part(after, "c." + e), part(oldC, "c." + e)) << ext;
        EXPECT_EQ(part(after, "e." + e), part(newE, "e." + e)) << ext;
    }
    QStringList leftovers = QDir(d).entryList({"~*"}, QDir::Files);
    EXPECT_EQ(leftovers, QStringList({"~f." + QString::number(getppid()) + ".writing.shp",
                                      "~g.12x.writing.shp", "~notes.txt"}));
    EXPECT_EQ(GeoDataset::open(path("c.shp"))->recordCount(), 2);
}
