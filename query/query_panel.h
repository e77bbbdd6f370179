#pragma once
// The query parameter panel: which controls each query shows, where, and what their lists
// hold. Positions are in twips inside the panel.

#include <QRect>
#include <QString>

class QWidget;
class frmMain;

namespace md_functions {

void SetQueryInputControls(frmMain& f);
void SetQueryListbox(frmMain& f);
void FillWindDensityDropDowns(frmMain& f);
void FillLandUseDropDown(frmMain& f);
int GetSolarResourceLayerID(frmMain& f, const QString& description);

// Puts the panel's controls at their designed places (the window's starting state).
void SetPanelFormState(frmMain& f);
// Where a panel control was last placed, in twips (left, top, width, height).
QRect PanelTwips(const QWidget* control);

}  // namespace md_functions
