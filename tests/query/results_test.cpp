// The "Query Results" window and "Save Result".
#include <QFile>
#include <QFrame>
#include <QLabel>

#include "engine/geo_dataset.h"
#include "query/save_result.h"
#include "tests/query/query_fixture.h"

namespace querytest {
namespace {

class ResultsTest : public QueryTest {
protected:
    frmShowQueryData& openTable() {
        form->cmdShowData->click();
        frmShowQueryData& table = frmShowQueryData::of(*form);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&table));
        return table;
    }

    // Results of n cells of 550 W/m2.
    void runCells(int n) {
        Layers l;
        l.windValues.assign(n, 550);
        openDataset(l);
        choose("Wind by Power Density");
        updateMap();
        ASSERT_EQ(int(state().cShapes.size()), n);
    }
};

TEST_F(ResultsTest, RowsSumAreasByClassInOrderOfFirstOccurrence) {
    openDataset();
    choose("Best wind + land use");
    selectLandUse("FOREST");
    selectLandUse("FARMER'S LAND");
    setRange("100", "Max");
    updateMap();
    frmShowQueryData& table = openTable();
    EXPECT_EQ(table.windowTitle(), "Query Results");
    // Forest first: W0 (550), half of W1 (650); then farmer's land: the other half of W1,
    // W2 (150), W3 (850).
    EXPECT_EQ(table.lblArea[0]->text(), "1.00 sq km");
    EXPECT_EQ(table.lblDescription[0]->text(), "Wind Power Density >= 500 and < 600");
    EXPECT_EQ(table.lblArea[1]->text(), "1.00 sq km");
    EXPECT_EQ(table.lblDescription[1]->text(), "Wind Power Density >= 600 and < 800");
    EXPECT_EQ(table.lblArea[2]->text(), "1.00 sq km");
    EXPECT_EQ(table.lblDescription[2]->text(), "Wind Power Density < 200");
    EXPECT_EQ(table.lblDescription[3]->text(), "Wind Power Density >= 800");
    EXPECT_FALSE(table.shpLayerColor[3]->isHidden());
    EXPECT_TRUE(table.shpLayerColor[4]->isHidden());

    // Another query chosen afterwards describes the old areas by its own rules.
    choose("No Query (Base Map)");
    table.close();
    openTable();
    EXPECT_EQ(table.lblDescription[0]->text(), "");
    EXPECT_EQ(table.lblArea[0]->text(), "1.00 sq km");

    table.close();
    EXPECT_TRUE(table.lblArea[0]->isHidden());
}

TEST_F(ResultsTest, MoreClassesThanRowsShowTheFirstFourteenAfterOneMessage) {
    const QString dir = tmp.filePath("data");
    writeWind(dir, {550});
    std::vector<std::pair<engine::Shape, QVariant>> cells;
    for (int i = 0; i < 16; ++i) cells.push_back({box(i * 2, 3, i * 2 + 1, 4), 1.5 + 0.5 * i});
    writePolygons(dir, "14_solar_glo", "ANNGLO", cells);
    open(dir);
    choose("Best Solar X kWh/m2/day");
    ASSERT_TRUE(query::chooseSolarResource(*form, kSolarGlobal10km));
    setRange("0", "10");
    updateMap();
    ASSERT_EQ(state().cShapes.size(), 16u);
    frmShowQueryData& table = openTable();
    EXPECT_EQ(dialogs->texts(), QStringList{"Form will not be able to show all values"});
    EXPECT_FALSE(table.lblArea[13]->isHidden());
    EXPECT_EQ(table.lblDescription[0]->text(), "Solar Resource < 2.0");
    EXPECT_EQ(table.lblDescription[1]->text(), "Solar Resource >= 2.0 < 2.5");
    EXPECT_EQ(table.lblDescription[13]->text(), "Solar Resource >= 8.0 < 8.5");
    EXPECT_TRUE(table.shpLayerColor[0]->styleSheet().contains("2px"));
}

TEST_F(ResultsTest, SaveRoundTripThroughGdal) {
    runCells(50);
    const QString out = tmp.filePath("out/result.shp");
    QDir().mkpath(tmp.filePath("out"));
    dialogs->saveFiles << out;
    form->mnuSave->trigger();
    EXPECT_TRUE(dialogs->shown.isEmpty());  // 50 results: no question
    EXPECT_EQ(dialogs->fileDialogTitles, QStringList{"Save Layer"});
    const auto saved = engine::GeoDataset::open(out);
    ASSERT_EQ(saved->recordCount(), 50);
    EXPECT_EQ(saved->fieldNames(), QStringList{"WINDPWRD"});
    EXPECT_EQ(saved->shapeType(), engine::moShapeTypePolygon);
    EXPECT_DOUBLE_EQ(saved->value(7, 0).toDouble(), 550);
    EXPECT_NEAR(saved->shape(7).area(), 1e6, 1e-3);
    ASSERT_TRUE(saved->coordinateSystem());
    EXPECT_TRUE(saved->coordinateSystem()->isProjected);
}

TEST_F(ResultsTest, FiftyOneResultsAskFirstAndNoWritesNothing) {
    runCells(51);
    const QString out = tmp.filePath("result.shp");
    dialogs->saveFiles << out;
    dialogs->answers << shell::answerNo;
    form->mnuSave->trigger();
    EXPECT_EQ(dialogs->texts(),
              QStringList{"It may take few minutes to save 51 features. Do you want to continue? "});
    EXPECT_TRUE(dialogs->fileDialogTitles.isEmpty());
    EXPECT_FALSE(QFile::exists(out));
    form->mnuSave->trigger();  // Yes
    EXPECT_EQ(engine::GeoDataset::open(out)->recordCount(), 51);
}

TEST_F(ResultsTest, FailedSaveIsReportedAndKeepsTheExistingFile) {
    runCells(3);
    const QString out = tmp.filePath("result.shp");
    dialogs->saveFiles << out;
    form->mnuSave->trigger();
    ASSERT_EQ(engine::GeoDataset::open(out)->recordCount(), 3);

    // A line among the results cannot go into a polygon file: the save fails part-way.
    md_query_functions2::queryState().cShapes.push_back(line(0, 0, 1, 1));
    md_query_functions2::queryState().cSymbols.emplace_back();
    md_query_functions2::queryState().cValues.push_back(1);
    dialogs->saveFiles << out;
    form->mnuSave->trigger();
    EXPECT_EQ(dialogs->texts(),
              QStringList{" Error Source:md_query_functions2.SaveTrackingLayer()"});
    EXPECT_EQ(dialogs->shown.last().icon, shell::iconWarning);
    EXPECT_EQ(engine::GeoDataset::open(out)->recordCount(), 3);

    // A directory that does not exist is reported too.
    dialogs->saveFiles << tmp.filePath("missing/dir/result.shp");
    form->mnuSave->trigger();
    EXPECT_EQ(dialogs->texts().size(), 2);
}

TEST_F(ResultsTest, NothingToSaveDoesNothing) {
    openDataset();
    form->mnuSave->trigger();
    EXPECT_TRUE(dialogs->fileDialogTitles.isEmpty());
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

}  // namespace
}  // namespace querytest
