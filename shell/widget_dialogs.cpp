#include "shell/widget_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "feedback/dialog_service.h"

namespace shell {
namespace {

using namespace feedback;


class RealDialogs : public DialogService {
  public:
    int messageBox(const QString& text, int buttons, int icon, const QString& title) override {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(title);
        box.setText(text);
        box.setIcon(icon == iconWarning ? QMessageBox::Warning : QMessageBox::NoIcon);
        if (buttons == mbYesNo) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            return box.exec() == QMessageBox::Yes ? answerYes : answerNo;
        }
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return answerOK;
    }

    QString openFileName(QWidget* parent, const QString& title, const QString& directory,
                         const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, title, directory, filter);
    }

    QString saveFileName(QWidget* parent, const QString& title, const QString& directory,
                         const QString& filter, const QString& defaultSuffix) override {
        QFileDialog dialog(parent, title, directory, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
        dialog.setDefaultSuffix(defaultSuffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        return dialog.selectedFiles().constFirst();
    }
};

}  // namespace

void useWidgetDialogs() { setDefaultDialogService(std::make_unique<RealDialogs>()); }

}  // namespace shell
