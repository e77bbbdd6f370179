#pragma once
// The program's help viewer: the HTML help pages shipped next to the program, in a browser
// window with Back, Forward and Contents.

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

  private:
    QString home_;
};

}  // namespace shell
