// Choosing queries: availability, the weak-wind warning, the panel's layout and defaults, and
// every validation message with its focus rule.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include "tests/query/query_fixture.h"

namespace querytest {
namespace {

TEST_F(QueryTest, ListHoldsTheEightQueriesAndTheBaseMapKeepsTheStartUpPicture) {
    ASSERT_EQ(form->cboSelectQuery->count(), 8);
    EXPECT_EQ(form->cboSelectQuery->itemText(0), "No Query (Base Map)");
    EXPECT_EQ(form->cboSelectQuery->itemText(7), "Best Solar X kWh/m2/day");
    openDataset();
    choose("No Query (Base Map)");
    EXPECT_TRUE(form->bStartUpImageShown);
    choose("Wind by Power Density");
    EXPECT_FALSE(form->bStartUpImageShown);
    EXPECT_EQ(form->fraEditQueryParameters->title(), "Wind by Power Density");
    choose("No Query (Base Map)");
    EXPECT_EQ(form->fraEditQueryParameters->title(), "No Query (Base Map)");
    EXPECT_TRUE(form->cboQueryDropDown->isHidden());
    EXPECT_TRUE(form->lblQuery1[0]->isHidden());
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

TEST_F(QueryTest, MissingLayerRefusesTheChoiceAndKeepsThePanel) {
    Layers l;
    l.roads = false;
    l.landUse = false;
    openDataset(l);
    choose("Wind by Power Density");
    choose("Best wind + roads");
    EXPECT_EQ(dialogs->texts(), QStringList{"This query requires 43_roads.shp shapefile."});
    EXPECT_EQ(dialogs->shown.last().icon, feedback::iconNone);
    EXPECT_EQ(form->fraEditQueryParameters->title(), "Wind by Power Density");
    EXPECT_EQ(form->cboSelectQuery->currentText(), "Best wind + roads");
    dialogs->shown.clear();
    choose("Best wind (all)");
    EXPECT_EQ(dialogs->texts(), QStringList{"This query requires 02_landuse.shp shapefile."});

    // On "Update Map" the refused name in the list is checked again and nothing runs.
    updateMap();
    EXPECT_FALSE((study().result() != nullptr));
}

TEST_F(QueryTest, SolarResourceWithoutItsLayerIsReportedInRedAndInABox) {
    openDataset();
    choose("Best Solar X kWh/m2/day");
    // The first resource is selected although its layer is missing; the lists take the
    // breaks of the first resource whose layer is loaded.
    EXPECT_EQ(form->cboQueryDropDown3->currentText(),
              "40 km Solar Concentrators Annual Average(KWH/M2/DAY)");
    EXPECT_EQ(form->cboQueryDropDown3->count(), 4);
    EXPECT_EQ(form->cboQueryDropDown->currentText(), "3.5");
    EXPECT_EQ(form->cboQueryDropDown2->currentText(), "9");
    EXPECT_TRUE(dialogs->shown.isEmpty());
    ASSERT_TRUE(query::chooseSolarResource(*form, "40 km Solar PV Annual Average(KWH/M2/DAY)"));
    EXPECT_EQ(dialogs->texts(), QStringList{"This query requires 12_solar_tilt.shp shapefile."});
    EXPECT_EQ(form->lblWorking->text(), "This query requires 12_solar_tilt.shp shapefile.");
    updateMap();
    EXPECT_FALSE((study().result() != nullptr));
}

TEST_F(QueryTest, WeakWindWarnsAtEveryWindChoiceBeforeTheMissingLayer) {
    Layers l;
    l.roads = false;
    l.windValues = {150, 200};
    openDataset(l);
    choose("Best wind + roads");
    const QString warning =
        "The query results will be shown in light gray. Maximum Wind Power Density (200) is less "
        "than 200. So you may not get proper rendering in the output map. You will have to type "
        "in a value less than 200 to perform any Wind Energy query.";
    EXPECT_EQ(dialogs->texts(),
              (QStringList{warning, "This query requires 43_roads.shp shapefile."}));
    choose("Wind by Power Density");
    EXPECT_EQ(dialogs->texts().size(), 3);
    EXPECT_EQ(dialogs->texts().last(), warning);
}

TEST_F(QueryTest, WindLayerWithoutPowerDensityFieldWarnsButStaysPossible) {
    const QString dir = tmp.filePath("data");
    writePolygons(dir, "20_wind", "SPEED", {{box(0, 0, 1, 1), 5.0}});
    open(dir);
    choose("Wind by Power Density");
    ASSERT_FALSE(dialogs->texts().isEmpty());
    EXPECT_EQ(dialogs->texts().first(),
              "Cannot perform the Query. Please check the Wind Energy shapefile.This can happen if "
              "there is no WINDPWRD field in the shape file.");
    EXPECT_EQ(form->fraEditQueryParameters->title(), "Wind by Power Density");
}

// Where a control stands in the panel, as the user sees it.
bool sameRow(const QWidget* a, const QWidget* b) {
    const QRect ra = a->geometry(), rb = b->geometry();
    return ra.center().y() >= rb.top() && ra.center().y() <= rb.bottom();
}
bool leftOf(const QWidget* a, const QWidget* b) { return a->geometry().right() < b->x(); }
bool above(const QWidget* a, const QWidget* b) { return a->geometry().bottom() < b->y(); }

TEST_F(QueryTest, PanelLayoutAndDefaultsPerQuery) {
    openDataset();
    choose("Best wind (all)");
    settle();
    // Both distance boxes start with 5 before any other distance query.
    EXPECT_EQ(form->txtQuery1[1]->text(), "5");
    EXPECT_EQ(form->txtQuery1[2]->text(), "5");
    EXPECT_EQ(form->lblQuery1[1]->text(), " kM from transmission lines");
    EXPECT_EQ(form->lblQuery1[3]->text(), "Max Wind Power Density:");
    EXPECT_EQ(form->lblQuery1[5]->text(), "remove protected areas ");
    EXPECT_FALSE(form->chkProtectedAreas->isHidden());
    EXPECT_TRUE(form->chkProtectedAreas->isChecked());
    EXPECT_EQ(form->lstQuery1->count(), 2);
    EXPECT_TRUE(form->lstQuery1->selectedItems().isEmpty());
    // Top to bottom: the range, transmission, roads, protected areas, then the land uses; each
    // number box and the check box left of its caption, each drop-down right of its caption.
    EXPECT_TRUE(sameRow(form->cboQueryDropDown, form->lblQuery1[0]));
    EXPECT_TRUE(leftOf(form->lblQuery1[0], form->cboQueryDropDown));
    EXPECT_TRUE(sameRow(form->cboQueryDropDown2, form->lblQuery1[3]));
    EXPECT_TRUE(above(form->cboQueryDropDown, form->cboQueryDropDown2));
    EXPECT_TRUE(above(form->cboQueryDropDown2, form->txtQuery1[1]));
    EXPECT_TRUE(sameRow(form->txtQuery1[1], form->lblQuery1[1]));
    EXPECT_TRUE(leftOf(form->txtQuery1[1], form->lblQuery1[1]));
    EXPECT_TRUE(above(form->txtQuery1[1], form->txtQuery1[2]));
    EXPECT_TRUE(sameRow(form->txtQuery1[2], form->lblQuery1[2]));
    EXPECT_TRUE(leftOf(form->txtQuery1[2], form->lblQuery1[2]));
    EXPECT_TRUE(above(form->txtQuery1[2], form->chkProtectedAreas));
    EXPECT_TRUE(sameRow(form->chkProtectedAreas, form->lblQuery1[5]));
    EXPECT_TRUE(leftOf(form->chkProtectedAreas, form->lblQuery1[5]));
    EXPECT_TRUE(above(form->lblQuery1[5], form->lblQuery1[4]));
    EXPECT_TRUE(above(form->lblQuery1[4], form->lstQuery1));

    choose("Wind by Power Density");
    settle();
    EXPECT_EQ(form->cboQueryDropDown->currentText(), "500");
    EXPECT_EQ(form->cboQueryDropDown2->currentText(), "800");
    EXPECT_EQ(form->cboQueryDropDown->count(), 6);
    EXPECT_EQ(form->cboQueryDropDown2->itemText(6), "Max");
    EXPECT_EQ(form->lblQuery1[0]->text(), "Min Wind Power Density:");
    EXPECT_TRUE(sameRow(form->cboQueryDropDown, form->lblQuery1[0]));
    EXPECT_TRUE(sameRow(form->cboQueryDropDown2, form->lblQuery1[1]));
    EXPECT_TRUE(form->txtQuery1[2]->isHidden());
    EXPECT_TRUE(form->lstQuery1->isHidden());
    EXPECT_TRUE(form->chkProtectedAreas->isHidden());
    EXPECT_TRUE(form->lblQuery1[3]->isHidden());

    choose("Best wind + roads");
    settle();
    // The one distance box takes the row under the range.
    EXPECT_TRUE(above(form->cboQueryDropDown2, form->txtQuery1[2]));
    EXPECT_TRUE(sameRow(form->txtQuery1[2], form->lblQuery1[2]));
    EXPECT_TRUE(form->txtQuery1[1]->isHidden());

    choose("Best Solar X kWh/m2/day");
    settle();
    EXPECT_TRUE(sameRow(form->cboQueryDropDown, form->lblQuery1[0]));
    EXPECT_TRUE(above(form->lblQuery1[4], form->cboQueryDropDown3));
    EXPECT_TRUE(form->txtQuery1[2]->isHidden());
}

TEST_F(QueryTest, ProtectedAreasCaptionTicksItsBoxLikeTheBoxItself) {
    openDataset();
    choose("Best wind (all)");
    settle();
    QTest::mouseClick(form->lblQuery1[5], Qt::LeftButton);
    EXPECT_FALSE(form->chkProtectedAreas->isChecked());
    QTest::mouseClick(form->lblQuery1[5], Qt::LeftButton);
    EXPECT_TRUE(form->chkProtectedAreas->isChecked());
    QTest::mouseClick(form->chkProtectedAreas, Qt::LeftButton);
    EXPECT_FALSE(form->chkProtectedAreas->isChecked());
}

TEST_F(QueryTest, TabFollowsThePanelDownwards) {
    openDataset();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    choose("Best wind (all)");
    settle();
    const QList<QWidget*> expected = {static_cast<QWidget*>(form->optEditLegend[0]),
                                      form->cboQueryDropDown,
                                      form->cboQueryDropDown2,
                                      form->txtQuery1[1],
                                      form->txtQuery1[2],
                                      form->chkProtectedAreas,
                                      form->lstQuery1,
                                      form->cmdChangeLayers};
    form->cboSelectQuery->setFocus();
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        // An editable drop-down may hand the focus to its text field.
        if (focus && focus->parentWidget() == expected[i]) focus = focus->parentWidget();
        EXPECT_EQ(focus, expected[i]) << i;
    }
}

TEST_F(QueryTest, RoadsAndTransmissionShareTheDistanceBox) {
    openDataset();
    choose("Best wind + transmission");
    form->txtQuery1[2]->setText("7");
    choose("Best wind + roads");
    EXPECT_EQ(form->txtQuery1[2]->text(), "2");
    EXPECT_EQ(form->lblQuery1[2]->text(), " kM from roads");
    form->txtQuery1[2]->setText("3");
    choose("Best wind + transmission");
    EXPECT_EQ(form->txtQuery1[2]->text(), "3");
    EXPECT_EQ(form->lblQuery1[2]->text(), " kM from transmission lines");
    form->txtQuery1[2]->setText("abc");
    choose("Best wind + transmission");
    EXPECT_EQ(form->txtQuery1[2]->text(), "2");
}

struct Case {
    const char* query;
    const char* min;
    const char* max;
    const char* distance;  // the distance box of the query, or null
    const char* message;   // null: passes and runs
};

TEST_F(QueryTest, ValidationMessagesInRedAndNothingRuns) {
    openDataset();
    const Case cases[] = {
        {"Wind by Power Density", "abc", "800", nullptr,
         "Please enter a numeric value for Min. Wind Power Density"},
        {"Wind by Power Density", "500", "max", nullptr,
         "Please enter a numeric value for Max. Wind Power Density"},
        {"Wind by Power Density", "800", "800", nullptr,
         "Max. Wind Power Density should be > Min. Wind Power Density"},
        {"Wind by Power Density", "-1", "800", nullptr,
         "Min. Wind Power Density should be >= 0 and 10000"},
        {"Wind by Power Density", "500", "10001", nullptr,
         "Max. Wind Power Density should be >= 0 and 10000"},
        {"Best Solar X kWh/m2/day", "3.5", "Max", nullptr,
         "Please enter a numeric value for Max. Solar Resourcey"},
        {"Best Solar X kWh/m2/day", "x", "9", nullptr,
         "Please enter a numeric value for Min. Solar Resource"},
        {"Best Solar X kWh/m2/day", "5", "4", nullptr,
         "Max. Solar Resource should be > Min. Solar Resource"},
        {"Best Solar X kWh/m2/day", "12", "13", nullptr,
         "Min. Solar Resource should be >= 0 and <= 10"},
        {"Best Solar X kWh/m2/day", "5", "11", nullptr,
         "Max. Solar Resource should be >= 0 and <= 10"},
        {"Best wind + roads", "500", "800", "", "Please enter a number for proximity value."},
        {"Best wind + roads", "500", "800", "0", "Proximity value must be >=0.001 and <= 25km."},
        {"Best wind + transmission", "500", "800", "25.5",
         "Proximity value must be >=0.001 and <= 25km."},
        {"Best wind + land use", "500", "800", nullptr, "Please select a land use."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.query) + " " + c.min + " " + c.max);
        choose(c.query);
        if (QString(c.query) == "Best Solar X kWh/m2/day") {
            ASSERT_TRUE(query::chooseSolarResource(*form, kSolarGlobal10km));
        }
        setRange(c.min, c.max);
        if (c.distance) form->txtQuery1[2]->setText(c.distance);
        study().reset();
        updateMap();
        EXPECT_EQ(form->lblWorking->text(), c.message);
        EXPECT_EQ(form->lblWorking->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        EXPECT_FALSE(form->lblWorking->isHidden());
        EXPECT_FALSE((study().result() != nullptr));
    }
}

TEST_F(QueryTest, BoundsAndMaxPass) {
    openDataset();
    const Case cases[] = {{"Wind by Power Density", "500", "Max", nullptr, nullptr},
                          {"Best wind + roads", "500", "800", "0.001", nullptr},
                          {"Best wind + roads", "500", "800", "25", nullptr}};
    for (const Case& c : cases) {
        choose(c.query);
        setRange(c.min, c.max);
        if (c.distance) form->txtQuery1[2]->setText(c.distance);
        study().reset();
        updateMap();
        EXPECT_TRUE((study().result() != nullptr)) << c.query << " " << c.max;
    }
    // The base map passes whatever the panel holds.
    choose("No Query (Base Map)");
    form->cboQueryDropDown->setEditText("abc");
    updateMap();
    EXPECT_TRUE(entries().empty());
    EXPECT_TRUE(form->cmdShowData->isHidden());
}

TEST_F(QueryTest, EditingAnInputClearsItsRedMessageButNotTheProgressLine) {
    openDataset();
    choose("Best wind + roads");
    form->txtQuery1[2]->setText("0");
    updateMap();
    ASSERT_EQ(form->lblWorking->text(), "Proximity value must be >=0.001 and <= 25km.");
    QTest::keyClicks(form->txtQuery1[2], "5");
    EXPECT_TRUE(form->lblWorking->isHidden());
    EXPECT_EQ(form->lblWorking->text(), "");

    choose("Best wind + land use");
    updateMap();
    ASSERT_EQ(form->lblWorking->text(), "Please select a land use.");
    selectLandUse("FOREST");
    EXPECT_TRUE(form->lblWorking->isHidden());

    // A minimum typed into its drop-down clears it too; the program's own changes do not.
    setRange("abc", "800");
    updateMap();
    ASSERT_FALSE(form->lblWorking->isHidden());
    setRange("500", "800");
    EXPECT_FALSE(form->lblWorking->isHidden());
    QTest::keyClicks(form->cboQueryDropDown, "0");
    EXPECT_TRUE(form->lblWorking->isHidden());

    // Progress in blue stays while the user types.
    form->setWorkingColor(QColor(0, 0, 255));
    form->lblWorking->setText("Creating Map...");
    form->lblWorking->show();
    QTest::keyClicks(form->cboQueryDropDown2, "0");
    EXPECT_FALSE(form->lblWorking->isHidden());
}

TEST_F(QueryTest, AllCriteriaReportsTheFirstDistanceFaultAndMovesTheFocus) {
    openDataset();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    choose("Best wind (all)");
    form->txtQuery1[1]->setText("30");
    form->txtQuery1[2]->setText("");
    updateMap();
    EXPECT_EQ(form->lblWorking->text(), "Proximity to transmission must be >=0.001 and <= 25km.");
    EXPECT_TRUE(form->txtQuery1[1]->hasFocus());
    form->txtQuery1[1]->setText("2");
    updateMap();
    EXPECT_EQ(form->lblWorking->text(), "Please enter a number for proximity value.");
    EXPECT_TRUE(form->txtQuery1[2]->hasFocus());
    form->txtQuery1[2]->setText("26");
    updateMap();
    EXPECT_EQ(form->lblWorking->text(), "Proximity to roads must be >=0.001 and <= 25km.");
    form->txtQuery1[2]->setText("2");
    updateMap();
    EXPECT_EQ(form->lblWorking->text(), "Please select a land use.");
    EXPECT_FALSE((study().result() != nullptr));
}

}  // namespace
}  // namespace querytest
