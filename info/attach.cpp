#include "info/attach.h"

#include "info/frmInfo.h"
#include "shell/frmMain.h"

namespace info {

void attach(frmMain& main) {
    main.hooks.showInfo = [](frmMain& owner) {
        // Created on first use, then hidden and shown again.
        frmInfo* window = owner.findChild<frmInfo*>(QString(), Qt::FindDirectChildrenOnly);
        if (!window) window = new frmInfo(owner);
        window->showReport();
    };
}

}  // namespace info
