// The main window keeps still while the user works in it: the map keeps its width (and so its
// scale) through every query panel, and the buttons stay under the pointer when a message comes
// and goes, at the desktop's font and at a 1.5x font.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/main_window_factory.h"
#include "dataset/dataset_loading.h"
#include "feedback/dialog_service.h"
#include "query/attach.h"
#include "shell/dataset_opening.h"
#include "siting/query_descriptors.h"
#include "tests/support/layout_check.h"
#include "tests/support/window_checks.h"

namespace {

void settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// What moves when the layout jumps: the map's width, the buttons' places in the window.
struct Places {
    int mapWidth;
    QPoint changeLayers, updateMap;
    bool operator==(const Places&) const = default;
};

Places placesOf(const frmMain& f) {
    return {f.Map1->width(), f.cmdChangeLayers->mapTo(&f, QPoint()),
            f.cmdUpdateMap->mapTo(&f, QPoint())};
}

std::string describe(const Places& p) {
    return QString("map %1 px wide, Change Layers at (%2, %3), Update Map at (%4, %5)")
        .arg(p.mapWidth)
        .arg(p.changeLayers.x())
        .arg(p.changeLayers.y())
        .arg(p.updateMap.x())
        .arg(p.updateMap.y())
        .toStdString();
}

class SteadyLayout : public ::testing::TestWithParam<double> {};

TEST_P(SteadyLayout, TheMapAndTheButtonsKeepTheirPlacesThroughEveryPanelAndMessage) {
    const testsupport::ScopedFontScale font(GetParam());
    feedback::ScopedScriptedDialogs dialogs;
    auto form = createMainWindow();
    // The window the program opens on a 1600 x 1000 desktop, with room for the tallest panel.
    form->resize(1440, 900);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QString file = testsupport::sampleDatasetFile();
    md_functions::LoadProject(QFileInfo(file).fileName(), file, *form->Map1, *form->legend);
    settle();
    const int mapBeforeAnyQuery = form->Map1->width();

    const QStringList names = siting::QueryNames();
    ASSERT_TRUE(query::chooseQuery(*form, names[1]));
    settle();
    const Places first = placesOf(*form);
    EXPECT_EQ(first.mapWidth, mapBeforeAnyQuery) << "the first query narrowed the map";
    // Twice round, so that a panel shown after a wider one is measured too.
    for (int round = 0; round < 2; ++round)
        for (int i = 1; i < names.size(); ++i) {
            ASSERT_TRUE(query::chooseQuery(*form, names[i]));
            settle();
            const Places now = placesOf(*form);
            EXPECT_EQ(now, first) << names[i].toStdString() << ": " << describe(now)
                                  << "; first panel: " << describe(first);
        }

    // A wrong distance puts a red message under Update Map; the second click on the same spot
    // must still find Update Map, and editing the box takes the message away again.
    ASSERT_TRUE(query::chooseQuery(*form, "Best wind + roads"));
    settle();
    QLineEdit* distance = form->txtQuery1[2];
    ASSERT_TRUE(distance->isVisible());
    distance->setText("far");
    form->cmdUpdateMap->click();
    settle();
    ASSERT_TRUE(form->lblWorking->isVisible());
    EXPECT_EQ(form->lblWorking->text(), "Please enter a number for proximity value.");
    EXPECT_EQ(placesOf(*form), first) << describe(placesOf(*form));
    EXPECT_EQ(form->childAt(first.updateMap + QPoint(4, 4)), form->cmdUpdateMap);

    distance->setFocus();
    QTest::keyClick(distance, Qt::Key_Backspace);
    settle();
    EXPECT_FALSE(form->lblWorking->isVisible());
    EXPECT_EQ(placesOf(*form), first) << describe(placesOf(*form));
    EXPECT_TRUE(dialogs->shown.isEmpty()) << dialogs->texts().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Fonts, SteadyLayout, ::testing::Values(1.0, 1.5),
                         [](const auto& info) { return info.param == 1.0 ? "Default" : "Larger"; });

}  // namespace
