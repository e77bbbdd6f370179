// The "Query Results" window and "Save Result".
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include "tests/query/query_fixture.h"
#include "tests/support/window_checks.h"

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

    static QString cell(const frmShowQueryData& table, int row, int column) {
        const QTableWidgetItem* item = table.tblResults->item(row, column);
        return item ? item->text() : QStringLiteral("<none>");
    }

    // The class colour shown at the first pixel inside the swatch's border of a row.
    static QColor swatchPixel(const frmShowQueryData& table, int row, int inset) {
        const QIcon icon = table.tblResults->item(row, frmShowQueryData::ClassColumn)->icon();
        return icon.pixmap(table.tblResults->iconSize()).toImage().pixelColor(inset, inset);
    }

    // Wind by power density over cells of 550, 550, 650, 150, 850, 850 and 850 W/m2: four
    // classes of 2, 1, 1 and 3 km2 in that order of first occurrence.
    void runFourClasses() {
        Layers l;
        l.windValues = {550, 550, 650, 150, 850, 850, 850};
        openDataset(l);
        choose("Wind by Power Density");
        setRange("100", "Max");
        updateMap();
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
    const QAbstractItemModel& model = *table.tblResults->model();
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Class");
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Area (km²)");
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), "Share of total (%)");
    // Forest first: W0 (550), half of W1 (650); then farmer's land: the other half of W1,
    // W2 (150), W3 (850).
    ASSERT_EQ(table.tblResults->rowCount(), 4);
    EXPECT_EQ(cell(table, 0, 1), "1.00");
    EXPECT_EQ(cell(table, 0, 2), "25.0");
    EXPECT_EQ(cell(table, 0, 0), "Wind Power Density >= 500 and < 600");
    EXPECT_EQ(swatchPixel(table, 0, 3), QColor(154, 50, 205));
    EXPECT_EQ(cell(table, 1, 1), "1.00");
    EXPECT_EQ(cell(table, 1, 0), "Wind Power Density >= 600 and < 800");
    EXPECT_EQ(cell(table, 2, 1), "1.00");
    EXPECT_EQ(cell(table, 2, 0), "Wind Power Density < 200");
    EXPECT_EQ(swatchPixel(table, 2, 3), QColor(230, 230, 230));
    EXPECT_EQ(cell(table, 3, 0), "Wind Power Density >= 800");
    EXPECT_EQ(table.lblTotal->text(), "Total: 4.00 km²");

    // Another query chosen afterwards describes the old areas by its own rules.
    choose("No Query (Base Map)");
    table.close();
    openTable();
    EXPECT_EQ(cell(table, 0, 0), "");
    EXPECT_EQ(cell(table, 0, 1), "1.00");

    table.close();
    EXPECT_EQ(table.tblResults->rowCount(), 0);
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
    ASSERT_EQ(entries().size(), 16u);
    frmShowQueryData& table = openTable();
    EXPECT_EQ(dialogs->texts(), QStringList{"Form will not be able to show all values"});
    EXPECT_EQ(table.tblResults->rowCount(), 14);
    EXPECT_EQ(cell(table, 0, 0), "Solar Resource < 2.0");
    EXPECT_EQ(cell(table, 1, 0), "Solar Resource >= 2.0 < 2.5");
    EXPECT_EQ(cell(table, 13, 0), "Solar Resource >= 8.0 < 8.5");
    // Solar swatches have a border two pixels wide.
    EXPECT_EQ(swatchPixel(table, 0, 1), QColor(Qt::black));
    EXPECT_EQ(swatchPixel(table, 0, 2), QColor(122, 97, 50));
    // Shares are of every result area, also of the two classes beyond the last row.
    EXPECT_EQ(cell(table, 0, 2), QLocale().toString(100.0 / 16, 'f', 1));
    EXPECT_EQ(table.lblTotal->text(), "Total: 16.00 km²");
}

TEST_F(ResultsTest, SortsByClassAreaOrShareAndKeepsTheOrderWhenFilledAgain) {
    runFourClasses();
    frmShowQueryData& table = openTable();
    const auto column = [&](int c) {
        QStringList texts;
        for (int r = 0; r < table.tblResults->rowCount(); ++r) texts << cell(table, r, c);
        return texts;
    };
    EXPECT_EQ(column(1), QStringList({"2.00", "1.00", "1.00", "3.00"}));
    EXPECT_EQ(swatchPixel(table, 0, 1), QColor(154, 50, 205));  // wind swatches: a thin border

    // A click on a heading sorts by that column: by number, not by text.
    QHeaderView& header = *table.tblResults->horizontalHeader();
    QTest::mouseClick(header.viewport(), Qt::LeftButton, {},
                      QPoint(header.sectionViewportPosition(1) + 5, header.height() / 2));
    const bool ascending = header.sortIndicatorOrder() == Qt::AscendingOrder;
    EXPECT_EQ(column(1), ascending ? QStringList({"1.00", "1.00", "2.00", "3.00"})
                                   : QStringList({"3.00", "2.00", "1.00", "1.00"}));
    // Classes sort by their values, lowest first.
    table.tblResults->sortItems(frmShowQueryData::ClassColumn, Qt::AscendingOrder);
    EXPECT_EQ(column(0),
              QStringList({"Wind Power Density < 200", "Wind Power Density >= 500 and < 600",
                           "Wind Power Density >= 600 and < 800", "Wind Power Density >= 800"}));
    table.tblResults->sortItems(frmShowQueryData::ShareColumn, Qt::DescendingOrder);
    EXPECT_EQ(column(2), QStringList({"42.9", "28.6", "14.3", "14.3"}));
    // The chosen order holds when the window is filled again.
    table.close();
    openTable();
    EXPECT_EQ(column(2), QStringList({"42.9", "28.6", "14.3", "14.3"}));
}

TEST_F(ResultsTest, CopyAndExportCsvGiveTheRowsAsShown) {
    runFourClasses();
    frmShowQueryData& table = openTable();
    table.tblResults->sortItems(frmShowQueryData::AreaColumn, Qt::DescendingOrder);
    // The copy key in the table copies all of it, as Copy does.
    QApplication::clipboard()->clear();
    QTest::keyClick(table.tblResults, Qt::Key_C, Qt::ControlModifier);
    const QString copiedByKey = QApplication::clipboard()->text();
    table.cmdCopy->click();
    EXPECT_EQ(copiedByKey, QApplication::clipboard()->text());
    EXPECT_EQ(QApplication::clipboard()->text(),
              "Class\tColor\tArea (km²)\tShare of total (%)\n"
              "Wind Power Density >= 800\t#0000ff\t3.00\t42.9\n"
              "Wind Power Density >= 500 and < 600\t#9a32cd\t2.00\t28.6\n"
              "Wind Power Density >= 600 and < 800\t#ff0000\t1.00\t14.3\n"
              "Wind Power Density < 200\t#e6e6e6\t1.00\t14.3\n");

    // Export: the name is asked through the save dialog; numbers any program reads.
    EXPECT_EQ(table.cmdExportCsv->text(), "Export CSV...");
    const QString path = tmp.filePath("classes.csv");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4000, 'x'));  // a longer file before: nothing of it stays
    old.close();
    dialogs->saveFiles << path;
    table.cmdExportCsv->click();
    EXPECT_EQ(dialogs->fileDialogTitles, QStringList{"Export CSV"});
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(written.readAll()),
              "Class,Color,Area (km²),Share of total (%)\r\n"
              "Wind Power Density >= 800,#0000ff,3.00,42.9\r\n"
              "Wind Power Density >= 500 and < 600,#9a32cd,2.00,28.6\r\n"
              "Wind Power Density >= 600 and < 800,#ff0000,1.00,14.3\r\n"
              "Wind Power Density < 200,#e6e6e6,1.00,14.3\r\n");
    EXPECT_TRUE(dialogs->shown.isEmpty());

    // A file that cannot be written is reported; a cancelled dialog writes nothing.
    const QString nowhere = tmp.filePath("no-such-folder/classes.csv");
    dialogs->saveFiles << nowhere;
    table.cmdExportCsv->click();
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_TRUE(dialogs->shown[0].text.startsWith("The table could not be written to " +
                                                  QDir::toNativeSeparators(nowhere) + ": "));
    EXPECT_EQ(dialogs->shown[0].icon, feedback::iconWarning);
    table.cmdExportCsv->click();
    EXPECT_EQ(dialogs->shown.size(), 1);
}

// The sample dataset after a wind query; Escape closes the window.
TEST_F(ResultsTest, ResultsTableOverlapOnTheSampleAtBothFontSizes) {
    md_functions::LoadProject("20_wind.shp", testsupport::sampleDatasetFile(), *form->Map1,
                              *form->legend);
    choose("Wind by Power Density");
    updateMap();
    ASSERT_TRUE(form->cmdShowData->isVisible());
    frmShowQueryData& table = openTable();
    EXPECT_GE(table.tblResults->rowCount(), 2);
    EXPECT_EQ(testsupport::problemsAtBothFontSizes(table), "");
    // No heading or cell is cut short, also at the larger font.
    const testsupport::ScopedFontScale larger(1.5);
    QCoreApplication::processEvents();
    const QHeaderView& header = *table.tblResults->horizontalHeader();
    for (int c = 0; c < 3; ++c) {
        EXPECT_GE(header.sectionSize(c), header.sectionSizeHint(c)) << c;
        EXPECT_GE(header.sectionSize(c),
                  static_cast<const QAbstractItemView*>(table.tblResults)->sizeHintForColumn(c))
            << c;
    }
    QTest::keyClick(table.tblResults, Qt::Key_Escape);
    EXPECT_FALSE(table.isVisible());
    EXPECT_EQ(table.tblResults->rowCount(), 0);
}

}  // namespace
}  // namespace querytest
