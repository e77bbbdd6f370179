#include "feedback/dialog_service.h"

#include <cstdio>

namespace feedback {
namespace {

// Without windows: the message on standard error, answered as a scripted box is.
class TextDialogs : public DialogService {
  public:
    int messageBox(const QString& text, int buttons, int, const QString& title) override {
        std::fprintf(stderr, "%s: %s\n", title.toLocal8Bit().constData(),
                     text.toLocal8Bit().constData());
        return buttons == mbYesNo ? answerYes : answerOK;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&,
                         const QString&) override {
        return {};
    }
};

std::unique_ptr<DialogService>& installed() {
    static std::unique_ptr<DialogService> service;
    return service;
}

std::unique_ptr<DialogService>& fallback() {
    static std::unique_ptr<DialogService> service = std::make_unique<TextDialogs>();
    return service;
}

}  // namespace

DialogService& dialogs() { return installed() ? *installed() : *fallback(); }

std::unique_ptr<DialogService> setDialogService(std::unique_ptr<DialogService> service) {
    auto previous = std::move(installed());
    installed() = std::move(service);
    return previous;
}

void setDefaultDialogService(std::unique_ptr<DialogService> service) {
    fallback() = service ? std::move(service) : std::make_unique<TextDialogs>();
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

}  // namespace feedback
