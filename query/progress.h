#pragma once
// Progress text of a running query in the main window's status label.

#include <QString>

class frmMain;

namespace md_query_functions2 {

// Sets the status caption. Painting every change would cost more than the query itself, so
// the label (not the whole window) is repainted at most every few tens of milliseconds, and
// always when paintNow is set.
void SetCaption(frmMain& f, const QString& text, bool paintNow = false);
// Lets pending window events run (a "Cancel" press among them).
void YieldEvents();

}  // namespace md_query_functions2
