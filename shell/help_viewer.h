#pragma once
// The program's help viewer: the HTML help pages shipped next to the program, in a browser
// window with Back, Forward and Contents. Escape closes it.

#include <QWidget>

class QTextBrowser;

namespace shell {

class HelpViewer : public QWidget {
    Q_OBJECT
  public:
    explicit HelpViewer(QWidget* parent = nullptr);
    // Shows the page (a local HTML file) at its default topic.
    void showPage(const QString& path);

    QTextBrowser* browser = nullptr;

  protected:
    void keyPressEvent(QKeyEvent* e) override;  // Escape closes the window

  private:
    QString home_;
};

}  // namespace shell
