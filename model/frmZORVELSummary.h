#pragma once
// The browser window that shows the model's HTML pages: the input summary and each system's
// summary. The page fills the window; closing it (or Escape) only hides it.

#include <QWidget>

class QTextBrowser;

class frmZORVELSummary : public QWidget {
    Q_OBJECT
public:
    explicit frmZORVELSummary(QWidget* owner);

    QTextBrowser* wbZORVELSummary = nullptr;

    // Shows the page of that file, read afresh even when it is the page already shown.
    void navigate(const QString& path);

  protected:
    void closeEvent(QCloseEvent* e) override;
};
