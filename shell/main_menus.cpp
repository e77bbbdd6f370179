// The main window's menus and their keys: File (Open Dataset, Save Result, Print, Exit) and
// Help (the help pages, About).
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <stdexcept>

#include "dataset/dataset_loading.h"
#include "feedback/dialog_service.h"
#include "feedback/error_report.h"
#include "shell/dataset_opening.h"
#include "shell/frmMain.h"
#include "shell/help_viewer.h"
#include "shell/version.h"
#include "shell/window_registry.h"

void frmMain::createMenus() {
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    // Entries that cannot run say why in their tooltips.
    mnuFile->setToolTipsVisible(true);
    mnuOpen = mnuFile->addAction(QStringLiteral("&Open Dataset..."));
    mnuSave = mnuFile->addAction(QStringLiteral("&Save Result..."));
    mnuPrint = mnuFile->addAction(QStringLiteral("&Print..."));
    mnuFile->addSeparator();
    mnuExit = mnuFile->addAction(QStringLiteral("E&xit"));
    mnuOpen->setShortcut(QKeySequence::Open);
    mnuSave->setShortcut(QKeySequence::Save);
    mnuPrint->setShortcut(QKeySequence::Print);

    mnuHelpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp = mnuHelpMenu->addAction(QStringLiteral("Pallix &Help"));
    mnuHelp->setShortcut(QKeySequence::HelpContents);
    mnuAbout = mnuHelpMenu->addAction(QStringLiteral("&About Pallix..."));

    connect(mnuOpen, &QAction::triggered, this, &frmMain::mnuOpen_Click);
    connect(mnuSave, &QAction::triggered, this, [this] {
        if (hooks.saveResult) hooks.saveResult(*this);
    });
    connect(mnuPrint, &QAction::triggered, this, [this] {
        if (hooks.print) hooks.print(*this);
    });
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(mnuHelp, &QAction::triggered, this, &frmMain::mnuHelp_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmMain::mnuAbout_Click);
}

void frmMain::mnuOpen_Click() {
    const QString file = feedback::dialogs().openFileName(
        this, QStringLiteral("Open Dataset"), md_functions::datasetState().dataDirectory,
        QStringLiteral("ESRI Shapefiles (*.shp)"));
    if (file.isEmpty()) return;
    md_functions::LoadProject(QFileInfo(file).fileName(), file, *Map1, *legend);
    // Whatever was loaded, or nothing, no result of the dataset before stays.
    if (hooks.resetResults) hooks.resetResults(*this);
}

void frmMain::mnuHelp_Click() {
    md_functions::reportingFailure(
        QStringLiteral(" Error while trying to open Help. Error Source:frmMain.mnuHelp_Click()"),
        [&] {
            if (!QFileInfo(helpFile).isFile()) throw std::runtime_error("help file missing");
            auto* viewer = qobject_cast<shell::HelpViewer*>(helpViewer_);
            if (!viewer) {
                viewer = new shell::HelpViewer(this);
                helpViewer_ = viewer;
                shell::registerWindow(viewer);
            }
            viewer->showPage(helpFile);
            viewer->show();
            viewer->raise();
            viewer->activateWindow();
        });
}

void frmMain::mnuAbout_Click() {
    feedback::dialogs().messageBox(
        QStringLiteral("Pallix ") + shell::versionText() +
            QStringLiteral("\n\nFinds sites for wind and solar power: siting queries over a "
                           "dataset of shapefiles, reports of what lies at a point, micro-grid "
                           "designs from the Zorvel model, and printed maps."),
        feedback::mbOKOnly, feedback::iconNone, QStringLiteral("About Pallix"));
}
