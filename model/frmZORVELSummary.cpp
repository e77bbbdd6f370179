#include "model/frmZORVELSummary.h"

#include <QCloseEvent>
#include <QTextBrowser>
#include <QUrl>

#include "shell/twips.h"
#include "shell/window_registry.h"

frmZORVELSummary::frmZORVELSummary(QWidget* owner) : QWidget(owner, Qt::Window) {
    setWindowTitle(QStringLiteral("Zorvel Summary"));
    wbZORVELSummary = new QTextBrowser(this);
    wbZORVELSummary->setObjectName(QStringLiteral("wbZORVELSummary"));
    wbZORVELSummary->setOpenExternalLinks(true);
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

// The margins are kept against the window's outer size, frame included.
void frmZORVELSummary::Form_Resize() {
    const double width = shell::pixelsToTwips(frameGeometry().width());
    const double height = shell::pixelsToTwips(frameGeometry().height());
    QSize size = wbZORVELSummary->size();
    if (width > 270)
        size.setWidth(std::min(shell::twipsToPixels(width - 270), this->width()));
    if (height > 630)
        size.setHeight(std::min(shell::twipsToPixels(height - 630), this->height()));
    wbZORVELSummary->resize(size);
}

void frmZORVELSummary::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Form_Resize();
}

void frmZORVELSummary::closeEvent(QCloseEvent* e) {
    // Closed from its title bar it is only hidden; it goes with the program.
    e->ignore();
    hide();
}
