#include "feedback/error_report.h"

#include "feedback/dialog_service.h"
#include "feedback/failure_text.h"

namespace md_functions {

namespace {
std::function<void(const QString&)>& statusLine() {
    static std::function<void(const QString&)> show;
    return show;
}
}  // namespace

void ErrorMessage(const QString& message, int iconCode) {
    const QString text = feedback::FailureText(message);
    try {
        feedback::dialogs().messageBox(text, feedback::mbOKOnly, iconCode);
    } catch (...) {
        try {
            feedback::dialogs().messageBox(QStringLiteral("Error in ErrorMessage() procedure"));
        } catch (...) {
        }
    }
}

void DisplayError(const QString& message) {
    if (!statusLine()) {
        ErrorMessage(QStringLiteral("Error Source:md_functions.DisplayError()"), 48);
        return;
    }
    statusLine()(message);
}

void setStatusLine(std::function<void(const QString&)> show) { statusLine() = std::move(show); }

}  // namespace md_functions
