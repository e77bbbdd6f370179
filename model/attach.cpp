#include "model/attach.h"

#include <QComboBox>

#include "model/frmZORVEL.h"
#include "shell/frmMain.h"

namespace model {

frmZORVEL& zorvelWindow(frmMain& main) {
    if (auto* window = main.findChild<frmZORVEL*>(QString(), Qt::FindDirectChildrenOnly))
        return *window;
    return *new frmZORVEL(main);
}

void attach(frmMain& main) {
    main.hooks.showZorvel = [](frmMain& m) {
        frmZORVEL& window = zorvelWindow(m);
        window.show();
        // In front of the main window the click came from, and the one the keys go to.
        window.raise();
        window.activateWindow();
        window.GetGISData();
    };
    main.hooks.selectFirstApplication = [](frmMain& m) {
        zorvelWindow(m).cboZORVELApplication->setCurrentIndex(0);
    };
}

}  // namespace model
