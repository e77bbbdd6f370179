#include "shell/error_report.h"

#include <QLabel>

#include "shell/dialog_service.h"
#include "shell/frmMain.h"
#include "siting/failure_text.h"

namespace md_functions {

void ErrorMessage(const QString& message, int iconCode) {
    const QString text = siting::FailureText(message);
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
