// Application choice, the economic inputs and their messages, and the button states.
#include <QLabel>

#include "tests/model/model_window_fixture.h"

TEST_F(ModelWindowTest, StartsWithItsCaptionsAndFeedbackText) {
    frmZORVEL& w = window();
    EXPECT_EQ(w.windowTitle(), "Zorvel Pallix");
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.cboZORVELApplication->count(), 4);
    EXPECT_EQ(w.cboZORVELApplication->currentText(), "-- Please choose one --");
    EXPECT_EQ(w.lblApplicationInfo->text(),
              "Please choose an application from the drop-down box above.");
    EXPECT_EQ(w.txtDieselFuelPrice->text(), "0.40");
    EXPECT_EQ(w.txtReliability->text(), "0");
    EXPECT_EQ(w.txtDiscountRate->text(), "5");
    EXPECT_TRUE(message().startsWith("Before running, this space \ngives feedback on inputs.\n\n"));
    EXPECT_TRUE(message().endsWith("replaced by bar graph or list\nof top choices.\n"));
    EXPECT_EQ(w.cmdRunZORVEL->text(), "Start Zorvel");
    EXPECT_FALSE(w.cmdRunZORVEL->isEnabled());
    EXPECT_FALSE(w.cmdZORVEL_IR->isEnabled());
    EXPECT_FALSE(w.cmdLaunchZORVEL->isEnabled());
}

TEST_F(ModelWindowTest, ApplicationSetsDescriptionFilesAndUnservedEnergyDefault) {
    frmZORVEL& w = window();
    const struct {
        int index;
        QString unserved;
        QString file;
        QString descriptionStart;
    } cases[] = {
        {1, "5", "Small_village_Pallix.zvx", "A small village has an annual average consumption"},
        {2, "1", "Medium_village_Pallix.zvx", "A medium village consumes an annual average"},
        {3, "0", "Large_village_Pallix.zvx", "A large village consumes an annual average of 500"},
    };
    for (const auto& c : cases) {
        choose(c.index);
        EXPECT_EQ(w.txtReliability->text(), c.unserved);
        EXPECT_EQ(w.templatePath, docs + c.file);
        EXPECT_EQ(w.workingFilePath, docs + "user_" + c.file);
        EXPECT_TRUE(w.lblApplicationInfo->text().startsWith(c.descriptionStart));
    }
    choose(0);
    EXPECT_EQ(w.txtReliability->text(), "1");
    EXPECT_EQ(w.lblApplicationInfo->text(),
              "Please choose an application from the drop down box above.");
    EXPECT_EQ(message(), "Please choose an application from the drop-down list.");
    EXPECT_EQ(messageColor(), QColor(255, 0, 0));
    EXPECT_FALSE(w.cmdRunZORVEL->isEnabled());
}

TEST_F(ModelWindowTest, InputMessagesInTheirOrder) {
    readyToRun(2);
    frmZORVEL& w = window();
    const QString price = "Please enter a number like 0.40 for the diesel fuel price.";
    const QString positive = "Please enter a number greater than zero for the diesel fuel price.";
    const QString reliability =
        "Please enter a number from 0 to 100 for reliability.  0 means 100% reliable.";
    const QString rate = "Please enter a number from 0 to 100 for the real discount rate.";

    // Each fault hides the ones after it.
    w.txtDiscountRate->setText("150");
    EXPECT_EQ(message(), rate);
    w.txtReliability->setText("101");
    EXPECT_EQ(message(), reliability);
    w.txtDieselFuelPrice->setText("0");
    EXPECT_EQ(message(), positive);
    w.txtDieselFuelPrice->setText("abc");
    EXPECT_EQ(message(), price);
    choose(0);
    EXPECT_EQ(message(), "Please choose an application from the drop-down list.");
    EXPECT_FALSE(w.cmdRunZORVEL->isEnabled());
    EXPECT_FALSE(w.cmdZORVEL_IR->isEnabled());

    choose(2);  // resets the unserved energy to 1
    w.txtDieselFuelPrice->setText("-1");
    EXPECT_EQ(message(), positive);
    w.txtDieselFuelPrice->setText(" 0.55 ");
    EXPECT_EQ(message(), rate);
    w.txtReliability->setText("-0.5");
    EXPECT_EQ(message(), reliability);
    w.txtReliability->setText("");
    EXPECT_EQ(message(), reliability);
    w.txtReliability->setText("100");
    EXPECT_EQ(message(), rate);
    w.txtDiscountRate->setText("0");
    EXPECT_TRUE(message().isEmpty());
    EXPECT_TRUE(w.cmdRunZORVEL->isEnabled());
    EXPECT_TRUE(w.cmdZORVEL_IR->isEnabled());
    EXPECT_FALSE(w.cmdLaunchZORVEL->isEnabled());
}

TEST_F(ModelWindowTest, OpenZorvelFileWithoutAFileSaysSo) {
    window().cmdLaunchZORVEL->setEnabled(true);
    window().cmdLaunchZORVEL->click();
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown[0].text, "Sorry, no Zorvel file to open");
    EXPECT_EQ(dialogs->shown[0].icon, feedback::iconWarning);
}
