#include "shell/help_viewer.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace shell {

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Pallix Help"));
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    auto* back = new QPushButton(QStringLiteral("Back"), this);
    auto* forward = new QPushButton(QStringLiteral("Forward"), this);
    auto* contents = new QPushButton(QStringLiteral("Contents"), this);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(contents);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    browser = new QTextBrowser(this);
    browser->setOpenExternalLinks(true);
    layout->addWidget(browser, 1);

    back->setEnabled(false);
    forward->setEnabled(false);
    connect(browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(back, &QPushButton::clicked, browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser, &QTextBrowser::forward);
    connect(contents, &QPushButton::clicked, this, [this] {
        if (!home_.isEmpty()) browser->setSource(QUrl::fromLocalFile(home_));
    });
    const int line = fontMetrics().height();
    resize(48 * line, 40 * line);
}

void HelpViewer::keyPressEvent(QKeyEvent* e) {
    if (e->matches(QKeySequence::Cancel))
        close();
    else
        QWidget::keyPressEvent(e);
}

void HelpViewer::showPage(const QString& path) {
    home_ = QFileInfo(path).absoluteFilePath();
    browser->setSearchPaths({QFileInfo(path).absolutePath()});
    browser->setSource(QUrl::fromLocalFile(home_));
}

}  // namespace shell
