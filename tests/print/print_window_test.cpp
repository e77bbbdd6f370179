// The print window: its copies of the main map, the legend maps, the scale bar and the legend
// images, on real shapefiles.

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

#include "dataset/dataset_loading.h"
#include "shell/dataset_opening.h"
#include "mapview/legend.h"
#include "mapview/map.h"
#include "print/attach.h"
#include "print/frmPrint.h"
#include "print/legend_images.h"
#include "print/page_layout.h"
#include "print/scale_bar_view.h"
#include "feedback/dialog_service.h"
#include "shell/frmMain.h"
#include "siting/study.h"
#include "tests/print/print_fixture.h"
#include "tests/support/window_checks.h"

using namespace testdata;

namespace {

QStringList tags(const engine::Map& map) {
    QStringList t;
    for (int i = 0; i < map.layerCount(); ++i) t << map.layer(i)->tag;
    return t;
}

const char* kDegreesWkt =
    R"(GEOGCS["GCS_WGS_1984",DATUM["D_WGS_1984",SPHEROID["WGS_1984",6378137.0,298.257223563]],)"
    R"(PRIMEM["Greenwich",0.0],UNIT["Degree",0.0174532925199433]])";
const char* kFeetWkt =
    R"(PROJCS["Custom_Feet",GEOGCS["GCS_WGS_1984",DATUM["D_WGS_1984",)"
    R"(SPHEROID["WGS_1984",6378137.0,298.257223563]],PRIMEM["Greenwich",0.0],)"
    R"(UNIT["Degree",0.0174532925199433]],PROJECTION["Transverse_Mercator"],)"
    R"(PARAMETER["False_Easting",0.0],PARAMETER["False_Northing",0.0],)"
    R"(PARAMETER["Central_Meridian",0.0],PARAMETER["Scale_Factor",0.9996],)"
    R"(PARAMETER["Latitude_Of_Origin",0.0],UNIT["Foot_US",0.3048006096012192]])";

}  // namespace

TEST_F(PrintFixture, PrintMapCopiesEveryLayerWithVisibilityAndExtent) {
    writeRegion(dir.path());
    open();
    main->Map1->layer(md_functions::LayerIndexByFile("20_wind.shp"))->visible = true;
    main->Map1->setExtent(engine::Rectangle(500, 500, 2500, 1500));
    frmPrint* window = openPrintWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Print Map");
    EXPECT_EQ(window->cmdPrint->text(), "Print...");
    EXPECT_EQ(window->Command2->text(), "Cancel");

    const engine::Map& main1 = *main->Map1;
    ASSERT_EQ(tags(*window->Map2), tags(main1));
    for (int i = 0; i < main1.layerCount(); ++i) {
        SCOPED_TRACE(main1.layer(i)->tag.toStdString());
        EXPECT_EQ(window->Map2->layer(i)->visible, main1.layer(i)->visible);
        EXPECT_EQ(window->Map2->layer(i)->name, main1.layer(i)->name);
    }
    // Same centre; the print map's shape may widen the extent, never narrow it.
    const engine::Rectangle e2 = window->Map2->extent(), e1 = main1.extent();
    EXPECT_NEAR(e2.center().x, e1.center().x, 1e-6 * e1.width());
    EXPECT_NEAR(e2.center().y, e1.center().y, 1e-6 * e1.width());
    EXPECT_GE(e2.width(), e1.width() * (1 - 1e-9));
    EXPECT_GE(e2.height(), e1.height() * (1 - 1e-9));
    EXPECT_TRUE(dialogs->shown.isEmpty()) << dialogs->texts().join('|').toStdString();

    // The print map is a copy: switching a layer there leaves the main map alone.
    window->Map2->layer(0)->visible = !main1.layer(0)->visible;
    EXPECT_NE(window->Map2->layer(0)->visible, main1.layer(0)->visible);

    // Print again while the window is open: the same window comes forward.
    main->mnuPrint->trigger();
    EXPECT_EQ(main->findChildren<frmPrint*>().size(), 1);
}

TEST_F(PrintFixture, LegendMapsFollowThePlacementTableAndTheResourceRule) {
    writeRegion(dir.path());
    open();
    frmPrint* window = openPrintWindow();
    ASSERT_NE(window, nullptr);

    EXPECT_EQ(tags(*window->Map5), QStringList({"02_landuse.shp", "01_elevation.shp"}));
    // The first solar layer in copying order (from the bottom of the main map) and the wind
    // layer; the second solar grid and the unnamed wind file are in no legend.
    EXPECT_EQ(tags(*window->Map6), QStringList({"20_wind.shp", "11_solar_direct.shp"}));
    EXPECT_EQ(tags(*window->Map3),
              QStringList({"59_cities.shp", "43_roads.shp", "39_countryboundary.shp"}));
    EXPECT_EQ(window->Map6->layer(1)->name, "ANNUAL AVERAGE SOLAR RESOURCES (KWH/M2/DAY)");
    EXPECT_EQ(window->Map6->layer(0)->name, "Wind Power Density (W/m2)");
    EXPECT_TRUE(tags(*window->Map2).contains("21_wind.shp"));
    EXPECT_TRUE(tags(*window->Map2).contains("14_solar_glo.shp"));

    // Every legend copy is shown as its own layer is on the main map.
    for (const engine::Map* m : {window->Map3, window->Map5, window->Map6})
        for (int i = 0; i < m->layerCount(); ++i)
            EXPECT_EQ(m->layer(i)->visible,
                      main->Map1->layer(md_functions::LayerIndexByFile(m->layer(i)->tag))->visible)
                << m->layer(i)->tag.toStdString();

    EXPECT_EQ(window->legend1->mapSource(), window->Map3);
    EXPECT_EQ(window->legend3->mapSource(), window->Map5);
    EXPECT_EQ(window->legend4->mapSource(), window->Map6);
    EXPECT_EQ(window->legend1->entryCount(), 3);
    EXPECT_TRUE(dialogs->shown.isEmpty()) << dialogs->texts().join('|').toStdString();
}

// A printed legend lists only what the page shows: a layer hidden on the main map is in no
// legend image, whichever layer comes first.
TEST_F(PrintFixture, HiddenLayersAreLeftOutOfThePrintedLegends) {
    writeRegion(dir.path());
    open();
    const int solar = md_functions::LayerIndexByFile("11_solar_direct.shp");
    const int wind = md_functions::LayerIndexByFile("20_wind.shp");
    main->Map1->layer(solar)->visible = false;
    main->Map1->layer(wind)->visible = true;
    main->Map1->layer(0)->visible = false;  // the first layer no longer decides
    frmPrint* window = openPrintWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(tags(*window->Map6), QStringList({"20_wind.shp", "11_solar_direct.shp"}));
    EXPECT_TRUE(window->Map6->layer(0)->visible);
    EXPECT_FALSE(window->Map6->layer(1)->visible);
    EXPECT_FALSE(window->legend4->entryRect(0).isEmpty());
    EXPECT_TRUE(window->legend4->entryRect(1).isEmpty()) << "the hidden solar layer is listed";
    // The image holds the wind entry's heading and its seven classes, and nothing more.
    const QImage image = window->legend4->toImage();
    EXPECT_LT(image.height(), 10 * window->legend4->entryRect(0).height());
}

TEST_F(PrintFixture, LegendImagesAreWrittenBesideTheProgramAndShown) {
    writeRegion(dir.path());
    open();
    frmPrint* window = openPrintWindow();
    ASSERT_NE(window, nullptr);
    const QDir programDir(QCoreApplication::applicationDirPath());
    EXPECT_EQ(window->legendImagePath(1), programDir.filePath("LegendBmp1.bmp"));
    EXPECT_EQ(window->legendImagePath(3), programDir.filePath("LegendBmp3.bmp"));
    EXPECT_EQ(window->legendImagePath(4), programDir.filePath("LegendBmp4.bmp"));
    for (int n : {1, 3, 4}) EXPECT_FALSE(QImage(window->legendImagePath(n)).isNull()) << n;
    EXPECT_FALSE(window->Picture1->pixmap().isNull());
    EXPECT_FALSE(window->Picture3->pixmap().isNull());
    EXPECT_FALSE(window->Picture4->pixmap().isNull());
}

TEST(LegendImages, GoToTheCacheDirectoryWhenTheProgramDirectoryCannotBeWritten) {
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    // A file where the directory should be: nothing can be written inside it, even as root.
    const QString notADirectory = dir.filePath("program");
    QFile file(notADirectory);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    engine::Map map;
    engine::Legend legend;
    legend.setMapSource(&map);
    legend.loadLegend(true);
    const QString path = print::saveLegendImage(legend, "LegendBmp1.bmp", notADirectory);
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    EXPECT_EQ(path, QDir(cache).filePath("LegendBmp1.bmp"));
    EXPECT_TRUE(QFile::exists(path));
    QFile::remove(path);
    QStandardPaths::setTestModeEnabled(false);
}

TEST_F(PrintFixture, ScaleBarMeasuresThePrintMapInTheUnitsOfTheFirstLayer) {
    const struct {
        const char* wkt;
        int units;
    } cases[] = {{kDegreesWkt, 0}, {kFeetWkt, 1}, {nullptr, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.units);
        QTemporaryDir data;
        std::optional<engine::CoordinateSystem> crs;
        if (c.wkt) crs = engine::CoordinateSystem::fromWkt(QString::fromLatin1(c.wkt));
        writeLayer(data.path(), "43_roads.shp", engine::moShapeTypeLine, {text("NAME")},
                   {{engine::Shape::lineString({{1, 1}, {2, 2}}), {"A"}}}, crs);
        newMainWindow();
        openDirectory(data.path());
        frmPrint* window = openPrintWindow();
        ASSERT_NE(window, nullptr);
        const engine::ScaleBar& bar = window->sbMapView->bar;
        EXPECT_EQ(bar.mapUnits, c.units);
        EXPECT_EQ(bar.mapExtent, window->Map2->extent());
        EXPECT_EQ(bar.pageExtent, QRectF(window->Map2->geometry()));
        EXPECT_EQ(bar.font.family(), "Arial Narrow");
        EXPECT_EQ(bar.font.pointSize(), 8);
        EXPECT_EQ(bar.scaleBarUnits, 3);
        EXPECT_EQ(bar.barColor2, QColor(192, 192, 255));
    }
    EXPECT_EQ(print::mapUnitsOf(engine::Map()), 2);  // no layer
}

TEST_F(PrintFixture, PrintEntryDoesNothingWithoutLayers) {
    main->mnuPrint->trigger();
    EXPECT_TRUE(main->findChildren<frmPrint*>().isEmpty());
}

TEST_F(PrintFixture, CancelClosesTheWindow) {
    writeRegion(dir.path());
    open();
    frmPrint* window = openPrintWindow();
    ASSERT_NE(window, nullptr);
    QTest::mouseClick(window->Command2, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(main->findChildren<frmPrint*>().isEmpty());
}

// On the sample dataset after a query: the window reads well at both font sizes, its heading
// field is labelled, the print map keeps the shape it has on the page, and Escape closes it.
TEST_F(PrintFixture, PrintWindowOverlapOnTheSampleAfterAQueryAtBothFontSizes) {
    md_functions::LoadProject("20_wind.shp", testsupport::sampleDatasetFile(), *main->Map1,
                              *main->legend);
    ASSERT_TRUE(query::chooseQuery(*main, "Wind by Power Density"));
    main->cmdUpdateMap->click();
    ASSERT_TRUE(siting::Study::of(*main)->hasAreas());
    frmPrint* window = openPrintWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(testsupport::problemsAtBothFontSizes(*window), "");

    const auto labels = window->findChildren<QLabel*>();
    const auto heading = std::find_if(labels.begin(), labels.end(), [&](QLabel* l) {
        return l->buddy() == static_cast<QWidget*>(window->txtHeading);
    });
    ASSERT_NE(heading, labels.end());
    EXPECT_EQ((*heading)->text(), "&Heading:");
    EXPECT_TRUE((*heading)->isVisible());

    // Larger, the window gives the print map the room, in the shape of the map on the page.
    const QSize before = window->Map2->size();
    window->resize(window->width() + 300, window->height() + 300);
    QCoreApplication::processEvents();
    EXPECT_GT(window->Map2->width(), before.width());
    EXPECT_NEAR(double(window->Map2->width()) / window->Map2->height(),
                print::kFrameRect.width() / print::kFrameRect.height(), 0.02);

    QTest::keyClick(window->txtHeading, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(main->findChildren<frmPrint*>().isEmpty());
}

TEST(ConvTwips2Pix, ConvertsByAxisAtTheDeviceResolution) {
    QImage device(10, 10, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(300 / 0.0254));  // 300 dpi across
    device.setDotsPerMeterY(qRound(96 / 0.0254));
    EXPECT_EQ(frmPrint::ConvTwips2Pix(device, 1440, 0), 300);
    EXPECT_EQ(frmPrint::ConvTwips2Pix(device, 1440, 1), 96);
    EXPECT_EQ(frmPrint::ConvTwips2Pix(device, 1440, 2), -1);
}
