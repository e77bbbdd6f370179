// The damaged-dataset campaign: a few hundred deterministic damaged variants of a small sample
// dataset, each opened by pallix-query, in a process of its own so that a crash or a hang is one
// failed variant, with a query that reads the damaged layer and a save of its result. No variant
// may crash or hang, and a damaged layer that is skipped or loses features must be named on
// standard error.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <random>

#include "engine/geo_dataset.h"
#include "engine/projection.h"
#include "tools/sample_dataset.h"
#include "tools/utm.h"

namespace {

constexpr int kBoundMs = 30000;  // per variant; a sound run takes well under a second

using Damage = std::function<void(const QString& base)>;  // gets the path without extension

struct Variant {
    QString name;
    QString layer;  // the damaged layer's base name
    Damage damage;
    QStringList query;  // query name and options
};

// ---- byte surgery on the files of a shapefile ----

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile::remove(path);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

template <typename T>
void put(QByteArray& bytes, qsizetype at, T value, bool bigEndian = false) {
    if (at + qsizetype(sizeof value) > bytes.size()) return;
    char raw[sizeof value];
    std::memcpy(raw, &value, sizeof value);
    if (bigEndian) std::reverse(raw, raw + sizeof value);
    std::memcpy(bytes.data() + at, raw, sizeof value);
}

Damage patch(const char* ext, std::function<void(QByteArray&)> change) {
    return [ext, change](const QString& base) {
        QByteArray bytes = readFile(base + "." + ext);
        change(bytes);
        writeFile(base + "." + ext, bytes);
    };
}

Damage truncate(const char* ext, std::function<qsizetype(qsizetype)> size) {
    return patch(ext,
                 [size](QByteArray& b) { b.truncate(std::max<qsizetype>(0, size(b.size()))); });
}

Damage garbage(const char* ext, qsizetype keep, unsigned seed) {
    return patch(ext, [keep, seed](QByteArray& b) {
        std::mt19937 random(seed);
        for (qsizetype i = keep; i < b.size(); ++i) b[i] = char(random() & 0xff);
    });
}

Damage replaceWith(const char* ext, const QByteArray& bytes) {
    return [ext, bytes](const QString& base) { writeFile(base + "." + ext, bytes); };
}

Damage removePart(const char* ext) {
    return [ext](const QString& base) { QFile::remove(base + "." + ext); };
}

Damage special(const char* ext, const char* kind) {
    return [ext, kind](const QString& base) {
        const QString path = base + "." + ext;
        QFile::remove(path);
        if (qstrcmp(kind, "folder") == 0)
            ASSERT_TRUE(QDir().mkpath(path + "/inside"));
        else if (qstrcmp(kind, "fifo") == 0)
            ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            ASSERT_TRUE(QFile::link(QString::fromLatin1(kind), path));  // a device or nothing
    };
}

// Offsets in the .shp of the first record (polyline or polygon): its shape type, part and point
// counts, and the first vertex.
constexpr qsizetype kRecordType = 108, kParts = 144, kPoints = 148;
qsizetype firstVertex(const QByteArray& shp) {
    qint32 parts = 0;
    if (shp.size() >= kParts + 4) std::memcpy(&parts, shp.constData() + kParts, 4);
    return 152 + 4 * qsizetype(parts);
}

Damage vertex(double x, double y) {
    return patch("shp", [x, y](QByteArray& b) {
        const qsizetype at = firstVertex(b);
        put(b, at, x);
        put(b, at + 8, y);
    });
}

// Rewrites a layer through the engine with some shapes or texts replaced.
Damage rewrite(std::function<void(int, engine::Shape&, std::vector<QVariant>&)> change) {
    return [change](const QString& base) {
        const auto ds = engine::GeoDataset::open(base + ".shp");
        std::vector<std::pair<engine::Shape, std::vector<QVariant>>> records;
        for (int i = 0; i < ds->recordCount(); ++i) {
            std::vector<QVariant> values;
            for (int f = 0; f < ds->fieldNames().size(); ++f) values.push_back(ds->value(i, f));
            engine::Shape shape = ds->shape(i);
            change(i, shape, values);
            records.emplace_back(std::move(shape), std::move(values));
        }
        engine::DataConnection conn;
        conn.setDatabase(QFileInfo(base).absolutePath());
        auto writer = conn.addGeoDataset(QFileInfo(base).fileName(), ds->shapeType(), ds->fields(),
                                         ds->coordinateSystem());
        for (const auto& [shape, values] : records) writer->addRecord(shape, values);
        writer->commit();
    };
}

// A polygon of the same place that is no valid area: a bow tie, or a ring without area.
engine::Shape invalidLike(const engine::Shape& shape, bool bowTie) {
    const engine::Rectangle r = shape.extent();
    const std::string wkt =
        bowTie ? "POLYGON((" + std::to_string(r.left()) + " " + std::to_string(r.bottom()) + "," +
                     std::to_string(r.right()) + " " + std::to_string(r.top()) + "," +
                     std::to_string(r.right()) + " " + std::to_string(r.bottom()) + "," +
                     std::to_string(r.left()) + " " + std::to_string(r.top()) + "," +
                     std::to_string(r.left()) + " " + std::to_string(r.bottom()) + "))"
               : "POLYGON((" + std::to_string(r.left()) + " " + std::to_string(r.bottom()) + "," +
                     std::to_string(r.right()) + " " + std::to_string(r.top()) + "," +
                     std::to_string(r.left()) + " " + std::to_string(r.bottom()) + "))";
    return engine::Shape::fromWkt(wkt);
}

// ---- the variants ----

const char* const kSolar = "40 km Solar Concentrators Annual Average(KWH/M2/DAY)";

QStringList queryFor(const QString& layer) {
    if (layer == "20_wind") return {"Wind by Power Density", "--min", "300", "--max", "Max"};
    if (layer == "43_roads") return {"Best wind + roads", "--roads-km", "2"};
    if (layer == "44_transmissionline")
        return {"Best wind + transmission", "--transmission-km", "2"};
    if (layer == "02_landuse") return {"Best wind + land use", "--land-use", "FOREST"};
    if (layer == "31_protectedarea") return {"Best wind - protected areas"};
    if (layer == "11_solar_direct")
        return {"Best Solar X kWh/m2/day", "--solar", kSolar, "--min", "4", "--max", "7"};
    return {"No Query (Base Map)"};
}

// File damage: every kind for the wind and road layers, every third for the other layers.
std::vector<std::pair<QString, Damage>> fileDamages() {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const QByteArray wgs84 =
        R"(GEOGCS["WGS 84",DATUM["WGS_1984",SPHEROID["WGS 84",6378137,298.257223563]],)"
        R"(PRIMEM["Greenwich",0],UNIT["degree",0.0174532925199433]])";
    auto setShpType = [](qint32 type) {
        return patch("shp", [type](QByteArray& b) { put(b, 32, type); });
    };
    return {
        {"shp empty", replaceWith("shp", {})},
        {"shp cut in header", truncate("shp", [](qsizetype) { return 50; })},
        {"shp header only", truncate("shp", [](qsizetype) { return 100; })},
        {"shp cut in record", truncate("shp", [](qsizetype) { return 110; })},
        {"shp half", truncate("shp", [](qsizetype n) { return n / 2; })},
        {"shp short by 3", truncate("shp", [](qsizetype n) { return n - 3; })},
        {"shp garbage", garbage("shp", 0, 1)},
        {"shp garbage body", garbage("shp", 100, 2)},
        {"shp type point", setShpType(1)},
        {"shp type multipatch", setShpType(31)},
        {"shp type 99", setShpType(99)},
        {"shp length lies",
         patch("shp", [](QByteArray& b) { put(b, 24, qint32(0x7fffffff), true); })},
        {"shp length zero", patch("shp", [](QByteArray& b) { put(b, 24, qint32(0), true); })},
        {"record length lies",
         patch("shp", [](QByteArray& b) { put(b, 104, qint32(0x7fffffff), true); })},
        {"record type 99", patch("shp", [](QByteArray& b) { put(b, kRecordType, qint32(99)); })},
        {"record type point", patch("shp", [](QByteArray& b) { put(b, kRecordType, qint32(1)); })},
        {"points lie", patch("shp", [](QByteArray& b) { put(b, kPoints, qint32(0x7fffffff)); })},
        {"points negative", patch("shp", [](QByteArray& b) { put(b, kPoints, qint32(-5)); })},
        {"parts lie", patch("shp", [](QByteArray& b) { put(b, kParts, qint32(0x7fffffff)); })},
        {"part start lies", patch("shp", [](QByteArray& b) { put(b, 152, qint32(1 << 30)); })},
        {"vertex NaN", vertex(nan, 0)},
        {"vertex inf", vertex(0, inf)},
        {"vertex 1e308", vertex(1e308, 1e308)},
        {"vertex DBL_MAX", vertex(DBL_MAX, -DBL_MAX)},
        {"header box NaN", patch("shp", [nan](QByteArray& b) { put(b, 36, nan); })},
        {"shx empty", replaceWith("shx", {})},
        {"shx header only", truncate("shx", [](qsizetype) { return 100; })},
        {"shx half", truncate("shx", [](qsizetype n) { return n / 2; })},
        {"shx garbage", garbage("shx", 0, 3)},
        {"shx garbage body", garbage("shx", 100, 4)},
        {"shx length lies",
         patch("shx", [](QByteArray& b) { put(b, 24, qint32(0x7fffffff), true); })},
        {"shx offset beyond",
         patch("shx", [](QByteArray& b) { put(b, 100, qint32(1 << 29), true); })},
        {"shx offset inside", patch("shx", [](QByteArray& b) { put(b, 108, qint32(53), true); })},
        {"dbf empty", replaceWith("dbf", {})},
        {"dbf cut to 10", truncate("dbf", [](qsizetype) { return 10; })},
        {"dbf cut in fields", truncate("dbf", [](qsizetype) { return 40; })},
        {"dbf half", truncate("dbf", [](qsizetype n) { return n / 2; })},
        {"dbf garbage", garbage("dbf", 0, 5)},
        {"dbf garbage records", garbage("dbf", 200, 6)},
        {"dbf count lies", patch("dbf", [](QByteArray& b) { put(b, 4, quint32(0x7fffffff)); })},
        {"dbf count zero", patch("dbf", [](QByteArray& b) { put(b, 4, quint32(0)); })},
        {"dbf header length lies", patch("dbf", [](QByteArray& b) { put(b, 8, quint16(0xffff)); })},
        {"dbf record length 1", patch("dbf", [](QByteArray& b) { put(b, 10, quint16(1)); })},
        {"dbf field length 0", patch("dbf", [](QByteArray& b) { put(b, 32 + 16, quint8(0)); })},
        {"dbf field length 255", patch("dbf", [](QByteArray& b) { put(b, 32 + 16, quint8(255)); })},
        {"dbf garbage from the first field on", garbage("dbf", 32 + 11, 7)},
        {"prj missing", removePart("prj")},
        {"prj nonsense", replaceWith("prj", "this is no coordinate system")},
        {"prj empty", replaceWith("prj", {})},
        {"prj huge", replaceWith("prj", QByteArray(200000, 'P'))},
        {"prj binary", garbage("prj", 0, 8)},
        {"prj in degrees", replaceWith("prj", wgs84)},
        {"cpg missing", removePart("cpg")},
        {"cpg nonsense", replaceWith("cpg", "XYZ-999")},
        {"cpg huge", replaceWith("cpg", QByteArray(100000, 'C'))},
        {"shp folder", special("shp", "folder")},
        {"dbf folder", special("dbf", "folder")},
        {"prj folder", special("prj", "folder")},
        {"shp fifo", special("shp", "fifo")},
        {"shx fifo", special("shx", "fifo")},
        {"prj fifo", special("prj", "fifo")},
        {"cpg zero", special("cpg", "/dev/zero")},
        {"dbf urandom", special("dbf", "/dev/urandom")},
        {"shp zero", special("shp", "/dev/zero")},
        {"shx dangling", special("shx", "/nonexistent/pallix")},
    };
}

std::vector<Variant> variants() {
    std::vector<Variant> out;
    const auto damages = fileDamages();
    const QStringList layers = {"20_wind",    "43_roads",         "44_transmissionline",
                                "02_landuse", "31_protectedarea", "11_solar_direct",
                                "59_cities"};
    for (const QString& layer : layers)
        for (size_t i = 0; i < damages.size(); ++i)
            if (layer == "20_wind" || layer == "43_roads" ||
                i % 3 == size_t(layers.indexOf(layer)) % 3)
                out.push_back(
                    {layer + ": " + damages[i].first, layer, damages[i].second, queryFor(layer)});

    // Polygons that are no valid areas, in the layers the overlays cut with.
    for (const QString layer : {"20_wind", "31_protectedarea", "02_landuse"})
        for (const bool bowTie : {true, false})
            out.push_back({layer + (bowTie ? ": bow ties" : ": zero areas"), layer,
                           rewrite([bowTie](int i, engine::Shape& s, std::vector<QVariant>&) {
                               if (i % 4 == 0) s = invalidLike(s, bowTie);
                           }),
                           queryFor(layer)});
    // Quotes and percent signs in land-use names, chosen as the land use.
    for (const QString use : {"FARMER'S LAND", "100% FOREST", "\"DRY\" LAND", "' OR 1=1 --", "%_%",
                              "BÆR\xc3\x98Y \xe2\x82\xac"}) {
        out.push_back({"02_landuse: named " + use,
                       "02_landuse",
                       rewrite([use](int i, engine::Shape&, std::vector<QVariant>& v) {
                           if (i % 3 == 0) v[0] = use;
                       }),
                       {"Best wind + land use", "--land-use", use}});
    }
    // Non-UTF-8 bytes in texts of a table that says UTF-8.
    out.push_back({"02_landuse: latin-1 texts", "02_landuse",
                   patch("dbf",
                         [](QByteArray& b) {
                             const qsizetype first = b.indexOf("FOREST");
                             if (first > 0) b.replace(first, 6, "F\xd8R\xc9ST");
                         }),
                   queryFor("02_landuse")});
    // The huge vertex in a road and in a transmission line, under the three line queries.
    const QStringList all = {"Best wind (all)", "--roads-km", "2", "--transmission-km", "2",
                             "--land-use",      "FOREST"};
    for (const QString layer : {"43_roads", "44_transmissionline"})
        for (const double far : {1e308, DBL_MAX})
            for (const QStringList& query :
                 {queryFor("43_roads"), queryFor("44_transmissionline"), all})
                out.push_back({layer + QString(": line vertex %1 under ").arg(far) + query[0],
                               layer, vertex(far, 0), query});
    return out;
}

// ---- running them ----

class DamagedDatasets : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        base_ = new QTemporaryDir();
        tools::SampleSize size{300, 10, 6, 40, 3, 5};
        tools::generateSampleDataset(base_->path(), size);
        // The layers the queries read, and a point layer; each run loads them all.
        const QStringList kept = {"02_landuse",       "11_solar_direct", "20_wind",
                                  "31_protectedarea", "43_roads",        "44_transmissionline",
                                  "59_cities"};
        for (const QFileInfo& f : QDir(base_->path()).entryInfoList(QDir::Files))
            if (!kept.contains(f.completeBaseName())) QFile::remove(f.filePath());
    }
    static void TearDownTestSuite() { delete base_; }

    // The variant's folder: the base files linked (every damage replaces a file, never writes
    // into one), then damaged.
    QString prepare(size_t index, const Variant& v) {
        const QString dir = work_.filePath(QString::number(index));
        QDir().mkpath(dir);
        for (const QString& f : QDir(base_->path()).entryList(QDir::Files))
            if (::link(QFile::encodeName(base_->filePath(f)).constData(),
                       QFile::encodeName(dir + "/" + f).constData()) != 0)
                QFile::copy(base_->filePath(f), dir + "/" + f);
        v.damage(dir + "/" + v.layer);
        return dir;
    }

    struct Running {
        std::unique_ptr<QProcess> process;
        size_t index;
        QString dir;
        QElapsedTimer clock;
    };

    // Runs every variant, a few at a time; returns the failures, one line each.
    QStringList runAll(const std::vector<Variant>& all) {
        QStringList failures;
        std::vector<Running> running;
        const size_t parallel = size_t(std::max(2, QThread::idealThreadCount()));
        size_t next = 0;
        while (next < all.size() || !running.empty()) {
            while (running.size() < parallel && next < all.size()) {
                Running r{std::make_unique<QProcess>(), next, prepare(next, all[next]), {}};
                r.process->start(QCoreApplication::applicationDirPath() + "/pallix-query",
                                 QStringList{r.dir} + all[next].query +
                                     QStringList{"--out", r.dir + "/result.shp"});
                r.clock.start();
                running.push_back(std::move(r));
                ++next;
            }
            for (auto it = running.begin(); it != running.end();) {
                const QString name = all[it->index].name;
                if (it->process->waitForFinished(5)) {
                    const Variant& v = all[it->index];
                    if (const QString fault = check(*it->process, it->dir, v.layer + ".shp");
                        !fault.isEmpty())
                        failures << name + ": " + fault;
                } else if (it->clock.elapsed() > kBoundMs) {
                    it->process->kill();
                    it->process->waitForFinished();
                    failures << name + ": no end within " + QString::number(kBoundMs) + " ms";
                } else {
                    ++it;
                    continue;
                }
                it = running.erase(it);
            }
        }
        return failures;
    }

    // What is wrong with a finished run, or an empty text.
    static QString check(QProcess& p, const QString& dir, const QString& damaged) {
        const QString err = QString::fromUtf8(p.readAllStandardError());
        if (p.exitStatus() != QProcess::NormalExit) return "crashed; standard error:\n" + err;
        // 2: the land use asked for is not in a damaged land-use layer.
        const bool noLandUse = p.exitCode() == 2 && err.contains("No land use \"");
        if (p.exitCode() != 0 && p.exitCode() != 1 && !noLandUse)
            return QString("exit %1: %2").arg(p.exitCode()).arg(err);
        if (p.exitCode() == 1 && err.trimmed().isEmpty()) return "failed without a word";
        // The damaged file, unless the engine reads it whole, is named.
        engine::DataConnection connection;
        connection.setDatabase(dir);
        const auto ds = connection.findGeoDataset(damaged);
        if (!ds && !err.contains("\n" + damaged + " was skipped: "))
            return damaged + " was skipped without a word: " + err;
        if (ds && ds->featuresLeftOut() > 0 &&
            !err.contains(QString("\n%1: %2 feature").arg(damaged).arg(ds->featuresLeftOut())))
            return damaged + " lost features without a word: " + err;
        if (!QDir(dir).entryList({"~*"}, QDir::AllEntries | QDir::System).isEmpty())
            return "files of the save left behind";
        return {};
    }

    static QTemporaryDir* base_;
    QTemporaryDir work_;
};

QTemporaryDir* DamagedDatasets::base_ = nullptr;

TEST_F(DamagedDatasets, TheUndamagedSampleRunsEveryQueryCleanly) {
    std::vector<Variant> clean;
    for (const QString layer : {"20_wind", "43_roads", "44_transmissionline", "02_landuse",
                                "31_protectedarea", "11_solar_direct", "59_cities"})
        clean.push_back({"clean " + layer, layer, [](const QString&) {}, queryFor(layer)});
    for (size_t i = 0; i < clean.size(); ++i) {
        const QString dir = prepare(i, clean[i]);
        QProcess p;
        p.start(QCoreApplication::applicationDirPath() + "/pallix-query",
                QStringList{dir} + clean[i].query + QStringList{"--out", dir + "/result.shp"});
        ASSERT_TRUE(p.waitForFinished(kBoundMs));
        const bool saves = clean[i].query[0] != "No Query (Base Map)";
        EXPECT_EQ(p.exitCode(), saves ? 0 : 1) << clean[i].name.toStdString() << "\n"
                                               << p.readAllStandardError().toStdString();
        EXPECT_EQ(QFile::exists(dir + "/result.shp"), saves) << clean[i].name.toStdString();
    }
}

TEST_F(DamagedDatasets, NoVariantCrashesHangsOrLosesALayerWithoutAWord) {
    const std::vector<Variant> all = variants();
    ASSERT_GT(all.size(), 250u);
    const QStringList failures = runAll(all);
    EXPECT_TRUE(failures.isEmpty()) << failures.size() << " of " << all.size() << " variants:\n"
                                    << failures.join("\n").toStdString();
}

// ---- a dataset in degrees with one layer whose coordinate system is missing, unreadable,
// local or another one ----

struct QueryRun {
    int code = -1;
    QString out, err;
    double areaKm2 = 0;  // summed over the classes of the result table
};

QueryRun runQuery(const QString& dir, const QStringList& query) {
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + "/pallix-query",
            QStringList{dir} + query + QStringList{"--out", dir + "/result.shp"});
    EXPECT_TRUE(p.waitForFinished(kBoundMs * 4));
    QueryRun r{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
               QString::fromUtf8(p.readAllStandardOutput()),
               QString::fromUtf8(p.readAllStandardError())};
    for (const QString& line : r.out.split('\n').mid(1))
        if (!line.isEmpty()) r.areaKm2 += line.section(',', -1).toDouble();
    return r;
}

// The layer's shapes carried into UTM zone 37N metres, written with that system.
void carryToUtm(const QString& base) {
    const auto ds = engine::GeoDataset::open(base + ".shp");
    const auto utm = engine::CoordinateSystem::fromWkt(tools::UtmZone{37}.wkt());
    const engine::Reprojection carry(*ds->coordinateSystem(), utm);
    engine::DataConnection conn;
    conn.setDatabase(QFileInfo(base).absolutePath());
    auto writer =
        conn.addGeoDataset(QFileInfo(base).fileName(), ds->shapeType(), ds->fields(), utm);
    for (int i = 0; i < ds->recordCount(); ++i) {
        std::vector<QVariant> values;
        for (int f = 0; f < ds->fieldNames().size(); ++f) values.push_back(ds->value(i, f));
        writer->addRecord(carry.apply(ds->shape(i)), values);
    }
    writer->commit();
}

TEST_F(DamagedDatasets, ALayerWithoutItsDatasetsSystemIsCarriedGuessedOrRefusedButNeverMixed) {
    QTemporaryDir degrees;
    tools::generateSampleDataset(degrees.path(), {300, 10, 6, 40, 3, 5}, true);
    const QString local = R"(LOCAL_CS["arbitrary",UNIT["metre",1]])";
    const QStringList wind = queryFor("20_wind"), roads = queryFor("43_roads");
    const QueryRun cleanWind = runQuery(degrees.path(), wind);
    const QueryRun cleanRoads = runQuery(degrees.path(), roads);
    ASSERT_EQ(cleanWind.code, 0) << cleanWind.err.toStdString();
    ASSERT_EQ(cleanRoads.code, 0) << cleanRoads.err.toStdString();
    ASSERT_GT(cleanWind.areaKm2, 1000);
    ASSERT_LT(cleanRoads.areaKm2, cleanWind.areaKm2);

    struct Case {
        QString layer;
        Damage damage;
        QStringList query;
        int code;
        QString told;  // on standard error
        double areaKm2;
    };
    const QString guessed =
        ", so it is taken to be in WGS 84, the coordinate system of the other layers";
    const std::vector<Case> cases = {
        {"20_wind", removePart("prj"), wind, 0,
         "20_wind.shp: it has no coordinate system of its own (its .prj is missing)" + guessed,
         cleanWind.areaKm2},
        {"20_wind", replaceWith("prj", {}), wind, 0,
         "20_wind.shp: it has no coordinate system of its own (its .prj is empty)" + guessed,
         cleanWind.areaKm2},
        {"43_roads", removePart("prj"), roads, 0,
         "43_roads.shp: its .prj is missing, so this query took it to be in WGS 84 like the "
         "other layers",
         cleanRoads.areaKm2},
        {"43_roads", carryToUtm, roads, 0,
         "43_roads.shp is in WGS 84 / UTM zone 37N: it was carried into WGS 84, the coordinate "
         "system of the other layers",
         cleanRoads.areaKm2},
        {"20_wind", replaceWith("prj", local.toUtf8()), wind, 1,
         "20_wind.shp was skipped: 20_wind.prj names a local coordinate system, which has no "
         "place on the Earth",
         0},
        {"11_solar_direct", replaceWith("prj", local.toUtf8()), queryFor("11_solar_direct"), 1,
         "11_solar_direct.shp was skipped: 11_solar_direct.prj names a local coordinate system", 0},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const QString dir = work_.filePath("degrees" + QString::number(i));
        QDir().mkpath(dir);
        for (const QString& f : QDir(degrees.path()).entryList(QDir::Files))
            QFile::copy(degrees.filePath(f), dir + "/" + f);
        c.damage(dir + "/" + c.layer);
        const QueryRun r = runQuery(dir, c.query);
        const std::string what =
            c.layer.toStdString() + " case " + std::to_string(i) + "\n" + r.err.toStdString();
        EXPECT_EQ(r.code, c.code) << what;
        EXPECT_TRUE(r.err.contains(c.told)) << c.told.toStdString() << "\n" << what;
        if (c.code == 0) EXPECT_NEAR(r.areaKm2, c.areaKm2, c.areaKm2 * 0.01) << what;
    }
}

}  // namespace
