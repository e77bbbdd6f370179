// The point report, driven through the main window's Info tool on real shapefiles.

#include <gtest/gtest.h>

#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include "dataset/dataset_loading.h"
#include "shell/dataset_opening.h"
#include "info/attach.h"
#include "info/frmInfo.h"
#include "feedback/dialog_service.h"
#include "shell/frmMain.h"
#include "tests/info/layer_files.h"
#include "tests/support/window_checks.h"

using namespace testdata;
using engine::moShapeTypeLine;
using engine::moShapeTypePoint;
using engine::moShapeTypePolygon;

namespace {

// The report lines, each ended by CR LF.
QString lines(std::initializer_list<QString> all) {
    QString text;
    for (const QString& l : all) text += l + QStringLiteral("\r\n");
    return text;
}

void writeElevation(const QString& dir) {
    writeLayer(dir, "01_elevation.shp", moShapeTypePolygon, {whole("Elev_m")},
               {{square(0, 0, 2000), {1234}}});
}

void writeSolarGlo(const QString& dir) {
    engine::TableDesc table{whole("Cell_ID"), whole("Gridcode"), real("Lon"), real("Lat")};
    std::vector<QVariant> values{17, 3, 45.25, 12.5};
    for (const char* m : {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct",
                          "Nov", "Dec", "Ann"}) {
        table.push_back(real(QString::fromLatin1(m) + "glo"));
        values.push_back(5.5);
    }
    writeLayer(dir, "14_solar_glo.shp", moShapeTypePolygon, table,
               {{square(0, 0, 2000), values}});
}

void writeWind(const QString& dir) {
    writeLayer(dir, "20_wind.shp", moShapeTypePolygon, {whole("WINDCLASS"), real("WINDPWRD")},
               {{square(0, 0, 1000), {4, 455.5}},
                {square(1000, 0, 1000), {6, 612.25}},
                {square(0, 1000, 1000), {2, 250}},
                {square(1000, 1000, 1000), {7, 850}}});
}

void writeRoads(const QString& dir) {
    // TYPE before NAME: the plain style keeps only the listed field, as stored.
    writeLayer(dir, "43_roads.shp", moShapeTypeLine, {text("TYPE"), text("NAME")},
               {{engine::Shape::lineString({{-100, 500}, {2100, 500}}), {"paved", "Ring Road"}},
                {engine::Shape::lineString({{-100, 700}, {2100, 700}}), {"track", "Hill Road"}}});
}

}  // namespace

class PointReport : public ::testing::Test {
protected:
    QTemporaryDir dir;
    feedback::ScopedScriptedDialogs dialogs;
    std::unique_ptr<frmMain> main;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        main = std::make_unique<frmMain>();
        info::attach(*main);
        main->Form_Load();
        // A map taller than wide, so a view keeps the width it is given, and large enough that
        // a click lands within a few map units of its point.
        main->resize(1000, 1400);
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    }

    void open() {
        const QString first = QDir(dir.path()).entryList({"*.shp"}, QDir::Files, QDir::Name).first();
        md_functions::LoadProject(first, dir.path() + "/" + first, *main->Map1, *main->legend);
        ASSERT_GT(main->Map1->layerCount(), 0);
    }

    engine::MapLayer& layer(const QString& file) {
        return *main->Map1->layer(md_functions::LayerIndexByFile(file));
    }

    // Shows the map from left to right (map units); the height follows the control.
    void viewWidth(double left, double right, double centreY) {
        const double h = right - left;
        main->Map1->setExtent(engine::Rectangle(left, centreY - h / 2, right, centreY + h / 2));
    }

    // A press with the Info tool at the map point; returns the report the window shows.
    QString clickAt(double x, double y) {
        const QPointF px = main->Map1->fromMapPoint({x, y});
        main->optPanZoom[2]->click();
        main->Map1_MouseDown(Qt::LeftButton, 0, px.x(), px.y());
        frmInfo* window = main->findChild<frmInfo*>();
        if (!window) return QStringLiteral("<no window>");
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->txtInfo->toPlainText(),
                  QString(window->reportText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        return window->reportText();
    }
};

TEST_F(PointReport, WindCellCrossedByRoadWithSolarAndElevation) {
    writeElevation(dir.path());
    writeSolarGlo(dir.path());
    writeWind(dir.path());
    writeRoads(dir.path());
    open();
    layer("20_wind.shp").visible = true;
    ASSERT_TRUE(layer("43_roads.shp").visible);    // few roads: shown from the start
    ASSERT_FALSE(layer("14_solar_glo.shp").visible);  // solar and elevation give only the first line
    viewWidth(0, 3000, 1000);

    // Layers are reported in drawing order: the wind grid first, then the roads drawn over it.
    EXPECT_EQ(clickAt(250, 503), lines({"Latitude: 12.5, Longitude: 45.25, Elevation: 1234",
                                        "",
                                        "Wind Power Density (W/m2)",
                                        "WINDCLASS : 4",
                                        "WINDPWRD : 455.5",
                                        "",
                                        "Roads",
                                        "NAME: Ring Road",
                                        ""}));
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

TEST_F(PointReport, PositionLineStartsWithElevationWithoutSolarGridAndVanishesWithoutBoth) {
    writeElevation(dir.path());
    writeWind(dir.path());
    open();
    viewWidth(0, 3000, 1000);
    EXPECT_EQ(clickAt(1500, 500), lines({"Elevation: 1234", ""}));

    // Outside every feature: nothing at all.
    EXPECT_EQ(clickAt(2600, 500), QString());
}

TEST_F(PointReport, EmptyWhereNoShownLayerHasAFeature) {
    writeRoads(dir.path());
    open();
    viewWidth(0, 3000, 1000);
    const QString report = clickAt(1000, 1500);
    EXPECT_EQ(report, QString());
    EXPECT_EQ(main->findChild<frmInfo*>()->txtInfo->toPlainText(), QString());
}

TEST_F(PointReport, ToleranceIsAThreeHundredthOfTheVisibleWidth) {
    writeRoads(dir.path());
    open();
    // 60 map units above the Ring Road, 140 below the Hill Road.
    viewWidth(0, 3000, 1000);  // tolerance 10
    EXPECT_EQ(clickAt(1000, 560), QString());
    viewWidth(-9000, 21000, 1000);  // tolerance 100
    EXPECT_EQ(clickAt(1000, 560), lines({"Roads", "NAME: Ring Road", ""}));
    viewWidth(-39000, 51000, 1000);  // tolerance 300: both roads
    EXPECT_EQ(clickAt(1000, 560),
              lines({"Roads", "NAME: Ring Road", "", "NAME: Hill Road", ""}));
}

TEST_F(PointReport, OrderedStyleListsFieldsInItsOwnOrderUpperCasedOneBlockPerFeature) {
    // TYPE before NAME in the table; the report lists NAME first.
    writeLayer(dir.path(), "31_protectedarea.shp", moShapeTypePolygon,
               {text("Type"), text("Name"), whole("AREA_HA")},
               {{square(0, 0, 1000), {"park", "Forest Park", 12}},
                {square(500, 500, 1000), {"Reserve", "Lake Shore Reserve", 40}}});
    writeLayer(dir.path(), "02_landuse.shp", moShapeTypePolygon, {whole("Code"), text("Land_use")},
               {{square(0, 0, 2000), {3, "Grassland"}}});
    open();
    layer("31_protectedarea.shp").visible = true;
    layer("02_landuse.shp").visible = true;
    viewWidth(0, 3000, 1000);

    EXPECT_EQ(clickAt(750, 750), lines({"Land Use",
                                        "Land_use: Grassland",  // plain: as stored
                                        "",
                                        "Protected Areas",
                                        "NAME : FOREST PARK",
                                        "TYPE : PARK",
                                        "",
                                        "NAME : LAKE SHORE RESERVE",
                                        "TYPE : RESERVE",
                                        ""}));
}

TEST_F(PointReport, HydroGivesItsFirstFeatureOnlyWithUnits) {
    engine::TableDesc table{text("WATERSHED"), real("ANNPOW")};
    std::vector<QVariant> first{"Upper Basin", 120.5}, second{"Lower Basin", 99};
    for (const char* m : {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT",
                          "NOV", "DEC"}) {
        table.push_back(real(QString::fromLatin1(m) + "POW"));
        first.push_back(100);
        second.push_back(90);
    }
    table.push_back(real("BASINAREA"));  // before HEAD200M in the table
    table.push_back(real("HEAD200M"));
    first.push_back(350.75);
    first.push_back(42);
    second.push_back(10);
    second.push_back(5);
    writeLayer(dir.path(), "25_hydro.shp", moShapeTypePoint, table,
               {{engine::Shape::point(1000, 1000), first}, {engine::Shape::point(1001, 1000), second}});
    open();
    layer("25_hydro.shp").visible = true;
    viewWidth(0, 3000, 1000);

    EXPECT_EQ(clickAt(1000, 1000),
              lines({"Hydro Resource (kW)", "WATERSHED : UPPER BASIN", "ANNPOW : 120.5",
                     "JANPOW : 100", "FEBPOW : 100", "MARPOW : 100", "APRPOW : 100",
                     "MAYPOW : 100", "JUNPOW : 100", "JULPOW : 100", "AUGPOW : 100",
                     "SEPPOW : 100", "OCTPOW : 100", "NOVPOW : 100", "DECPOW : 100",
                     "HEAD200M : 42 (m)", "BASINAREA : 350.75 (km^2)", ""}));
}

TEST_F(PointReport, HiddenLayersAndTheCountryBoundaryAreLeftOutUnknownFilesGiveTheirNameOnly) {
    writeWind(dir.path());
    writeLayer(dir.path(), "39_countryboundary.shp", moShapeTypePolygon, {text("NAME")},
               {{square(-5000, -5000, 20000), {"Country"}}});
    writeLayer(dir.path(), "50_protectedarea.shp", moShapeTypePolygon, {text("NAME")},
               {{square(0, 0, 1000), {"Old Fort"}}, {square(100, 100, 500), {"Chapel"}}});
    open();
    ASSERT_TRUE(layer("39_countryboundary.shp").visible);  // shown, yet never reported
    ASSERT_FALSE(layer("20_wind.shp").visible);
    layer("50_protectedarea.shp").visible = true;
    viewWidth(0, 3000, 1000);

    EXPECT_EQ(clickAt(300, 300), lines({"Historic Sites", "", ""}));
}

TEST_F(PointReport, SolarGridUsesTheOrderedStyle) {
    writeSolarGlo(dir.path());
    open();
    layer("14_solar_glo.shp").visible = true;
    viewWidth(0, 3000, 1000);
    const QStringList got = clickAt(500, 500).split(QStringLiteral("\r\n"));
    ASSERT_EQ(got.size(), 22);  // position, empty, name, 17 fields, empty, and after the last CR LF
    EXPECT_EQ(got[0], "Latitude: 12.5, Longitude: 45.25");
    EXPECT_EQ(got[2], "10 km Solar Global Horizontal Annual Average(KWH/M2/DAY)");
    EXPECT_EQ(got[3], "CELL_ID : 17");
    EXPECT_EQ(got[6], "LAT : 12.5");
    EXPECT_EQ(got[7], "JANGLO : 5.5");
    EXPECT_EQ(got[19], "ANNGLO : 5.5");
    EXPECT_EQ(got[20], "");
}

TEST_F(PointReport, ReadOnlyReportWithOkBelowItThatGrowsWithTheWindow) {
    writeRoads(dir.path());
    open();
    viewWidth(0, 3000, 1000);
    const QString report = clickAt(1000, 500);
    frmInfo* window = main->findChild<frmInfo*>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Map Information");
    EXPECT_EQ(window->OKButton->text(), "OK");

    // The report can be read and selected, not typed into.
    EXPECT_TRUE(window->txtInfo->isReadOnly());
    QTest::keyClicks(window->txtInfo, "typed");
    EXPECT_EQ(window->reportText(), report);
    EXPECT_FALSE(window->txtInfo->toPlainText().contains("typed"));

    // OK sits below the report, at the right; the report takes the room a larger window gives.
    const QRect text = window->txtInfo->geometry(), ok = window->OKButton->geometry();
    EXPECT_GT(ok.top(), text.bottom());
    EXPECT_NEAR(ok.right(), text.right(), 2);
    window->resize(window->width() + 200, window->height() + 150);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->txtInfo->width(), text.width() + 200);
    EXPECT_EQ(window->txtInfo->height(), text.height() + 150);
    EXPECT_GT(window->OKButton->y(), window->txtInfo->geometry().bottom());

    QTest::mouseClick(window->OKButton, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->txtInfo->toPlainText(), QString());

    // The next click shows the same window again; Escape answers as OK does.
    clickAt(1000, 500);
    EXPECT_EQ(main->findChildren<frmInfo*>().size(), 1);
    EXPECT_TRUE(window->isVisible());
    QTest::keyClick(window->txtInfo, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->txtInfo->toPlainText(), QString());
}

TEST_F(PointReport, InfoWindowOverlapOnTheSampleAtBothFontSizes) {
    md_functions::LoadProject("20_wind.shp", testsupport::sampleDatasetFile(), *main->Map1,
                              *main->legend);
    main->Map1->setExtent(main->Map1->fullExtent());
    const engine::Rectangle e = main->Map1->extent();
    EXPECT_NE(clickAt(e.center().x, e.center().y), QString());
    frmInfo* window = main->findChild<frmInfo*>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(testsupport::problemsAtBothFontSizes(*window), "");
}

TEST_F(PointReport, ReturningToTheWindowRebuildsTheReportFromTheLastClick) {
    writeRoads(dir.path());
    open();
    viewWidth(0, 3000, 1000);
    EXPECT_EQ(clickAt(1000, 500), lines({"Roads", "NAME: Ring Road", ""}));
    frmInfo* window = main->findChild<frmInfo*>();

    layer("43_roads.shp").visible = false;
    QEvent deactivate(QEvent::WindowDeactivate), activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(window, &deactivate);
    QCoreApplication::sendEvent(window, &activate);
    EXPECT_EQ(window->reportText(), QString());
    EXPECT_EQ(window->txtInfo->toPlainText(), QString());
}

namespace {

const engine::CoordinateSystem kDegrees = engine::CoordinateSystem::fromWkt(
    "GEOGCS[\"WGS 84\",DATUM[\"WGS_1984\",SPHEROID[\"WGS 84\",6378137,298.257223563]],"
    "PRIMEM[\"Greenwich\",0],UNIT[\"degree\",0.0174532925199433]]");

}  // namespace

// World data: a country boundary and cities in degrees, no solar grid. A click the spec's report
// would leave empty says where it is and in which country; the window leaves the tools free.
TEST_F(PointReport, WithoutTheSolarGridTheClickedPointAndItsCountryAreGiven) {
    writeLayer(dir.path(), "39_countryboundary.shp", moShapeTypePolygon, {text("NAME")},
               {{square(30, 0, 10), {"Kenya"}}}, kDegrees);
    writeLayer(dir.path(), "59_cities.shp", moShapeTypePoint, {text("NAME")},
               {{engine::Shape::point(31, 1), {"Lodwar"}}}, kDegrees);
    open();
    layer("39_countryboundary.shp").visible = true;
    viewWidth(25, 45, 5);

    // The point the press lands on, whole pixels as the window stores it.
    const auto position = [this](double x, double y) {
        const QPointF px = main->Map1->fromMapPoint({x, y});
        const engine::Point p = main->Map1->toMapPoint(qRound(px.x()), qRound(px.y()));
        return QString("Latitude: %1, Longitude: %2").arg(p.y, 0, 'f', 4).arg(p.x, 0, 'f', 4);
    };
    EXPECT_EQ(clickAt(35.5, 4.25),
              lines({position(35.5, 4.25), "", "Country Boundary", "NAME: Kenya", ""}));
    EXPECT_EQ(clickAt(42.5, -3.5),
              lines({position(42.5, -3.5), "", "No shown layer has a feature at this point."}));
    // Where a shown layer has something, the report is the usual one, with the coordinates.
    EXPECT_EQ(clickAt(31, 1), lines({position(31, 1), "", "Cities", "NAME : LODWAR", ""}));

    frmInfo* window = main->findChild<frmInfo*>();
    ASSERT_NE(window, nullptr);
    const QRect strip(main->Toolbar1->mapToGlobal(QPoint()), main->Toolbar1->size());
    EXPECT_FALSE(window->frameGeometry().intersects(strip))
        << "the window covers the tool strip; the next click on a tool would hit it";
}
