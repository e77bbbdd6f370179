// What a desktop map user reaches for without reading the help: the wheel zooms about the
// cursor, and the title names the dataset.
#include <QComboBox>
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

}  // namespace
