// The wind queries on small dense datasets (square cells, crossing roads, overlapping land
// use): the same result set in the same order whatever the thread count; the class areas of
// the merged proximity polygons, in metres and in degrees; a cancel that stops the run at once.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include "engine/overlay.h"
#include "engine/projection.h"
#include "siting/parallel_run.h"
#include "siting/result_set.h"
#include "tests/query/query_fixture.h"
#include "tools/sample_dataset.h"

namespace querytest {
namespace {

// One dense dataset per size and kind of coordinates, written once per test program.
QString denseDataset(double scale, bool degrees) {
    static QTemporaryDir root;
    static std::map<std::pair<double, bool>, QString> written;
    QString& dir = written[{scale, degrees}];
    if (dir.isEmpty()) {
        dir = root.filePath(QString("dense-%1-%2").arg(scale).arg(degrees));
        tools::generateDenseDataset(dir, tools::DenseSize{}.scaled(scale), degrees);
    }
    return dir;
}

struct Result {
    std::string wkt;
    double value;
    int colour;
    bool operator==(const Result&) const = default;
};

class DenseQueryTest : public QueryTest {
protected:
    void TearDown() override { md_query_functions2::SetWorkerThreadCount(0); }

    // Runs a query with the parameters of the benchmark: 500 to 800 W/m2, roads 2 km,
    // transmission 2 km (5 km in "Best wind (all)"), grassland and farmer's fields.
    void run(const QString& query, const QString& km = "2") {
        choose(query);
        setRange("500", "800");
        form->txtQuery1[2]->setText(km);
        if (query == "Best wind (all)") form->txtQuery1[1]->setText("5");
        if (!form->lstQuery1->isHidden()) {
            selectLandUse("GRASSLAND");
            selectLandUse("FARMER'S FIELD");
        }
        updateMap();
    }

    std::vector<Result> results() const {
        std::vector<Result> out;
        for (size_t k = 0; k < entries().size(); ++k)
            out.push_back(
                {entries()[k].shape.toWkt(), entries()[k].value, entries()[k].symbol.color});
        return out;
    }
};

const char* const kWindQueries[] = {"Wind by Power Density",    "Best wind - protected areas",
                                    "Best wind + land use",     "Best wind + roads",
                                    "Best wind + transmission", "Best wind (all)"};

TEST_F(DenseQueryTest, SameResultsInTheSameOrderWhateverTheThreadCount) {
    open(denseDataset(0.02, false));
    for (const char* query : kWindQueries) {
        SCOPED_TRACE(query);
        md_query_functions2::SetWorkerThreadCount(1);
        run(query);
        const std::vector<Result> one = results();
        ASSERT_FALSE(one.empty());
        md_query_functions2::SetWorkerThreadCount(4);
        run(query);
        EXPECT_TRUE(results() == one);
        EXPECT_FALSE(form->cmdShowData->isHidden());
    }
    // In "Best wind (all)" the results follow the land-use polygons, each with the cells it
    // meets, so a cell further on can come before an earlier one: the order is the query's
    // own, not the cells'.
    int backwards = 0;
    for (size_t k = 1; k < entries().size(); ++k) {
        const engine::Point a = entries()[k - 1].shape.centroid(),
                            b = entries()[k].shape.centroid();
        backwards += b.y < a.y - 5000;
    }
    EXPECT_GT(backwards, 0);
    EXPECT_EQ(form->lblWorking->text(), "Overlaying... finished");
}

using Parts = std::vector<engine::Shape>;

// Areas by class colour, km2, of the parts of the selected cells that parts(cell) finds.
std::map<int, double> referenceAreas(const QString& dir, const engine::AreaMeasure& measure,
                                     const std::function<Parts(const engine::Shape&)>& parts) {
    std::map<int, double> areas;
    const auto wind = engine::GeoDataset::open(dir + "/20_wind.shp");
    const int power = wind->fieldIndex("WINDPWRD");
    for (int r = 0; r < wind->recordCount(); ++r) {
        const double v = wind->value(r, power).toDouble();
        if (v < 500 || v > 800) continue;
        engine::Symbol symbol;
        md_functions::SetResultSymbolColor("WINDPWRD", v, symbol);
        for (const engine::Shape& part : parts(wind->shape(r)))
            areas[symbol.color] += measure.squareMetres(part) / 1e6;
    }
    return areas;
}

// The merged proximity polygon of a whole line layer: all its lines buffered as one, in metres.
engine::Shape mergedZone(const QString& file, double metres) {
    const auto lines = engine::GeoDataset::open(file);
    std::string wkt = "MULTILINESTRING(";
    for (int r = 0; r < lines->recordCount(); ++r) {
        const std::string one = lines->shape(r).toWkt();
        wkt += (r ? "," : "") + one.substr(one.find('('));
    }
    const engine::Shape all = engine::Shape::fromWkt(wkt + ")");
    const auto projection = engine::LocalProjection::forData(lines->coordinateSystem(), lines->extent());
    if (!projection) return all.buffer(metres);
    return projection->fromMetric(projection->toMetric(all).buffer(metres));
}

void expectSameAreas(const std::map<int, double>& got, const std::map<int, double>& expected,
                     double tolerance) {
    ASSERT_EQ(got.size(), expected.size());
    for (const auto& [colour, area] : expected) {
        ASSERT_TRUE(got.count(colour)) << colour;
        EXPECT_NEAR(got.at(colour) / area, 1.0, tolerance) << colour;
    }
}

TEST_F(DenseQueryTest, ClassAreasAreThoseOfTheMergedProximityPolygonsInMetresAndDegrees) {
    std::map<int, double> roads[2], all[2];
    for (const bool degrees : {false, true}) {
        SCOPED_TRACE(degrees ? "degrees" : "metres");
        const QString dir = denseDataset(0.02, degrees);
        form.reset();
        form = createMainWindow();
        open(dir);
        const auto wind = engine::GeoDataset::open(dir + "/20_wind.shp");
        const engine::AreaMeasure measure(wind->coordinateSystem(), wind->extent());

        const engine::Shape roadZone = mergedZone(dir + "/43_roads.shp", 2000);
        run("Best wind + roads");
        roads[degrees] = classAreas();
        expectSameAreas(roads[degrees], referenceAreas(dir, measure, [&](const engine::Shape& c) {
                            return Parts{c.intersect(roadZone)};
                        }),
                        1e-6);

        // The corridor within both zones, cut by land use, less the parks.
        const engine::Shape corridor =
            roadZone.intersect(mergedZone(dir + "/44_transmissionline.shp", 5000));
        const auto land = engine::GeoDataset::open(dir + "/02_landuse.shp");
        const auto parks = engine::GeoDataset::open(dir + "/31_protectedarea.shp");
        std::vector<engine::Shape> pieces;
        for (int r = 0; r < land->recordCount(); ++r) {
            const QString use = land->value(r, land->fieldIndex("LAND_USE")).toString();
            if (use == "GRASSLAND" || use == "FARMER'S FIELD")
                pieces.push_back(engine::polygonalPart(corridor.intersect(land->shape(r))));
        }
        run("Best wind (all)");
        all[degrees] = classAreas();
        expectSameAreas(all[degrees], referenceAreas(dir, measure, [&](const engine::Shape& cell) {
                            Parts parts;
                            for (const engine::Shape& piece : pieces) {
                                engine::Shape cut = engine::polygonalPart(piece.intersect(cell));
                                for (int p = 0; cut && p < parks->recordCount(); ++p)
                                    cut = engine::polygonalPart(cut.difference(parks->shape(p)));
                                if (cut) parts.push_back(cut);
                            }
                            return parts;
                        }),
                        1e-6);
    }
    expectSameAreas(roads[1], roads[0], 0.005);
    expectSameAreas(all[1], all[0], 0.005);
}

TEST_F(DenseQueryTest, CancelStopsTheRunAtOnceAndKeepsTheResultsFoundSoFar) {
    open(denseDataset(0.25, false));
    md_query_functions2::SetWorkerThreadCount(1);
    run("Best wind + roads", "6");
    const std::vector<Result> full = results();
    ASSERT_GT(full.size(), 2000u);

    // While the run goes on, the window shows its progress; "Cancel" is pressed once half the
    // results are in. The run is over when the map is redrawn after it. Other programs on a
    // busy machine can hold this one up, so the press is tried up to three times.
    QStringList captions;
    QElapsedTimer sincePress;
    qint64 stoppedAfter = -1;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        const QString caption = form->lblWorking->text();
        if (caption.startsWith("Overlaying... ") && !captions.contains(caption))
            captions << caption;
        if (!sincePress.isValid() && entries().size() >= full.size() / 2 &&
            form->cmdUpdateMap->text() == "Cancel") {
            sincePress.start();
            form->cmdUpdateMap->click();
        }
    });
    QObject::connect(form->Map1, &engine::Map::beforeLayerDraw, [&](int) {
        if (sincePress.isValid() && stoppedAfter < 0) stoppedAfter = sincePress.elapsed();
    });
    qint64 fastest = -1;
    for (int attempt = 0; attempt < 3 && !(fastest >= 0 && fastest < 100); ++attempt) {
        sincePress.invalidate();
        stoppedAfter = -1;
        watcher.start(1);
        run("Best wind + roads", "6");
        watcher.stop();
        ASSERT_TRUE(sincePress.isValid());
        ASSERT_GE(stoppedAfter, 0);
        if (fastest < 0 || stoppedAfter < fastest) fastest = stoppedAfter;
    }
    EXPECT_LT(fastest, 100);
    EXPECT_GE(captions.size(), 2) << captions.join(" | ").toStdString();

    // What was found before the press stays: the first results of the whole run.
    const std::vector<Result> kept = results();
    EXPECT_GE(kept.size(), full.size() / 2);
    EXPECT_LT(kept.size(), full.size());
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), full.begin()));
    EXPECT_TRUE(study().result()->cancelled);
    EXPECT_TRUE(form->cmdShowData->isHidden());
    EXPECT_EQ(form->cmdUpdateMap->text(), "Update Map");
    EXPECT_TRUE(form->lblWorking->text().startsWith("Overlaying... "));
    EXPECT_NE(form->lblWorking->text(), "Overlaying... finished");
}

}  // namespace
}  // namespace querytest
