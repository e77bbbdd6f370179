#include "shell/dialog_service.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace shell {
namespace {

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

std::unique_ptr<DialogService>& current() {
    static std::unique_ptr<DialogService> service = std::make_unique<RealDialogs>();
    return service;
}

}  // namespace

DialogService& dialogs() { return *current(); }

std::unique_ptr<DialogService> setDialogService(std::unique_ptr<DialogService> service) {
    auto previous = std::move(current());
    current() = service ? std::move(service) : std::make_unique<RealDialogs>();
    return previous;
}

int ScriptedDialogs::messageBox(const QString& text, int buttons, int icon, const QString& title) {
    shown.append({text, buttons, icon, title});
    if (!answers.isEmpty()) return answers.takeFirst();
    return buttons == mbYesNo ? answerYes : answerOK;
}

QString ScriptedDialogs::openFileName(QWidget*, const QString& title, const QString&,
                                      const QString&) {
    fileDialogTitles.append(title);
    return openFiles.isEmpty() ? QString() : openFiles.takeFirst();
}

QString ScriptedDialogs::saveFileName(QWidget*, const QString& title, const QString&,
                                      const QString&, const QString&) {
    fileDialogTitles.append(title);
    return saveFiles.isEmpty() ? QString() : saveFiles.takeFirst();
}

QStringList ScriptedDialogs::texts() const {
    QStringList result;
    for (const auto& s : shown) result.append(s.text);
    return result;
}

ScopedScriptedDialogs::ScopedScriptedDialogs() {
    auto scripted = std::make_unique<ScriptedDialogs>();
    scripted_ = scripted.get();
    previous_ = setDialogService(std::move(scripted));
}

ScopedScriptedDialogs::~ScopedScriptedDialogs() { setDialogService(std::move(previous_)); }

}  // namespace shell
