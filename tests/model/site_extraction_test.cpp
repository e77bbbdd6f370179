// The resources of the clicked site in the model window.
#include <QDir>
#include <QFile>
#include <QLabel>

#include "tests/model/model_window_fixture.h"

using model_test::kNowhere;
using model_test::kSiteA;
using model_test::kSiteB;
using model_test::kSiteC;
using model_test::Wind;

namespace {

const QString kSolarName = "10 km Solar Global Horizontal Annual Average(KWH/M2/DAY)";
const QString kWindName = "Wind Power Density (W/m2)";

}  // namespace

TEST_F(ModelWindowTest, SiteLabelSolarWindAndHydroOfAClickedSite) {
    const QString dir = tmp.filePath("site");
    load(model_test::writeSiteDataset(dir, Wind::Monthly));
    model_test::writeHydro(dir, main->Map1->extent().width() / 300);
    load(dir + "/14_solar_glo.shp");

    clickAt(kSiteA);
    frmZORVEL& w = window();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.lblPallixData->text(), "Pallix data for 7.3N 80.9W, Elevation 511 m");
    EXPECT_EQ(w.lblSolarResource[0]->text(), "4.50");
    EXPECT_EQ(w.lblSolarResource[11]->text(), "5.60");
    EXPECT_EQ(w.lblSolarResource[12]->text(), "5.05");
    EXPECT_EQ(w.lblSolarResource[3]->toolTip(), kSolarName);
    EXPECT_EQ(w.lblSolarRowLabel->toolTip(), kSolarName);
    EXPECT_FLOAT_EQ(w.site.radiation[11], 5.6f);
    EXPECT_FLOAT_EQ(w.site.latitude, 7.3f);
    EXPECT_FLOAT_EQ(w.site.longitude, -80.9f);

    // Monthly wind: power densities shown, speeds and the wind shape kept for the model.
    EXPECT_EQ(w.lblWindResource[0]->text(), "300");
    EXPECT_EQ(w.lblWindResource[11]->text(), "410");
    EXPECT_EQ(w.lblWindResource[12]->text(), "1,520");
    EXPECT_EQ(w.lblWindResource[5]->toolTip(), kWindName);
    EXPECT_TRUE(w.lblWindResource[4]->isVisible());
    EXPECT_FLOAT_EQ(w.site.windPowerDensity, model::kMonthlyWindMarker);
    EXPECT_FLOAT_EQ(w.site.windSpeeds[1], 6.25f);
    EXPECT_FLOAT_EQ(w.site.wk, 2.1f);
    EXPECT_FLOAT_EQ(w.site.autocorrelation, 0.85f);
    EXPECT_FLOAT_EQ(w.site.patternStrength, 0.3f);
    EXPECT_EQ(w.site.peakHour, 15);

    // The hydro point half a tolerance away is found and kept for the model.
    EXPECT_TRUE(w.lblHydroRowLabel->isVisible());
    EXPECT_EQ(w.lblHydroRowLabel->toolTip(), "Hydro Resource (kW)");
    EXPECT_EQ(w.lblHydroResource[12]->text(), "2,200");
    EXPECT_EQ(w.lblHydroResource[0]->toolTip(), "Hydro information is sent to Zorvel");
    ASSERT_TRUE(w.site.hydroPower);
    EXPECT_FLOAT_EQ((*w.site.hydroPower)[11], 2100.0f);
    EXPECT_TRUE(w.site.complete);

    // South and east, grouped elevation; the hydro point three tolerances away is not found.
    clickAt(kSiteB);
    EXPECT_EQ(w.lblPallixData->text(), "Pallix data for 7.3S 80.9E, Elevation 1,234 m");
    EXPECT_FALSE(w.lblHydroRowLabel->isVisible());
    EXPECT_FALSE(w.lblHydroResource[3]->isVisible());
    EXPECT_EQ(w.lblHydroRowLabel->toolTip(), "No hydro resource information.");
    EXPECT_FALSE(w.site.hydroPower) << "site A's river must not stay with site B";

    // Zooming out widens the tolerance until that point is found too.
    engine::Rectangle wide = kView;
    wide.scaleRectangle(4);
    main->Map1->setExtent(wide);
    clickAt(kSiteB);
    EXPECT_TRUE(w.lblHydroRowLabel->isVisible());
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

TEST_F(ModelWindowTest, SiteWithoutCoordinatesOrWindRunsSolarAndDieselAndNoResourceCannotStart) {
    load(model_test::writeSiteDataset(tmp.filePath("site"), Wind::Monthly));
    clickAt(kSiteA);
    choose(1);
    frmZORVEL& w = window();
    EXPECT_TRUE(w.cmdRunZORVEL->isEnabled());

    // At 0N 0E with solar but no wind and no elevation.
    clickAt(kSiteC);
    EXPECT_EQ(w.lblPallixData->text(), "Pallix data");
    EXPECT_EQ(w.lblSolarResource[0]->text(), "3.50");
    EXPECT_EQ(w.lblWindRowLabel->toolTip(), "No wind resource information.");
    EXPECT_TRUE(w.site.complete);
    EXPECT_TRUE(w.site.hasSolar);
    EXPECT_FALSE(w.site.hasWind);
    EXPECT_TRUE(w.cmdRunZORVEL->isEnabled());

    // Where no layer has data.
    clickAt(kNowhere);
    EXPECT_EQ(w.lblPallixData->text(), "Pallix data");
    for (QLabel* cell : w.lblSolarResource) {
        EXPECT_FALSE(cell->isVisible());
        EXPECT_TRUE(cell->toolTip().isEmpty());
    }
    EXPECT_EQ(w.lblSolarRowLabel->toolTip(), "No solar resource information");
    EXPECT_FALSE(w.cmdRunZORVEL->isEnabled());
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

TEST_F(ModelWindowTest, AnnualOnlyWindShowsTheAnnualColumn) {
    load(model_test::writeSiteDataset(tmp.filePath("site"), Wind::AnnualOnly));
    clickAt(kSiteA);
    frmZORVEL& w = window();
    for (int i = 0; i < 12; ++i) EXPECT_FALSE(w.lblWindResource[i]->isVisible()) << i;
    EXPECT_TRUE(w.lblWindResource[12]->isVisible());
    EXPECT_EQ(w.lblWindResource[12]->text(), "1,520");
    EXPECT_EQ(w.lblWindResource[12]->toolTip(), kWindName);
    EXPECT_FLOAT_EQ(w.site.windPowerDensity, 1520.4f);
    EXPECT_TRUE(w.site.complete);
}

TEST_F(ModelWindowTest, MissingWindLayerIsNamedAndSolarAndDieselAreOffered) {
    const QString dir = tmp.filePath("site");
    load(model_test::writeSiteDataset(dir, Wind::Monthly));
    clickAt(kSiteA);
    choose(1);
    ASSERT_TRUE(window().cmdRunZORVEL->isEnabled());

    const QString other = tmp.filePath("nowind");
    load(model_test::writeSiteDataset(other, Wind::None));
    clickAt(kSiteA);
    EXPECT_TRUE(dialogs->shown.isEmpty()) << dialogs->texts().join('\n').toStdString();
    EXPECT_EQ(window().lblPallixData->text(), "Pallix data for 7.3N 80.9W, Elevation 511 m");
    EXPECT_EQ(window().lblSolarResource[0]->text(), "4.50");
    EXPECT_EQ(window().lblSiteNote->text(),
              "This dataset has no wind resource grid (20_wind.shp), so Zorvel models this site "
              "with solar and diesel only (no wind turbines).");
    EXPECT_TRUE(window().site.complete);
    EXPECT_TRUE(window().cmdRunZORVEL->isEnabled());
}

// An import without the solar grid: the site's wind is read, the missing grid is named, and a
// run models wind and diesel, placed by the map's own coordinates.
TEST_F(ModelWindowTest, WithoutTheSolarGridWindAndDieselAreRun) {
    const QString dir = tmp.filePath("nosolar");
    model_test::writeSiteDataset(dir, Wind::Monthly);
    for (const QString& f : QDir(dir).entryList({"14_solar_glo.*"})) QFile::remove(dir + "/" + f);
    load(dir + "/20_wind.shp");
    choose(1);
    clickAt(kSiteA);
    frmZORVEL& w = window();
    EXPECT_TRUE(dialogs->shown.isEmpty()) << dialogs->texts().join('\n').toStdString();
    EXPECT_TRUE(w.lblWindResource[0]->isVisible());
    EXPECT_FALSE(w.lblSolarResource[0]->isVisible());
    EXPECT_EQ(w.lblSiteNote->text(),
              "This dataset has no solar resource grid (14_solar_glo.shp), so Zorvel models this "
              "site with wind and diesel only (no PV array).");
    ASSERT_TRUE(w.cmdRunZORVEL->isEnabled()) << w.cmdRunZORVEL->toolTip().toStdString();

    w.cmdRunZORVEL->click();
    EXPECT_TRUE(dialogs->shown.isEmpty()) << dialogs->texts().join('\n').toStdString();
    ASSERT_FALSE(w.lblSystemType[0]->text().isEmpty())
        << w.txtMessages->toPlainText().toStdString();
    for (QLabel* type : w.lblSystemType)
        EXPECT_FALSE(type->text().contains("PV")) << type->text().toStdString();
}
