// The model's pages in the summary window as a user reads them: words whole at the desktop's
// font and at one and a half times it, rows named apart, and notes that point to the help.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>

#include "model/frmZORVELSummary.h"
#include "tests/support/layout_check.h"
#include "zorvel/project.h"

namespace {

QString readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Every line of the shown page that starts inside a word, with the text around the break.
QStringList wordsBroken(const QTextDocument& doc) {
    QStringList broken;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextLayout* layout = b.layout();
        const QString text = b.text();
        for (int i = 1; layout && i < layout->lineCount(); ++i) {
            const int at = layout->lineAt(i).textStart();
            if (at > 0 && at < text.size() && text[at - 1].isLetterOrNumber() &&
                text[at].isLetterOrNumber())
                broken << text.left(at) + "|" + text.mid(at);
        }
    }
    return broken;
}

class SummaryPages : public ::testing::Test {
  protected:
    void SetUp() override {
        const QString templ =
            QCoreApplication::applicationDirPath() + "/ZORVEL_docs/Small_village_Pallix.zvx";
        project.OpenFile(templ.toStdString());
        project.CalculateBlocking();
        ASSERT_GT(project.ResultCount(0), 0);
        input = tmp.filePath("InputSummary.html");
        system = tmp.filePath("SystemSummary0.html");
        project.WriteInputSummary(input.toStdString());
        project.WriteSystemSummary(system.toStdString(), project.GetResult(0, 0));
    }
    QTemporaryDir tmp;
    zorvel::Project project;
    QString input, system;
};

TEST_F(SummaryPages, NoWordBreaksInsideAtEitherFontSize) {
    for (double scale : {1.0, 1.5}) {
        const testsupport::ScopedFontScale font(scale);
        frmZORVELSummary window(nullptr);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        for (const QString& page : {input, system}) {
            window.navigate(page);
            QCoreApplication::processEvents();
            const QTextDocument& doc = *window.wbZORVELSummary->document();
            ASSERT_TRUE(page == input || doc.toPlainText().contains("September"));
            EXPECT_EQ(wordsBroken(doc).join("\n").toStdString(), "")
                << "at " << scale << "x in " << page.toStdString();
        }
    }
}

TEST_F(SummaryPages, ComponentRowsAreNamedApartAndNotesPointToTheHelp) {
    const QString html = readAll(system);
    const int start = html.indexOf("Net present cost by component");
    ASSERT_GE(start, 0);
    const QString table = html.mid(start, html.indexOf("</table>", start) - start);
    QStringList labels;
    static const QRegularExpression firstCell("<tr[^>]*><td>(?:<b>)?([^<]*)");
    for (auto m = firstCell.globalMatch(table); m.hasNext();) labels << m.next().captured(1);
    ASSERT_GE(labels.size(), 3);
    EXPECT_EQ(labels.removeDuplicates(), 0) << labels.join(", ").toStdString();
    EXPECT_TRUE(labels.contains("System fixed costs"));
    EXPECT_EQ(labels.last(), "Whole system");

    const QString notes = readAll(input);
    EXPECT_FALSE(notes.contains("README")) << notes.toStdString();
    EXPECT_TRUE(notes.contains("Pallix Help (Help menu)"));
}

}  // namespace
