#pragma once
// The query parameter panel: which controls each query shows, in which row of the panel, and
// what their lists hold.

#include <QString>

class frmMain;

namespace md_functions {

void SetQueryInputControls(frmMain& f);
void SetQueryListbox(frmMain& f);
void FillWindDensityDropDowns(frmMain& f);
void FillLandUseDropDown(frmMain& f);

}  // namespace md_functions
