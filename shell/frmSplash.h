#pragma once
// The splash window: shows the version, loads the main window and the layer dialog behind it,
// checks the dialog, and stays until the user clicks it or presses a key.

#include <QWidget>
#include <functional>
#include <memory>

#include "shell/frmMain.h"

class QFrame;
class QLabel;
class frmShowLayersDialog;

namespace shell {
class LandscapePicture;
}

class frmSplash : public QWidget {
    Q_OBJECT
  public:
    using MainWindowLoader = std::function<std::unique_ptr<frmMain>()>;
    using LayerDialogLoader = std::function<frmShowLayersDialog*()>;

    // loadMainWindow builds and loads the main window (hidden). endProgram ends the program at
    // once (by default the process exits). loadLayerDialog builds the layer dialog (by default
    // one with MAX_LAYERS check boxes).
    explicit frmSplash(MainWindowLoader loadMainWindow, std::function<void()> endProgram = {},
                       LayerDialogLoader loadLayerDialog = {});
    ~frmSplash() override;

    QFrame* fraSplash = nullptr;
    shell::LandscapePicture* imgSplash = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblContinue = nullptr;  // how to go on: a click or any key

    void Form_Load();
    // Dismissal: unloads the splash and shows the main window.
    void Form_Unload();

    frmMain* mainWindow() const { return main_.get(); }
    bool programEnded() const { return ended_; }

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    MainWindowLoader loadMainWindow_;
    std::function<void()> endProgram_;
    LayerDialogLoader loadLayerDialog_;
    std::unique_ptr<frmMain> main_;
    bool ended_ = false;
    bool dismissed_ = false;
};
