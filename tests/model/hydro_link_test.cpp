// The site's hydro power in the model window: sent to Zorvel when the user includes it, left out
// when not, refused with the field named when the layer holds no power, and the systems with
// hydro named and coloured in the ranked list. Real runs of the small village template.
#include <QCheckBox>
#include <QFrame>
#include <QLabel>

#include "engine/types.h"
#include "tests/model/model_window_fixture.h"
#include "zorvel/model.h"
#include "zorvel/project.h"

namespace {

std::optional<zorvel::HydroResource> hydroOf(const QString& file) {
    return zorvel::readProject(file.toStdString()).hydro;
}

}  // namespace

TEST_F(ModelWindowTest, HydroIsSentWhenIncludedAndLeftOutWhenNot) {
    const QString dir = tmp.filePath("site");
    load(model_test::writeSiteDataset(dir, model_test::Wind::Monthly));
    model_test::writeHydro(dir, main->Map1->extent().width() / 300);
    load(dir + "/14_solar_glo.shp");
    clickAt(model_test::kSiteA);
    choose(1);
    frmZORVEL& w = window();
    EXPECT_TRUE(w.chkHydro->isEnabled());
    EXPECT_TRUE(w.chkHydro->isChecked());
    EXPECT_EQ(w.lblHydroResource[4]->toolTip(), "Hydro information is sent to Zorvel");

    w.cmdRunZORVEL->click();
    const QString working = docs + "user_Small_village_Pallix.zvx";
    const auto sent = hydroOf(working);
    ASSERT_TRUE(sent);
    EXPECT_FLOAT_EQ(sent->MonthlyPower()[0], 1000.0f);
    EXPECT_FLOAT_EQ(sent->MonthlyPower()[11], 2100.0f);
    // A river of a megawatt makes hydro the cheapest source; its systems are named and coloured
    // in the table and its key like the others.
    zorvel::Project check;
    check.OpenFile(working.toStdString());
    check.CalculateBlocking();
    const zorvel::Result best = check.GetResult(0, 0);
    ASSERT_TRUE(best.SystemTypeCode() & zorvel::kTypeHydro);
    EXPECT_EQ(w.lblSystemType[0]->text().toStdString(), check.DescribeSystem(best));
    EXPECT_TRUE(w.lblSystemType[0]->text().contains(" kW hydro"))
        << w.lblSystemType[0]->text().toStdString();
    EXPECT_EQ(w.shpBar[0]->palette().color(QPalette::Window),
              engine::toQColor(check.SystemTypeColor(best.SystemTypeCode())));
    EXPECT_TRUE(w.lblColourKey->text().contains(
        QString::fromStdString(zorvel::Project::SystemTypeName(best.SystemTypeCode()))));

    // Left out: the tooltips say so, and the next project Zorvel gets has no river.
    w.chkHydro->setChecked(false);
    EXPECT_EQ(w.lblHydroResource[4]->toolTip(), "Hydro information is left out of the Zorvel run");
    EXPECT_EQ(w.lblHydroResource[4]->text(), "1,400");
    EXPECT_TRUE(w.cmdRunZORVEL->isEnabled());
    w.cmdZORVEL_IR->click();
    EXPECT_FALSE(hydroOf(working));
    w.chkHydro->setChecked(true);
    w.cmdZORVEL_IR->click();
    EXPECT_TRUE(hydroOf(working));

    // A site without a river gets none, and the box has nothing to include.
    clickAt(model_test::kSiteB);
    EXPECT_FALSE(w.chkHydro->isEnabled());
    w.cmdZORVEL_IR->click();
    EXPECT_FALSE(hydroOf(working));
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

TEST_F(ModelWindowTest, HydroPowerThatIsNoPowerIsRefusedWithTheFieldNamed) {
    std::vector<double> power(13, 50.0);
    power[2] = -5;
    const QString dir = tmp.filePath("negative");
    load(model_test::writeSiteDataset(dir, model_test::Wind::Monthly));
    model_test::writeHydro(dir, main->Map1->extent().width() / 300, power);
    load(dir + "/14_solar_glo.shp");
    clickAt(model_test::kSiteA);
    frmZORVEL& w = window();
    const QString why = "MARPOW is -5, not a power from 0 to 1,000,000 kW";
    EXPECT_EQ(w.lblHydroResource[2]->text(), "-5");  // shown as the layer holds it
    EXPECT_EQ(w.lblHydroResource[0]->toolTip(), "Hydro information is not sent to Zorvel: " + why);
    EXPECT_EQ(w.lblSiteNote->text(),
              "The hydro power at this point is left out of the Zorvel run: " + why + ".");
    EXPECT_FALSE(w.site.hydroPower);
    EXPECT_FALSE(w.chkHydro->isEnabled());
    choose(1);
    EXPECT_TRUE(w.cmdRunZORVEL->isEnabled()) << "the site is still modelled, without hydro";

    power[2] = 50;
    power[11] = 5e6;
    const QString absurd = tmp.filePath("absurd");
    load(model_test::writeSiteDataset(absurd, model_test::Wind::Monthly));
    model_test::writeHydro(absurd, main->Map1->extent().width() / 300, power);
    load(absurd + "/14_solar_glo.shp");
    clickAt(model_test::kSiteA);
    EXPECT_EQ(w.lblHydroResource[11]->toolTip(),
              "Hydro information is not sent to Zorvel: DECPOW is 5,000,000, not a power from 0 to "
              "1,000,000 kW");
    EXPECT_TRUE(dialogs->shown.isEmpty());
}
