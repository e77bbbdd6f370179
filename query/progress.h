#pragma once
// Progress text of a running query in the main window's status label.

#include <QString>

class frmMain;

namespace md_query_functions2 {

// Sets the status caption. Setting and painting every change would cost more than the query
// itself, so the label takes the text and is repainted at most every few tens of
// milliseconds, and at once when paintNow is set; FlushCaption shows a text held back.
void SetCaption(frmMain& f, const QString& text, bool paintNow = false);
void FlushCaption(frmMain& f);
// Lets pending window events run (a "Cancel" press among them), at most every few
// milliseconds: a run calls it far more often than events can come.
void YieldEvents();

}  // namespace md_query_functions2
