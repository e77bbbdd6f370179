#pragma once
// The program's one way of reporting an unexpected failure, and the red status message used
// for input problems.

#include <QString>
#include <functional>
#include <utility>

namespace md_functions {

// Modal message box with an OK button and the icon of iconCode (48: warning). Called inside a
// catch block, the text gets the reason of the exception being handled on a line of its own.
void ErrorMessage(const QString& message, int iconCode);
// Runs the work of a window's event handler, the boundary where its failures are caught: one
// that fails is reported once, with the handler's fixed text and the reason.
template <class Work>
void reportingFailure(const QString& text, Work&& work) {
    try {
        std::forward<Work>(work)();
    } catch (...) {
        ErrorMessage(text, 48);
    }
}
// The message in red in the main window's status label, shown at once; no message box.
void DisplayError(const QString& message);
// Where DisplayError shows its message: the main window sets it while it exists. Without one,
// DisplayError reports its own failure.
void setStatusLine(std::function<void(const QString&)> show);

}  // namespace md_functions
