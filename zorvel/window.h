// The zorvel program's window: the project's inputs, Calculate / Stop with progress, and the
// sorted results with each system's summary.
#pragma once

#include <QMainWindow>
#include <memory>

#include "zorvel/project.h"

class QAction;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QTableWidget;
class QTabWidget;
class QTextBrowser;
class QTimer;

namespace zorvel {

class ZorvelWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit ZorvelWindow(QWidget* parent = nullptr);
    ~ZorvelWindow() override;

    // Opens a project file; on failure shows the error and keeps the window as it was.
    bool openProject(const QString& path);
    // Writes the project's synthetic hourly year as CSV; on failure shows the error.
    bool exportYear(const QString& path);
    Project& project() { return *project_; }

    // For tests: the widgets.
    QTextBrowser* inputsBrowser() const { return inputs_; }
    QTextBrowser* summaryBrowser() const { return summary_; }
    QTableWidget* resultsTable() const { return table_; }
    QAction* calculateAction() const { return calculate_; }
    QAction* stopAction() const { return stop_; }
    QAction* exportYearAction() const { return exportYear_; }
    QProgressBar* progressBar() const { return progress_; }
    QLabel* statusText() const { return status_; }

  public slots:
    void calculate();
    void stopCalculation();

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    void openDialog();
    void saveAsDialog();
    void exportYearDialog();
    void applyInputs();
    void refreshInputs();
    void poll();
    void showResults();
    void showSummary();
    void setRunning(bool running);
    void showError(const QString& what, const std::exception& e);

    std::unique_ptr<Project> project_;
    QString path_;
    QTabWidget* tabs_ = nullptr;
    QTextBrowser* inputs_ = nullptr;
    QTextBrowser* summary_ = nullptr;
    QTableWidget* table_ = nullptr;
    QComboBox* list_ = nullptr;
    QDoubleSpinBox* discount_ = nullptr;
    QDoubleSpinBox* shortage_ = nullptr;
    QDoubleSpinBox* fuelPrice_ = nullptr;
    QAction* open_ = nullptr;
    QAction* saveAs_ = nullptr;
    QAction* exportYear_ = nullptr;
    QAction* calculate_ = nullptr;
    QAction* stop_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer* timer_ = nullptr;
    bool loading_ = false;
};

}  // namespace zorvel
