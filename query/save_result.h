#pragma once
// "Save Result": the result set written as a polygon shapefile with one numeric field.

class frmMain;

namespace md_query_functions2 {

void SaveTrackingLayer(frmMain& f);

}  // namespace md_query_functions2

namespace query {

void mnuSave_Click(frmMain& f);

}  // namespace query
