#pragma once

#include <QString>

class frmMain;

namespace query {

// Plugs the query subsystem into a main window before its load runs: the load hooks, the
// drawing of results at each redraw, "Save Result", and the handlers of the query controls.
void attach(frmMain& f);

// Chooses a query (or a solar resource) by its exact text as a user pick does; false when
// the list has no such entry.
bool chooseQuery(frmMain& f, const QString& name);
bool chooseSolarResource(frmMain& f, const QString& description);

}  // namespace query
