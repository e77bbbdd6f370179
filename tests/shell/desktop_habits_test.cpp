// What a desktop map user reaches for without reading the help: the wheel zooms about the
// cursor, the status line gives the cursor's coordinates, and the title names the dataset.
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <QWheelEvent>

#include "shell/scale.h"
#include "tests/shell/main_window_fixture.h"

namespace {

void turnWheel(engine::Map& map, QPointF at, int notches) {
    QWheelEvent e(at, map.mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&map, &e);
}

TEST_F(MainWindowTest, TheWheelZoomsAboutTheCursorAndOnlyOverADataset) {
    engine::Map& map = *form->Map1;
    const QPointF at(map.width() / 4.0, map.height() / 3.0);
    turnWheel(map, at, 1);  // nothing to zoom yet
    openDataset();
    const engine::Rectangle before = map.extent();
    const engine::Point under = map.toMapPoint(at.x(), at.y());

    turnWheel(map, at, 4);  // four notches: one zoom button's step in
    EXPECT_NEAR(map.extent().width(), before.width() / 2, before.width() * 1e-9);
    const engine::Point still = map.toMapPoint(at.x(), at.y());
    EXPECT_NEAR(still.x, under.x, before.width() * 1e-9);
    EXPECT_NEAR(still.y, under.y, before.height() * 1e-9);
    EXPECT_EQ(form->cboScale->currentText(), md_functions::CalculateScale(map));

    turnWheel(map, at, -4);
    EXPECT_NEAR(map.extent().left(), before.left(), before.width() * 1e-9);
    EXPECT_NEAR(map.extent().top(), before.top(), before.height() * 1e-9);
    EXPECT_NEAR(map.extent().width(), before.width(), before.width() * 1e-9);
}

TEST_F(MainWindowTest, TheStatusLineFollowsTheCursorAndTheTitleNamesTheDataset) {
    engine::Map& map = *form->Map1;
    EXPECT_EQ(form->windowTitle(), "Pallix");
    QTest::mouseMove(&map, QPoint(30, 40));
    EXPECT_EQ(form->lblCursorPosition->text(), "");

    openDataset();
    EXPECT_EQ(form->windowTitle(), "data - Pallix");
    const QPoint at(map.width() / 3, map.height() / 2);
    QTest::mouseMove(&map, at);
    const engine::Point p = map.toMapPoint(at.x(), at.y());
    EXPECT_EQ(form->lblCursorPosition->text(),
              QString("x %1, y %2 meter").arg(p.x, 0, 'f', 1).arg(p.y, 0, 'f', 1));
    EXPECT_TRUE(form->lblCursorPosition->isVisible());
}

}  // namespace
