// Pallix: the splash window loads the main window, then the user takes over.
#include <QApplication>

#include "app/main_window_factory.h"
#include "shell/frmSplash.h"
#include "shell/widget_dialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pallix"));
    QApplication::setApplicationVersion(QStringLiteral("1.3.0"));
    shell::useWidgetDialogs();

    frmSplash splash(createMainWindow);
    splash.show();
    splash.activateWindow();
    splash.setFocus();
    // Paint the splash before the main window loads behind it.
    QApplication::processEvents();
    splash.Form_Load();
    return app.exec();
}
