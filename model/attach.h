#pragma once
// Plugs the model window into the main window: the Zorvel tool and the main window's load.

class frmMain;
class frmZORVEL;

namespace model {

void attach(frmMain& main);
// The model window of that main window, created hidden on first use.
frmZORVEL& zorvelWindow(frmMain& main);

}  // namespace model
