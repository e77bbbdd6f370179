#pragma once

class frmMain;

namespace info {

// Lets the main window's Info tool open the point report.
void attach(frmMain& main);

}  // namespace info
