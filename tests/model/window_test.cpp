// The model window as a user meets it: what it says where the dataset has no resource, costs in
// dollars with their scale, the keyboard, and its layout at two font sizes on the sample dataset.
#include <QLabel>
#include <QTextBrowser>

#include "model/cost_chart.h"
#include "model/frmZORVELSummary.h"
#include "tests/model/model_window_fixture.h"
#include "tests/support/window_checks.h"

using model_test::kNowhere;
using model_test::kSiteA;
using model_test::kSiteC;

namespace {

const QString kNoResource =
    "There is no solar or wind resource data at this point, so Zorvel cannot model it. "
    "Click the map inside the resource grid to choose a site.";
const QString kNoWind =
    "There is no wind resource data at this point, so Zorvel models this site with solar and "
    "diesel only (no wind turbines).";

// Restores the test locale when it goes.
struct ScopedLocale {
    explicit ScopedLocale(const QLocale& l) { QLocale::setDefault(l); }
    ~ScopedLocale() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
};

}  // namespace

TEST_F(ModelWindowTest, ASiteWithoutResourceIsExplainedInTheWindowAndOnStart) {
    load(model_test::writeSiteDataset(tmp.filePath("site"), model_test::Wind::Monthly));
    choose(1);
    frmZORVEL& w = window();

    clickAt(kNowhere);
    EXPECT_TRUE(w.lblSiteNote->isVisible());
    EXPECT_EQ(w.lblSiteNote->text(), kNoResource);
    EXPECT_FALSE(w.cmdRunZORVEL->isEnabled());
    EXPECT_EQ(w.cmdRunZORVEL->toolTip(), kNoResource);
    EXPECT_EQ(w.cmdZORVEL_IR->toolTip(), kNoResource);

    clickAt(kSiteA);
    clickAt(kSiteC);  // solar, but no wind
    EXPECT_EQ(w.lblSiteNote->text(), kNoWind);
    EXPECT_TRUE(w.cmdRunZORVEL->isEnabled());
    // The grid shows this site's solar figures and none of the last site's wind.
    EXPECT_TRUE(w.lblSolarResource[0]->isVisible());
    for (QLabel* cell : w.lblWindResource) EXPECT_FALSE(cell->isVisible());

    // A complete site: the note goes; a wrong input is the reason Start gives instead.
    clickAt(kSiteA);
    EXPECT_FALSE(w.lblSiteNote->isVisible());
    EXPECT_TRUE(w.cmdRunZORVEL->isEnabled());
    EXPECT_TRUE(w.cmdRunZORVEL->toolTip().isEmpty());
    w.txtDiscountRate->setText("150");
    EXPECT_FALSE(w.cmdRunZORVEL->isEnabled());
    EXPECT_EQ(w.cmdRunZORVEL->toolTip(),
              "Please enter a number from 0 to 100 for the real discount rate.");
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

TEST_F(ModelWindowTest, TabFollowsTheWindowAndEscapeClosesIt) {
    readyToRun(1);
    frmZORVEL& w = window();
    // The widgets Tab visits from the application list: those along the focus chain that take
    // focus from the keyboard and can be used now.
    QList<QWidget*> visited{w.cboZORVELApplication};
    for (QWidget* next = w.cboZORVELApplication->nextInFocusChain(); visited.size() < 7;
         next = next->nextInFocusChain())
        if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && next->isVisible())
            visited << next;
    // Down the inputs, then the buttons row by row ("Open Zorvel File" is still grey).
    EXPECT_EQ(visited, (QList<QWidget*>{w.cboZORVELApplication, w.txtDieselFuelPrice,
                                        w.txtReliability, w.txtDiscountRate, w.cmdRunZORVEL,
                                        w.cmdZORVEL_IR, w.cmdCloseWindow}));

    w.cmdZORVEL_IR->click();
    frmZORVELSummary& summary = w.summaryWindow();
    ASSERT_TRUE(summary.isVisible());
    QTest::keyClick(summary.wbZORVELSummary, Qt::Key_Escape);
    EXPECT_FALSE(summary.isVisible());
    QTest::keyClick(w.txtDieselFuelPrice, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.txtDieselFuelPrice->text(), "0.40");  // only hidden, inputs kept
}

TEST(CostText, DollarsWhateverTheLocale) {
    {
        const ScopedLocale c(QLocale::c());
        EXPECT_EQ(model::dollars(14365.19, 2), "$14365.19");
        EXPECT_EQ(model::shortDollars(15000), "$15k");
    }
    {
        const ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(model::dollars(14365.19, 2), "$14.365,19");
        EXPECT_EQ(model::shortDollars(1500000), "$1,5M");
    }
    EXPECT_EQ(model::dollars(14365.19, 2), "$14,365.19");
    EXPECT_EQ(model::shortDollars(2500), "$2.5k");
    EXPECT_EQ(model::shortDollars(0), "$0");
}

TEST(CostText, AxisTicksAreRoundStepsUpToTheLargestCost) {
    EXPECT_EQ(model::axisTicks(14365, 4), (std::vector<double>{0, 5000, 10000}));
    EXPECT_EQ(model::axisTicks(14365, 8),
              (std::vector<double>{0, 2000, 4000, 6000, 8000, 10000, 12000, 14000}));
    EXPECT_EQ(model::axisTicks(1000, 5), (std::vector<double>{0, 200, 400, 600, 800, 1000}));
    EXPECT_EQ(model::axisTicks(0, 5), std::vector<double>{0});
}

// On the sample dataset: after a click on the map, after a run, and the summary window.
TEST_F(ModelWindowTest, ZorvelWindowOverlapOnTheSampleAtBothFontSizes) {
    md_functions::LoadProject("20_wind.shp", testsupport::sampleDatasetFile(), *main->Map1,
                              *main->legend);
    main->Map1->setExtent(main->Map1->fullExtent());
    const engine::Rectangle e = main->Map1->extent();
    clickAt({e.center().x, e.center().y});
    frmZORVEL& w = window();
    ASSERT_TRUE(w.site.complete) << w.lblSiteNote->text().toStdString();
    EXPECT_EQ(testsupport::problemsAtBothFontSizes(w), "");

    {
        // Under a C locale the costs still read as dollars.
        const ScopedLocale c(QLocale::c());
        choose(1);
        w.cmdRunZORVEL->click();
    }
    ASSERT_FALSE(w.txtMessages->isVisible()) << message().toStdString();
    EXPECT_TRUE(w.lblSystemNPC[0]->text().startsWith("$"))
        << w.lblSystemNPC[0]->text().toStdString();
    EXPECT_FALSE(w.lblSystemNPC[0]->text().contains(","));
    EXPECT_EQ(testsupport::problemsAtBothFontSizes(w), "");

    w.cmdZORVEL_OR[0]->click();
    EXPECT_EQ(testsupport::problemsAtBothFontSizes(w.summaryWindow()), "");
    EXPECT_TRUE(dialogs->shown.isEmpty()) << dialogs->texts().join("\n").toStdString();
}
