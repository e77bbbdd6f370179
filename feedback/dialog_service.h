#pragma once
// Every message box and file dialog of the program goes through one service, so tests (and the
// headless query runner) can replace it with a scripted one that records and answers. The windows
// install their dialogs as the default; without them, messages go to standard error.

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class QWidget;

namespace feedback {

// Buttons and icon codes of a message box, and its answers.
constexpr int mbOKOnly = 0;
constexpr int mbYesNo = 4;
constexpr int iconNone = 0;
constexpr int iconWarning = 48;
constexpr int answerOK = 1;
constexpr int answerYes = 6;
constexpr int answerNo = 7;

// The title of every message box of the program.
inline const QString kProgramTitle = QStringLiteral("Pallix");

class DialogService {
  public:
    virtual ~DialogService() = default;
    // Shows a modal message box; returns answerOK, answerYes or answerNo.
    virtual int messageBox(const QString& text, int buttons = mbOKOnly, int icon = iconNone,
                           const QString& title = kProgramTitle) = 0;
    // File dialogs; an empty result means the user cancelled.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& directory,
                                 const QString& filter) = 0;
    // Asks before overwriting; adds defaultSuffix (without dot) to a name typed without one.
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& directory,
                                 const QString& filter, const QString& defaultSuffix) = 0;
};

// The service in use: the one installed, else the default.
DialogService& dialogs();
// Installs a service (null returns to the default); returns the one installed before (null for
// the default).
std::unique_ptr<DialogService> setDialogService(std::unique_ptr<DialogService> service);
// Replaces the default: the program with windows makes its real dialogs the default. Until then
// the default prints each message on standard error and answers Yes or OK.
void setDefaultDialogService(std::unique_ptr<DialogService> service);

// Records every message box and answers from scripts: message boxes with the queued answers
// (Yes for a Yes/No box and OK otherwise once the queue is empty), file dialogs with the queued
// names (empty, i.e. cancelled, once that queue is empty).
class ScriptedDialogs : public DialogService {
  public:
    struct Shown {
        QString text;
        int buttons = mbOKOnly;
        int icon = iconNone;
        QString title;
    };
    QList<Shown> shown;
    QList<int> answers;
    QStringList openFiles;
    QStringList saveFiles;
    QStringList fileDialogTitles;

    int messageBox(const QString& text, int buttons, int icon, const QString& title) override;
    QString openFileName(QWidget*, const QString& title, const QString&, const QString&) override;
    QString saveFileName(QWidget*, const QString& title, const QString&, const QString&,
                         const QString&) override;
    QStringList texts() const;
};

// Installs a ScriptedDialogs for the lifetime of this object and restores the previous service.
class ScopedScriptedDialogs {
  public:
    ScopedScriptedDialogs();
    ~ScopedScriptedDialogs();
    ScriptedDialogs* operator->() { return scripted_; }
    ScriptedDialogs& operator*() { return *scripted_; }

  private:
    ScriptedDialogs* scripted_;
    std::unique_ptr<DialogService> previous_;
};

}  // namespace feedback
