// The main window as a user sees it over the sample dataset after a query: every query panel,
// the legend panel and the layer dialog, at the desktop's font and at a 1.5x font, with no text
// cut off and no control lying on another.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/main_window_factory.h"
#include "dataset/dataset_loading.h"
#include "shell/dataset_opening.h"
#include "query/attach.h"
#include "query/query_catalogue.h"
#include "feedback/dialog_service.h"
#include "shell/frmShowLayersDialog.h"
#include "siting/query_descriptors.h"
#include "tests/support/layout_check.h"
#include "tests/support/window_checks.h"

namespace {

// Lets pending layout requests run, as they would before the user sees the window.
void settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

void expectTidy(const QWidget* window, const QString& where) {
    const QStringList problems = testsupport::layoutProblems(window);
    EXPECT_TRUE(problems.isEmpty()) << (where + ":\n  " + problems.join("\n  ")).toStdString();
}

class WindowLayout : public ::testing::TestWithParam<double> {};

TEST_P(WindowLayout, NoOverlapOrClippedTextInTheMainWindowItsPanelsAndTheLayerDialog) {
    const testsupport::ScopedFontScale font(GetParam());
    feedback::ScopedScriptedDialogs dialogs;
    auto form = createMainWindow();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    settle();
    expectTidy(form.get(), "before a dataset");

    const QString file = testsupport::sampleDatasetFile();
    md_functions::LoadProject(QFileInfo(file).fileName(), file, *form->Map1, *form->legend);
    ASSERT_GT(form->Map1->layerCount(), 20);
    ASSERT_TRUE(query::chooseQuery(*form, "Wind by Power Density"));
    form->cmdUpdateMap->click();
    ASSERT_TRUE(form->cmdShowData->isVisible()) << "the query found nothing";

    const QStringList names = siting::QueryNames();
    for (int i = 1; i < names.size(); ++i) {
        ASSERT_TRUE(query::chooseQuery(*form, names[i]));
        settle();
        expectTidy(form.get(), names[i]);
    }

    form->optEditLegend[1]->click();
    settle();
    ASSERT_TRUE(form->fraLegend->isVisible());
    expectTidy(form.get(), "legend panel");

    // A larger window gives the map and the legend the room.
    const QSize map = form->Map1->size();
    const int legendHeight = form->fraLegend->height();
    form->resize(form->size() + QSize(300, 200));
    settle();
    // (The map's note may take fewer lines in a wider window, which leaves the map more.)
    EXPECT_EQ(form->Map1->width(), map.width() + 300);
    EXPECT_GE(form->Map1->height(), map.height() + 200);
    EXPECT_GE(form->fraLegend->height(), legendHeight + 200);
    expectTidy(form.get(), "legend panel in a larger window");

    form->cmdChangeLayers->click();
    frmShowLayersDialog* dialog = form->layerDialog();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    settle();
    expectTidy(dialog, "layer dialog");
    dialog->CancelButton->click();
    EXPECT_TRUE(dialogs->shown.isEmpty()) << dialogs->texts().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Fonts, WindowLayout, ::testing::Values(1.0, 1.5),
                         [](const auto& info) { return info.param == 1.0 ? "Default" : "Larger"; });

}  // namespace
