// The "Query Results" window.
#include <QFrame>
#include <QLabel>

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

}  // namespace
}  // namespace querytest
