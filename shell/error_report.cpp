#include "shell/error_report.h"

#include <QLabel>
#include <exception>

#include "shell/dialog_service.h"
#include "shell/frmMain.h"

namespace md_functions {

namespace {

// The words of the exception being handled, when called inside a catch block.
QString reasonBeingHandled() {
    const std::exception_ptr current = std::current_exception();
    if (!current) return {};
    try {
        std::rethrow_exception(current);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what()).trimmed();
    } catch (...) {
        return {};
    }
}

}  // namespace

void ErrorMessage(const QString& message, int iconCode) {
    QString text = message;
    if (const QString reason = reasonBeingHandled(); !reason.isEmpty() && !message.contains(reason))
        text += '\n' + reason;
    try {
        shell::dialogs().messageBox(text, shell::mbOKOnly, iconCode);
    } catch (...) {
        try {
            shell::dialogs().messageBox(QStringLiteral("Error in ErrorMessage() procedure"));
        } catch (...) {
        }
    }
}

void DisplayError(const QString& message) {
    frmMain* form = frmMain::instance();
    if (!form || !form->lblWorking) {
        ErrorMessage(QStringLiteral("Error Source:md_functions.DisplayError()"), 48);
        return;
    }
    form->setWorkingColor(QColor(255, 0, 0));
    form->lblWorking->setText(message);
    form->lblWorking->setVisible(true);
    form->repaint();
}

}  // namespace md_functions
