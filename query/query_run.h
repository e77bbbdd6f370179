#pragma once
// The "Update Map" run.

#include "siting/query_parameters.h"

class frmMain;

namespace query {

// What the parameter panel holds for the chosen query.
siting::ParameterInput PanelInput(const frmMain& f);

// The "Update Map" button; while a run is in progress it reads "Cancel" and a press cancels.
void cmdUpdateMap_Click(frmMain& f);

}  // namespace query
