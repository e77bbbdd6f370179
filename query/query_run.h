#pragma once
// The "Update Map" run.

#include <QString>

class frmMain;

namespace md_query_functions2 {

// Clears the result set and runs the procedure of the named query.
void fill_cShapes_collection(frmMain& f, const QString& name);

}  // namespace md_query_functions2

namespace query {

// The "Update Map" button; while a run is in progress it reads "Cancel" and a press cancels.
void cmdUpdateMap_Click(frmMain& f);

}  // namespace query
