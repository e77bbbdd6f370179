// The legend panel over the sample dataset: however many layers and however large the font,
// every entry down to the last can be scrolled to, by the bar and by the wheel, and switched.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "app/main_window_factory.h"
#include "dataset/dataset_loading.h"
#include "shell/dataset_opening.h"
#include "mapview/map.h"
#include "feedback/dialog_service.h"
#include "tests/support/layout_check.h"
#include "tests/support/window_checks.h"

namespace {

void settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// True when the heading of the given entry lies wholly inside the scroll area's viewport.
bool headingShown(const engine::Legend& legend, const QScrollArea& area, int index) {
    const QRect r = legend.entryRect(index).translated(legend.mapTo(area.viewport(), QPoint()));
    return area.viewport()->rect().contains(r);
}

class LegendScroll : public ::testing::TestWithParam<double> {};

TEST_P(LegendScroll, EveryEntryCanBeScrolledToAndSwitchedMaximised) {
    const testsupport::ScopedFontScale font(GetParam());
    feedback::ScopedScriptedDialogs dialogs;
    auto form = createMainWindow();
    form->showMaximized();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QString file = testsupport::sampleDatasetFile();
    md_functions::LoadProject(QFileInfo(file).fileName(), file, *form->Map1, *form->legend);
    form->bStartUpImageShown = false;
    form->fraStartUpImage->hide();
    form->fraEditLegend->show();
    form->optEditLegend[1]->click();
    settle();

    engine::Legend& legend = *form->legend;
    auto* area = qobject_cast<QScrollArea*>(legend.parentWidget()->parentWidget());
    ASSERT_NE(area, nullptr);
    const int last = legend.entryCount() - 1;
    ASSERT_GT(last, 20);
    ASSERT_TRUE(headingShown(legend, *area, 0));
    ASSERT_FALSE(headingShown(legend, *area, last)) << "the sample should not fit unscrolled";
    EXPECT_GE(legend.height(), static_cast<QWidget&>(legend).sizeHint().height());

    // The wheel over the entries scrolls them: the legend leaves it to the area around it (a
    // window system's wheel goes on up; one sent from here would stop at the legend).
    QScrollBar& bar = *area->verticalScrollBar();
    EXPECT_TRUE(bar.isVisible());
    const QPointF at = legend.entryRect(0).center();
    for (int i = 0; i < 200 && bar.value() < bar.maximum(); ++i) {
        QWheelEvent wheel(at, legend.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&legend, &wheel);
        ASSERT_FALSE(wheel.isAccepted());
        const QPointF there = legend.mapTo(area->viewport(), at);
        QWheelEvent up(there, legend.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(area->viewport(), &up);
    }
    EXPECT_EQ(bar.value(), bar.maximum());
    EXPECT_GT(bar.maximum(), 0);
    EXPECT_TRUE(headingShown(legend, *area, last))
        << legend.mapSource()->layer(last)->name.toStdString();

    // A click on the last heading switches its layer, as on the first.
    const bool was = form->Map1->layer(last)->visible;
    QTest::mouseClick(&legend, Qt::LeftButton, {}, legend.entryRect(last).center());
    EXPECT_NE(form->Map1->layer(last)->visible, was);

    // The bar brings the first back.
    bar.setValue(bar.minimum());
    EXPECT_TRUE(headingShown(legend, *area, 0));
}

INSTANTIATE_TEST_SUITE_P(Fonts, LegendScroll, ::testing::Values(1.0, 1.5),
                         [](const auto& info) { return info.param == 1.0 ? "Default" : "Large"; });

}  // namespace
