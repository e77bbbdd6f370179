#pragma once
// The browser window that shows the model's HTML pages: the input summary and each system's
// summary. Closing it only hides it.

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
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void Form_Resize();
};
