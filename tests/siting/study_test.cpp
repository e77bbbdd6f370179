// The siting core with no window: a study over layers read straight from shapefiles, the checks
// that turn typed input into parameters, and runs told through a feedback that records.
#include "siting/study.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <atomic>

#include "engine/geo_dataset.h"
#include "engine/map_layer.h"
#include "siting/input_validation.h"
#include "siting/parallel_run.h"
#include "siting/query_descriptors.h"
#include "siting/query_procedures.h"
#include "siting/run_feedback.h"
#include "tests/dataset/test_shapefiles.h"

namespace {

using siting::Parameter;

class FileLayers : public siting::LayerSource {
  public:
    FileLayers(const QString& dir, const QStringList& files) {
        connection_.setDatabase(dir + "/");
        connection_.connect();
        for (const QString& file : files) {
            auto layer = std::make_shared<engine::MapLayer>();
            layer->setGeoDataset(connection_.findGeoDataset(file));
            layer->tag = file;
            layers_.insert(layers_.begin(), layer);
        }
    }
    int layerCount() const override { return int(layers_.size()); }
    std::shared_ptr<engine::MapLayer> layer(int i) const override { return layers_[size_t(i)]; }

  private:
    engine::DataConnection connection_;
    std::vector<std::shared_ptr<engine::MapLayer>> layers_;
};

struct Recorded : siting::RunFeedback {
    QStringList captions, failures;
    void caption(const QString& text, bool) override { captions << text; }
    void flushCaption() override {}
    void yield() override {}
    void layersChanged() override {}
    bool confirm(const QString&) override { return true; }
    void inform(const QString&) override {}
    // The text with the reason of the exception being handled.
    void failure(const QString& text) override {
        QString reason;
        try {
            if (const std::exception_ptr e = std::current_exception()) std::rethrow_exception(e);
        } catch (const std::exception& e) {
            reason = e.what();
        }
        failures << text + "|" + reason;
    }
};

siting::ParameterInput typed(const QString& min, const QString& max = {},
                             const QString& roadsKm = {}) {
    siting::ParameterInput in;
    in.minimum = min;
    in.maximum = max;
    in.roadsKm = roadsKm;
    return in;
}

class StudyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::vector<double> wind{150, 250, 550, 650, 850};
        testdata::writeSquares(tmp.path(), "20_wind", int(wind.size()), "WINDPWRD",
                               [wind](int i) { return wind[size_t(i)]; });
        study = std::make_unique<siting::Study>(
            std::make_unique<FileLayers>(tmp.path(), QStringList{"20_wind.shp"}));
    }

    static siting::QueryParameters check(const QString& query, const siting::ParameterInput& in) {
        const md_functions::InputCheck c = md_functions::CheckInputs(*siting::FindQuery(query), in);
        EXPECT_TRUE(c.parameters) << c.fault.toStdString();
        return c.parameters.value_or(siting::QueryParameters{});
    }

    static QString fault(const QString& query, const siting::ParameterInput& in,
                         std::optional<Parameter> focus = std::nullopt) {
        const md_functions::InputCheck c = md_functions::CheckInputs(*siting::FindQuery(query), in);
        EXPECT_FALSE(c.parameters);
        EXPECT_EQ(c.focus, focus);
        return c.fault;
    }

    QTemporaryDir tmp;
    std::unique_ptr<siting::Study> study;
};

TEST_F(StudyTest, ARunKeepsEachAreaWithItsClassSymbolAndValue) {
    QSignalSpy changed(study.get(), &siting::Study::resultChanged);
    const siting::QueryParameters p = check("Wind by Power Density", typed("500", "Max"));
    EXPECT_EQ(p.maximum, 10000);
    Recorded feedback;
    const std::atomic<bool> cancel{false};
    study->run(*siting::FindQuery("Wind by Power Density"), p, feedback, cancel);

    ASSERT_NE(study->result(), nullptr);
    const auto& entries = study->result()->entries;
    ASSERT_EQ(entries.size(), 3u);
    const double values[] = {550, 650, 850};
    const engine::ColorNumber colours[] = {engine::rgb(154, 50, 205), engine::rgb(255, 0, 0),
                                           engine::rgb(0, 0, 255)};
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(entries[k].value, values[k]);
        EXPECT_EQ(entries[k].symbol.color, colours[k]);
        EXPECT_FALSE(entries[k].symbol.outline);
        EXPECT_NEAR(entries[k].shape.area(), 1e6, 1);
    }
    EXPECT_EQ(study->result()->fieldName, "WINDPWRD");
    EXPECT_EQ(study->criteria().query, "Wind by Power Density");
    EXPECT_EQ(study->criteria().parameters.minimum, 500);
    EXPECT_TRUE(study->hasCompleteResult());
    EXPECT_EQ(feedback.captions.last(), "Calculating... finished");
    EXPECT_TRUE(feedback.failures.isEmpty());
    EXPECT_EQ(changed.count(), 2);  // cleared as the run starts, filled as it ends

    study->reset();
    EXPECT_EQ(study->result(), nullptr);
    EXPECT_TRUE(study->criteria().query.isEmpty());
    EXPECT_FALSE(study->hasAreas());
    EXPECT_EQ(changed.count(), 3);
}

TEST_F(StudyTest, ACancelledRunKeepsWhatItFoundButIsNotComplete) {
    Recorded feedback;
    const std::atomic<bool> cancel{true};
    study->run(*siting::FindQuery("Wind by Power Density"),
               check("Wind by Power Density", typed("0", "Max")), feedback, cancel);
    ASSERT_NE(study->result(), nullptr);
    EXPECT_TRUE(study->result()->cancelled);
    EXPECT_FALSE(study->hasCompleteResult());
}

TEST_F(StudyTest, AFailureIsToldOnceByTheProcedureWhereItHappenedWithItsReason) {
    Recorded feedback;
    const std::atomic<bool> cancel{false};
    // The roads layer is missing: the buffers of its lines cannot be made.
    study->run(*siting::FindQuery("Best wind + roads"),
               check("Best wind + roads", typed("500", "Max", "2")), feedback, cancel);
    EXPECT_EQ(feedback.failures,
              QStringList{" Error Source:md_query_functions2.create_line_buffers()|no layer "
                          "loaded from 43_roads.shp"});
    ASSERT_NE(study->result(), nullptr);
    EXPECT_TRUE(study->result()->entries.empty());
}

TEST_F(StudyTest, PiecesThatCannotBeWorkedOutAreCountedAndToldNotDroppedSilently) {
    // Six items on the worker threads: two fail as a whole, and of the others' two pieces each
    // the second fails once; what works out is kept.
    siting::QueryDescriptor query = *siting::FindQuery("Wind by Power Density");
    query.procedure = [](siting::Run& r) {
        std::vector<int> kept(6, 0);
        auto work = [&] {
            return [&, &r = r](int i) {
                if (i % 3 == 1) throw std::runtime_error("a geometry the overlay cannot handle");
                for (int piece = 0; piece < 2; ++piece)
                    siting::leavingOutOnFailure(r, [&] {
                        if (piece == 1 && i == 0) throw std::runtime_error("no intersection");
                        ++kept[size_t(i)];
                    });
            };
        };
        md_query_functions2::RunItems(
            r, 6, work,
            [&](int i) {
                if (kept[size_t(i)]) r.result.add(engine::Shape(), kept[size_t(i)]);
            },
            [](int) {});
    };
    Recorded feedback;
    const std::atomic<bool> cancel{false};
    study->run(query, check("Wind by Power Density", typed("500", "Max")), feedback, cancel);
    ASSERT_NE(study->result(), nullptr);
    EXPECT_EQ(study->result()->piecesLeftOut, 3);
    EXPECT_EQ(study->result()->entries.size(), 4u);
    EXPECT_TRUE(feedback.failures.isEmpty());
    EXPECT_EQ(study->runNotice(query, {}),
              "3 pieces of this query's areas could not be worked out (a geometry the overlay "
              "could not handle) and were left out: the areas found are short by what they hold.");

    // A clean run says nothing.
    study->run(*siting::FindQuery("Wind by Power Density"),
               check("Wind by Power Density", typed("500", "Max")), feedback, cancel);
    EXPECT_EQ(study->result()->piecesLeftOut, 0);
    EXPECT_EQ(study->runNotice(*siting::FindQuery("Wind by Power Density"), {}), "");
}

TEST_F(StudyTest, AQueryIsAvailableOnlyWithTheLayersItNeeds) {
    QString message;
    EXPECT_TRUE(study->isAvailable(*siting::FindQuery("Wind by Power Density"), {}, &message));
    EXPECT_FALSE(study->isAvailable(*siting::FindQuery("Best wind + roads"), {}, &message));
    EXPECT_EQ(message, "This query requires 43_roads.shp shapefile.");
    siting::QueryParameters solar;
    solar.solarResource = siting::SolarResources()[3].description;
    EXPECT_FALSE(
        study->isAvailable(*siting::FindQuery("Best Solar X kWh/m2/day"), solar, &message));
    EXPECT_EQ(message, "This query requires 14_solar_glo.shp shapefile.");
    // Another query's solar resource is no concern of a wind query.
    EXPECT_TRUE(study->isAvailable(*siting::FindQuery("Wind by Power Density"), solar, &message));
    EXPECT_THROW(study->layer("43_roads.shp"), std::out_of_range);
    EXPECT_EQ(study->layer("20_WIND.SHP")->tag, "20_wind.shp");
}

TEST_F(StudyTest, InputIsCheckedInPanelOrderAndTyped) {
    siting::ParameterInput all = typed("500", "800", "3");
    all.transmissionKm = "30";
    all.removeProtected = true;
    EXPECT_EQ(fault("Best wind (all)", all, Parameter::TransmissionKm),
              "Proximity to transmission must be >=0.001 and <= 25km.");
    all.transmissionKm = "1.5";
    EXPECT_EQ(fault("Best wind (all)", all), "Please select a land use.");
    all.roadsKm = "x";
    EXPECT_EQ(fault("Best wind (all)", all, Parameter::RoadsKm),
              "Please enter a number for proximity value.");
    all.roadsKm = "3";
    all.landUses = {"FOREST", "GRASSLAND"};
    const siting::QueryParameters p = check("Best wind (all)", all);
    EXPECT_EQ(p.roadsKm, 3.0f);
    EXPECT_EQ(p.transmissionKm, 1.5f);
    EXPECT_EQ(p.landUses, all.landUses);
    EXPECT_TRUE(p.removeProtected);

    // A single distance: its own message, and the focus stays where it is.
    EXPECT_EQ(fault("Best wind + roads", typed("500", "800", "26")),
              "Proximity value must be >=0.001 and <= 25km.");
    EXPECT_EQ(fault("Wind by Power Density", typed("800", "500")),
              "Max. Wind Power Density should be > Min. Wind Power Density");
    EXPECT_EQ(fault("Best Solar X kWh/m2/day", typed("4", "Max")),
              "Please enter a numeric value for Max. Solar Resourcey");
    // The base map takes nothing and passes whatever is typed.
    check("No Query (Base Map)", typed("abc"));
}

}  // namespace
