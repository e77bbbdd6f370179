#pragma once

class frmMain;

namespace md_functions {

// Whether the chosen query may run with the panel's values; the first fault is shown in red
// in the status label.
bool CheckInputs(frmMain& f);

}  // namespace md_functions
