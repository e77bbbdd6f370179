// The main window from the keyboard, and what it says about commands that cannot run yet.
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBrowser>

#include "tests/shell/main_window_fixture.h"

namespace {

const QString kOpenFirst = "Open a dataset first (File > Open Dataset...).";

class KeysTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(form.get(), Qt::Key(key), modifiers);
    }
};

TEST_F(KeysTest, ShortcutsOpenADatasetAndRunPrintAndSaveOnlyWhenTheyCan) {
    int prints = 0, saves = 0;
    bool result = false;
    form->hooks.print = [&](frmMain&) { ++prints; };
    form->hooks.saveResult = [&](frmMain&) { ++saves; };
    form->hooks.hasResult = [&] { return result; };

    press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(dialogs->fileDialogTitles, QStringList{"Open Dataset"});
    press(Qt::Key_P, Qt::ControlModifier);
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(prints + saves, 0);

    openDataset();
    press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(prints, 1);
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saves, 0);  // nothing found yet
    result = true;
    form->Map1->refresh();
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saves, 1);
}

TEST_F(KeysTest, AltFOpensTheFileMenuAndF1TheHelpWhichEscapeCloses) {
    press(Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->mnuFile->isVisible(); }));
    QTest::keyClick(form->mnuFile, Qt::Key_Escape);
    EXPECT_FALSE(form->mnuFile->isVisible());

    QFile page(tmp.filePath("index.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><h1>Keys</h1></body></html>");
    page.close();
    form->helpFile = page.fileName();
    press(Qt::Key_F1);
    auto* browser = form->findChild<QTextBrowser*>();
    ASSERT_TRUE(browser);
    QWidget* viewer = browser->window();
    ASSERT_TRUE(viewer->isVisible());
    viewer->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer));
    QTest::keyClick(viewer, Qt::Key_Escape);
    EXPECT_FALSE(viewer->isVisible());
}

TEST_F(KeysTest, AboutNamesTheProgramAndItsVersion) {
    form->mnuAbout->trigger();
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown[0].title, "About Pallix");
    EXPECT_TRUE(dialogs->shown[0].text.startsWith("Pallix v 1.3.0\n"))
        << dialogs->shown[0].text.toStdString();
    EXPECT_EQ(dialogs->shown[0].buttons, feedback::mbOKOnly);
}

TEST_F(MainWindowTest, CommandsThatCannotRunYetAreOffAndSayWhy) {
    bool result = false;
    form->hooks.hasResult = [&] { return result; };
    form->UpdateInterface();
    for (QWidget* w :
         {static_cast<QWidget*>(form->optPanZoom[3]), static_cast<QWidget*>(form->cmdUpdateMap),
          static_cast<QWidget*>(form->cboSelectQuery)}) {
        EXPECT_FALSE(w->isEnabled());
        EXPECT_EQ(w->toolTip(), kOpenFirst);
    }
    for (QAction* a : {form->mnuPrint, form->mnuSave}) {
        EXPECT_FALSE(a->isEnabled());
        EXPECT_EQ(a->toolTip(), kOpenFirst);
    }

    openDataset();
    for (QWidget* w :
         {static_cast<QWidget*>(form->optPanZoom[3]), static_cast<QWidget*>(form->cmdUpdateMap)}) {
        EXPECT_TRUE(w->isEnabled());
        EXPECT_NE(w->toolTip(), kOpenFirst);
    }
    EXPECT_TRUE(form->mnuPrint->isEnabled());
    EXPECT_FALSE(form->mnuSave->isEnabled());
    EXPECT_EQ(form->mnuSave->toolTip(), "Run a query that finds areas first (Update Map).");

    result = true;
    form->Map1->refresh();  // as at the end of a query run
    EXPECT_TRUE(form->mnuSave->isEnabled());
    EXPECT_EQ(form->mnuSave->toolTip(), "Save the areas of the last query as a shapefile");
}

}  // namespace
