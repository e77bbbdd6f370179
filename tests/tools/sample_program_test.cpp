// pallix-sample as the build and users run it.
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "engine/geo_dataset.h"

namespace {

struct Outcome {
    int exitCode;
    QString errors;
};

Outcome sample(const QStringList& args) {
    QProcess p;
    p.start(QDir(QCoreApplication::applicationDirPath()).filePath("pallix-sample"), args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardError())};
}

}  // namespace

TEST(SampleProgram, WritesTheCountsAskedForInDegreesWhenAsked) {
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    const Outcome run = sample({out, "--scale", "0.3", "--road-segments", "77", "--geographic"});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(QDir(out).entryList({"*.shp"}).size(), 24);
    EXPECT_EQ(engine::GeoDataset::open(QDir(out).filePath("43_roads.shp"))->recordCount(), 77);
    const auto cities = engine::GeoDataset::open(QDir(out).filePath("59_cities.shp"));
    EXPECT_EQ(cities->recordCount(), 9);
    ASSERT_TRUE(cities->coordinateSystem());
    EXPECT_TRUE(cities->coordinateSystem()->isGeographic());
}

TEST(SampleProgram, WritesTheDenseDatasetWithItsRoadDensity) {
    QTemporaryDir dir;
    const QString out = dir.filePath("dense");
    const Outcome run = sample({out, "--dense", "--scale", "0.01", "--road-density", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(QDir(out).entryList({"*.shp"}).size(), 5);
    EXPECT_EQ(engine::GeoDataset::open(QDir(out).filePath("20_wind.shp"))->recordCount(), 1000);
    EXPECT_EQ(engine::GeoDataset::open(QDir(out).filePath("43_roads.shp"))->recordCount(), 400);
}

TEST(SampleProgram, RefusesBadArgumentsWithUsage) {
    QTemporaryDir dir;
    for (const QStringList& args : {QStringList{}, QStringList{dir.path(), "--bogus"}, QStringList{dir.path(), "--scale", "0"},
                                    QStringList{dir.path(), "--wind-cells", "x"}, QStringList{dir.path(), "other"},
                                    QStringList{dir.path(), "--dense", "--large"},
                                    QStringList{dir.path(), "--dense", "--road-segments", "9"},
                                    QStringList{dir.path(), "--road-density", "2"}}) {
        const Outcome run = sample(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.errors.contains("Usage: pallix-sample OUTDIR")) << run.errors.toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.shp"}).isEmpty());
}
