#include "model/frmZORVELSummary.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>

#include "shell/window_registry.h"

frmZORVELSummary::frmZORVELSummary(QWidget* owner) : QWidget(owner, Qt::Window) {
    setWindowTitle(QStringLiteral("Zorvel Summary"));
    wbZORVELSummary = new QTextBrowser;
    wbZORVELSummary->setObjectName(QStringLiteral("wbZORVELSummary"));
    wbZORVELSummary->setOpenExternalLinks(true);
    // Narrow columns scroll sideways rather than break a word ("Septemb er", "Comp onent").
    wbZORVELSummary->setWordWrapMode(QTextOption::WordWrap);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(wbZORVELSummary);
    // Escape closes it as its title bar does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    resize(720, 640);
    shell::registerWindow(this);
}

void frmZORVELSummary::navigate(const QString& path) {
    const QUrl url = QUrl::fromLocalFile(path);
    // The model rewrites the same file names on every run, and the browser would keep the old
    // page for an unchanged address.
    if (wbZORVELSummary->source() == url)
        wbZORVELSummary->reload();
    else
        wbZORVELSummary->setSource(url);
}

void frmZORVELSummary::closeEvent(QCloseEvent* e) {
    // Closed from its title bar it is only hidden; it goes with the program.
    e->ignore();
    hide();
}
