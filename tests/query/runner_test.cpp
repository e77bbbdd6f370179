// The headless runner, and the same region in metres and in degrees.
#include <QLabel>

#include "siting/query_descriptors.h"
#include "tests/query/query_fixture.h"
#include "tests/query/query_runner.h"
#include "tools/sample_dataset.h"

namespace querytest {
namespace {

// The reason a refused run gives: the last line on standard error.
QString lastLine(const QString& text) { return text.trimmed().split('\n').last(); }

TEST_F(QueryTest, RunnerPrintsTheResultsTableAsCsvAndSaves) {
    const QString dir = writeDataset();
    const QString out = tmp.filePath("saved.shp");
    const RunnerOutcome r = runQuery({dir, "Best wind + roads", "--roads-km", "1", "--out", out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out,
              "class,colour,area_km2\n"
              "Wind Power Density >= 500 and < 600,13447834,0.500000\n"
              "Wind Power Density >= 600 and < 800,255,0.500000\n");
    EXPECT_EQ(engine::GeoDataset::open(out)->recordCount(), 2);

    const RunnerOutcome all =
        runQuery({dir, "Best wind (all)", "--roads-km", "1", "--transmission-km", "1", "--land-use",
                  "FOREST", "--keep-protected"});
    ASSERT_EQ(all.code, 0) << all.err.toStdString();
    EXPECT_TRUE(all.out.endsWith("Wind Power Density >= 500 and < 600,13447834,0.500000\n"));

    const RunnerOutcome solar = runQuery(
        {dir, "Best Solar X kWh/m2/day", "--solar", kSolarGlobal10km, "--min", "5", "--max", "10"});
    ASSERT_EQ(solar.code, 0) << solar.err.toStdString();
    EXPECT_TRUE(solar.out.contains("Solar Resource >= 5.0 < 5.5,"));
}

TEST_F(QueryTest, RunnerExitsNonZeroWithTheReason) {
    Layers l;
    l.roads = false;
    const QString dir = writeDataset(l);
    RunnerOutcome r = runQuery({dir, "Best wind + roads"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(lastLine(r.err), "This query requires 43_roads.shp shapefile.");

    r = runQuery({dir, "Wind by Power Density", "--min", "800", "--max", "800"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(lastLine(r.err), "Max. Wind Power Density should be > Min. Wind Power Density");

    r = runQuery({dir, "Best wind + land use"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(lastLine(r.err), "Please select a land use.");

    EXPECT_EQ(runQuery({dir, "No such query"}).code, 2);
    EXPECT_EQ(runQuery({dir}).code, 2);
    const RunnerOutcome help = runQuery({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.startsWith("usage: pallix-query DATASET_DIR"));
}

// The runner starts where the panel starts: what it prints for a query with nothing given is
// the window's results table after Update Map, and what it refuses the window refuses.
TEST_F(QueryTest, RunnerAndWindowAgreeOnEveryQueryFromThePanelsDefaults) {
    const QString dir = writeDataset();
    open(dir);
    for (const QString& name : siting::QueryNames()) {
        SCOPED_TRACE(name.toStdString());
        const bool landUse = siting::FindQuery(name)->has(siting::Parameter::LandUses);
        choose(name);
        if (landUse) selectLandUse("FOREST");
        study().reset();
        updateMap();
        QStringList args{dir, name};
        if (landUse)
            args << "--land-use"
                 << "FOREST";
        const RunnerOutcome r = runQuery(args);
        if (!study().result()) {
            EXPECT_EQ(r.code, 1);
            EXPECT_EQ(lastLine(r.err), form->lblWorking->text());
            continue;
        }
        QString table = "class,colour,area_km2\n";
        for (const auto& [colour, area] : md_query_functions2::ClassSummary(*study().result()))
            table += md_query_functions2::CreateAreaDescription(*form, colour) + "," +
                     QString::number(colour) + "," + QString::number(area, 'f', 6) + "\n";
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, table);
    }
}

class MetresAndDegrees : public QueryTest {
protected:
    std::map<int, double> run(const QString& dir, const QString& query,
                              const std::function<void()>& setUp) {
        form.reset();
        form = createMainWindow();
        open(dir);
        choose(query);
        setUp();
        updateMap();
        return classAreas();
    }
};

TEST_F(MetresAndDegrees, ClassAreasAgreeWithinHalfAPercent) {
    const QString metres = tmp.filePath("metres"), degrees = tmp.filePath("degrees");
    tools::SampleSize size = tools::SampleSize::standard().scaled(0.2);
    tools::generateSampleDataset(metres, size, false);
    tools::generateSampleDataset(degrees, size, true);

    const auto roads = [&] { form->txtQuery1[2]->setText("3"); };
    const auto m = run(metres, "Best wind + roads", roads);
    const auto d = run(degrees, "Best wind + roads", roads);
    ASSERT_FALSE(m.empty());
    ASSERT_EQ(m.size(), d.size());
    for (const auto& [colour, area] : m) EXPECT_NEAR(d.at(colour) / area, 1.0, 0.005) << colour;

    const auto landUse = [&] {
        for (int i = 0; i < form->lstQuery1->count() && i < 3; ++i)
            form->lstQuery1->item(i)->setSelected(true);
    };
    const auto lm = run(metres, "Best wind + land use", landUse);
    const auto ld = run(degrees, "Best wind + land use", landUse);
    ASSERT_FALSE(lm.empty());
    ASSERT_EQ(lm.size(), ld.size());
    for (const auto& [colour, area] : lm) EXPECT_NEAR(ld.at(colour) / area, 1.0, 0.005) << colour;
}

}  // namespace
}  // namespace querytest
