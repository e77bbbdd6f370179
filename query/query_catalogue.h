#pragma once
// The query list, whether a query (or solar resource) can run on the loaded layers, and what
// choosing a query or a solar resource does.

#include <QString>

class QComboBox;
class frmMain;

namespace md_functions {

void FillcboSelectQuery(frmMain& f, QComboBox& list);
bool isQueryPossible(const QString& name, QString& message);
void getMaxWindDensity();
void HandleQuerySelect(frmMain& f);
// The next selection of a solar resource is the program's own and is not checked (false: it is).
void SkipNextSolarCheck(bool skip = true);

}  // namespace md_functions

namespace query {

// Handlers of the main window's query controls.
void cboSelectQuery_Click(frmMain& f);
void cboQueryDropDown3_Click(frmMain& f);

}  // namespace query
