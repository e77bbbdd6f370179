#pragma once

class frmMain;

namespace print {

// Lets the main window's "Print" menu entry open the print window.
void attach(frmMain& main);

}  // namespace print
