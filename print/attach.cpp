#include "print/attach.h"

#include "mapview/map.h"
#include "print/frmPrint.h"
#include "shell/frmMain.h"

namespace print {

void attach(frmMain& main) {
    main.hooks.print = [](frmMain& owner) {
        if (owner.Map1->layerCount() == 0) return;
        // Loaded once and shown again until the user closes it.
        frmPrint* window = owner.findChild<frmPrint*>(QString(), Qt::FindDirectChildrenOnly);
        if (!window) {
            window = new frmPrint(owner);
            window->Form_Load();
        }
        window->show();
        window->raise();
        window->activateWindow();
    };
}

}  // namespace print
