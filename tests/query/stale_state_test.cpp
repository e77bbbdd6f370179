// What one query or one dataset leaves behind must not reach the next: the solar resource chosen
// for the solar query, and the result, its table, its commands and its messages once another
// dataset is opened or fails to open.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStatusBar>

#include "tests/query/query_fixture.h"

namespace querytest {
namespace {

const QString kSolarGlobal40km =
    QStringLiteral("40 km Solar Global Horizontal Annual Average(KWH/M2/DAY)");

class StaleStateTest : public QueryTest {
  protected:
    // A wind result with its table shown and saved, as a user leaves it.
    void leaveAResult() {
        openDataset();
        choose("Wind by Power Density");
        setRange("500", "Max");
        updateMap();
        ASSERT_TRUE(form->cmdShowData->isVisible());
        form->cmdShowData->click();
        ASSERT_NE(table(), nullptr);
        ASSERT_TRUE(table()->isVisible());
        dialogs->saveFiles << tmp.filePath("saved.shp");
        form->mnuSave->trigger();
        ASSERT_TRUE(form->statusBar()->currentMessage().startsWith("3 features saved to "));
        ASSERT_TRUE(form->mnuSave->isEnabled());
    }

    frmShowQueryData* table() const {
        return form->findChild<frmShowQueryData*>(QString(), Qt::FindDirectChildrenOnly);
    }

    void openByMenu(const QString& file) {
        dialogs->openFiles << file;
        form->mnuOpen->trigger();
    }

    void expectNothingLeft() {
        EXPECT_EQ(study().result(), nullptr);
        EXPECT_TRUE(study().criteria().query.isEmpty());
        EXPECT_TRUE(form->cmdShowData->isHidden());
        EXPECT_FALSE(table()->isVisible());
        EXPECT_FALSE(form->mnuSave->isEnabled());
        EXPECT_EQ(form->statusBar()->currentMessage(), "");
        EXPECT_EQ(form->lblWorking->text(), "");
    }
};

TEST_F(StaleStateTest, ASolarResourceWithoutItsLayerHoldsUpOnlyTheSolarQuery) {
    // With a 16_solar_tilt layer the 40 km global resource is listed, but its file is missing.
    const QString dir = writeDataset();
    writePolygons(dir, "16_solar_tilt", "ANNTILT", {{box(0, 3, 1, 4), 4.0}});
    open(dir);
    choose("Best Solar X kWh/m2/day");
    ASSERT_TRUE(query::chooseSolarResource(*form, kSolarGlobal40km));
    updateMap();
    EXPECT_EQ(form->lblWorking->text(), "This query requires 15_solar_glo.shp shapefile.");
    EXPECT_EQ(study().result(), nullptr);

    for (const char* query : {"Wind by Power Density", "Best wind + land use"}) {
        SCOPED_TRACE(query);
        choose(query);
        setRange("500", "Max");
        if (QString(query) == "Best wind + land use") selectLandUse("FARMER'S LAND");
        updateMap();
        EXPECT_EQ(form->lblWorking->text().contains("requires"), false);
        ASSERT_NE(study().result(), nullptr);
        EXPECT_FALSE(entries().empty());
        EXPECT_EQ(study().criteria().query, query);
    }
}

TEST_F(StaleStateTest, OpeningAnotherDatasetLeavesNothingOfTheLastResult) {
    leaveAResult();
    // A red message about a missing layer as well.
    choose("Best Solar X kWh/m2/day");
    ASSERT_TRUE(
        query::chooseSolarResource(*form, "40 km Solar Concentrators Annual Average(KWH/M2/DAY)"));
    ASSERT_EQ(form->lblWorking->text(), "This query requires 11_solar_direct.shp shapefile.");

    const QString other = tmp.filePath("other");
    writeWind(other, {300, 700});
    openByMenu(other + "/20_wind.shp");
    ASSERT_EQ(form->Map1->layerCount(), 1);
    expectNothingLeft();
}

TEST_F(StaleStateTest, AFolderThatFailsToOpenTakesTheResultCommandsAway) {
    leaveAResult();
    const QString bad = tmp.filePath("bad");
    ASSERT_TRUE(QDir().mkpath(bad));
    QFile damaged(bad + "/20_wind.shp");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a shapefile");
    damaged.close();
    openByMenu(damaged.fileName());
    ASSERT_EQ(form->Map1->layerCount(), 0);
    expectNothingLeft();
}

}  // namespace
}  // namespace querytest
