// Data from many sources: absurd coordinates in the line layers, damaged and unsuitable layers,
// in the window and in the headless runner, and what the user is told.
#include <cfloat>

#include "tests/query/query_fixture.h"
#include "tests/query/query_runner.h"

namespace querytest {
namespace {

// The last n lines of a text, blanks at their ends kept.
QStringList lastLines(const QString& text, int n) {
    QStringList lines = text.split('\n');
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines.mid(std::max<qsizetype>(0, lines.size() - n));
}

constexpr double kMarker = 123456.75;  // a far vertex's x, replaced in the file

class BadDataTest : public QueryTest {
  protected:
    // The hand-made dataset; with `far`, the roads or the transmission layer gets one more line
    // whose end lies at x = far.
    QString writeWithFarVertex(const QString& name, const QString& layer, double far) {
        const QString dir = tmp.filePath(name);
        writeWind(dir, {550, 650, 150, 850});
        writePolygons(dir, "31_protectedarea", "NAME", {{box(-0.5, -1, 0.5, 2), "Park"}});
        writePolygons(dir, "02_landuse", "LAND_USE",
                      {{box(0, 0, 2.5, 1), "FOREST"}, {box(2.5, 0, 7, 1), "FARMER'S LAND"}});
        std::vector<engine::Shape> roads{line(-5, 1.5, 12, 1.5)};
        std::vector<engine::Shape> transmission{line(1, -5, 1, 5)};
        auto& lines = layer == "43_roads" ? roads : transmission;
        if (!layer.isEmpty())
            lines.push_back(engine::Shape::lineString({{X0, 0}, {kMarker, 2 * km}}));
        writeLinesOf(dir, "43_roads", roads);
        writeLinesOf(dir, "44_transmissionline", transmission);
        if (!layer.isEmpty()) {
            EXPECT_GT(testdata::replaceDouble(dir + "/" + layer + ".shp", kMarker, far), 0);
        }
        return dir;
    }

    // Class areas of the three line queries, run in the window.
    std::vector<std::map<int, double>> lineQueries() {
        std::vector<std::map<int, double>> areas;
        choose("Best wind + roads");
        form->txtQuery1[2]->setText("1");
        updateMap();
        areas.push_back(classAreas());
        choose("Best wind + transmission");
        form->txtQuery1[2]->setText("1");
        updateMap();
        areas.push_back(classAreas());
        choose("Best wind (all)");
        form->txtQuery1[1]->setText("1");
        form->txtQuery1[2]->setText("1");
        selectLandUse("FOREST");
        updateMap();
        areas.push_back(classAreas());
        return areas;
    }
};

TEST_F(BadDataTest, AHugeVertexInARoadOrTransmissionLineIsLeftOutOfTheLineQueries) {
    open(writeWithFarVertex("clean", "", 0));
    const auto expected = lineQueries();
    ASSERT_FALSE(expected[0].empty());
    ASSERT_FALSE(expected[2].empty());
    ASSERT_TRUE(dialogs->shown.isEmpty());

    int variant = 0;
    for (const QString layer : {"43_roads", "44_transmissionline"}) {
        for (const double far : {1e308, DBL_MAX, -DBL_MAX}) {
            SCOPED_TRACE(layer.toStdString() + " " + std::to_string(far));
            dialogs->shown.clear();
            open(writeWithFarVertex(QString("variant%1").arg(++variant), layer, far));
            ASSERT_EQ(dialogs->shown.size(), 1);
            EXPECT_EQ(dialogs->shown[0].text.toStdString(),
                      "Some files of this dataset could not be used:\n" + layer.toStdString() +
                          ".shp: 1 feature was left out: coordinates that are not finite, lie "
                          "beyond the bounds of the coordinate system or make no valid shape");
            EXPECT_EQ(lineQueries(), expected);
            EXPECT_EQ(dialogs->shown.size(), 1);  // no failure on the way
        }
    }
}

TEST_F(BadDataTest, TheRunnerNamesSkippedFilesAndPrintsTheReasonAfterTheFixedText) {
    const QString dir = writeWithFarVertex("data", "43_roads", 1e308);
    // The wind layer is cut short: it is skipped, and said so at load.
    QFile shp(dir + "/20_wind.shp");
    ASSERT_TRUE(shp.resize(110));
    RunnerOutcome r = runQuery({dir, "Best wind + roads", "--roads-km", "1"});
    EXPECT_EQ(r.code, 1);
    const QStringList lines = r.err.trimmed().split('\n');
    EXPECT_TRUE(lines.contains("Some files of this dataset could not be used:"))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("\n20_wind.shp was skipped: cannot read 20_wind.shp"));
    EXPECT_TRUE(r.err.contains("\n43_roads.shp: 1 feature was left out: "));
    EXPECT_EQ(lines.last(), "This query requires 20_wind.shp shapefile.");

    // A solar layer without its field: the query fails, with the fixed text, then the reason.
    writePolygons(dir, "14_solar_glo", "VALUE", {{box(0, 3, 1, 4), 5.2}});
    r = runQuery(
        {dir, "Best Solar X kWh/m2/day", "--solar", kSolarGlobal10km, "--min", "5", "--max", "10"});
    EXPECT_EQ(r.code, 1);
    const QStringList two = lastLines(r.err, 2);
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(two[0], " Error Source:md_query_functions2.solar_x_kwhm2_or_better() ")
        << r.err.toStdString();
    EXPECT_TRUE(two[1].contains("ANNGLO")) << two[1].toStdString();
}

TEST_F(BadDataTest, TheRunnerSavesUnderTheNameGivenAndSaysWhyASaveFails) {
    const QString dir = writeWithFarVertex("data", "", 0);
    const auto args = [&](const QString& out) {
        return QStringList{dir, "Wind by Power Density", "--min", "500", "--out", out};  // 550, 650
    };
    RunnerOutcome r = runQuery(args(tmp.filePath("results")));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(engine::GeoDataset::open(tmp.filePath("results.shp"))->recordCount(), 2);
    EXPECT_FALSE(QFile::exists(tmp.filePath("res.shp")));

    QFile wind(dir + "/20_wind.shp");
    ASSERT_TRUE(wind.open(QIODevice::ReadOnly));
    const QByteArray before = wind.readAll();
    wind.close();
    r = runQuery(args(dir + "/20_wind.shp"));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(lastLines(r.err, 2),
              QStringList({" Error Source:md_query_functions2.SaveTrackingLayer()",
                           "20_wind.shp is a file of the open dataset; choose another name"}));
    ASSERT_TRUE(wind.open(QIODevice::ReadOnly));
    EXPECT_EQ(wind.readAll(), before);

    r = runQuery({dir, "Wind by Power Density", "--min", "900", "--max", "1000", "--out",
                  tmp.filePath("none")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(lastLines(r.err, 1), QStringList{"There is no query result to save."});
    EXPECT_FALSE(QFile::exists(tmp.filePath("none.shp")));
}

}  // namespace
}  // namespace querytest
