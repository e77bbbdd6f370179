#include "importer/attach.h"

#include <QAction>
#include <QDir>
#include <QMenu>

#include "dataset/dataset_loading.h"
#include "importer/frmImport.h"
#include "importer/importer.h"
#include "shell/dataset_opening.h"
#include "shell/frmMain.h"

namespace importer {

void attach(frmMain& f) {
    auto* action = new QAction(QStringLiteral("Import Dataset..."), &f);
    f.mnuFile->insertAction(f.mnuSave, action);
    QObject::connect(action, &QAction::triggered, &f, [&f] {
        auto* window = f.findChild<frmImport*>();
        if (!window) {
            window = new frmImport(&f);
            window->onImported = [&f](const QString& dir) {
                md_functions::LoadProject(kOpeningFile, QDir(dir).filePath(kOpeningFile), *f.Map1,
                                          *f.legend);
            };
        }
        window->show();
        window->raise();
        window->activateWindow();
    });
}

}  // namespace importer
