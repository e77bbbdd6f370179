#pragma once
// The model window "Zorvel Pallix": the resources of the clicked site, the application and
// economic inputs, a Zorvel run with progress and stop, and the table of the best systems with
// their summaries.

#include <QString>
#include <QWidget>
#include <array>
#include <vector>

#include "model/site_record.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class frmMain;
class frmZORVELSummary;

namespace zorvel {
class Project;
}

namespace model {
class CostAxis;
class CostBarCell;
}  // namespace model

class frmZORVEL : public QWidget {
    Q_OBJECT
public:
    // Created hidden, owned by the main window.
    explicit frmZORVEL(frmMain& main);
    ~frmZORVEL() override;

    // Window state.
    QString documentsFolder;  // ends in a separator
    QString templatePath;
    QString workingFilePath;  // empty until an application is chosen
    QString inputSummaryPath;
    bool bStop = false;
    bool bInputSummaryCurrent = false;
    QString savedStartCaption;
    model::SiteRecord site;
    // Net present costs of the listed systems, by row.
    std::vector<float> costs;
    float largestCost = 0;
    float smallestCost = 0;

    // Site label and resource grid.
    QLabel* lblPallixData = nullptr;
    std::array<QLabel*, 13> lblMonth{};
    std::array<QLabel*, 13> lblSolarResource{};
    std::array<QLabel*, 13> lblWindResource{};
    std::array<QLabel*, 13> lblHydroResource{};
    QLabel* lblSolarRowLabel = nullptr;
    QLabel* lblWindRowLabel = nullptr;
    QLabel* lblHydroRowLabel = nullptr;
    // Says in plain words why the clicked site cannot be modelled; hidden for a complete site.
    QLabel* lblSiteNote = nullptr;
    // Whether the site's hydro power goes to Zorvel; enabled when the site has some.
    QCheckBox* chkHydro = nullptr;

    // Inputs.
    QLabel* lblApplication = nullptr;
    QComboBox* cboZORVELApplication = nullptr;
    QLabel* lblApplicationInfo = nullptr;
    QLabel* lblDieselFuelPrice = nullptr;
    QLineEdit* txtDieselFuelPrice = nullptr;
    QLabel* lblReliability = nullptr;
    QLineEdit* txtReliability = nullptr;
    QLabel* lblDiscountRate = nullptr;
    QLineEdit* txtDiscountRate = nullptr;

    // Feedback, and the results table shown in its place after a run.
    QPlainTextEdit* txtMessages = nullptr;
    QLabel* lblSystemTypeColHeading = nullptr;
    QLabel* lblNPCColHeading = nullptr;
    std::array<QLabel*, 6> lblSystemType{};
    std::array<QLabel*, 6> lblSystemNPC{};
    std::array<model::CostBarCell*, 6> barCells{};  // each holds its row's bar
    std::array<QFrame*, 6> shpBar{};
    std::array<QPushButton*, 6> cmdZORVEL_OR{};  // "Details..."
    model::CostAxis* costAxis = nullptr;         // the scale under the bars
    QLabel* lblColourKey = nullptr;              // the colour of each system type listed

    QPushButton* cmdRunZORVEL = nullptr;     // "Start Zorvel" / "Stop Zorvel"
    QPushButton* cmdLaunchZORVEL = nullptr;  // "Open Zorvel File"
    QPushButton* cmdZORVEL_IR = nullptr;     // "View Zorvel Input Summary"
    QPushButton* cmdCloseWindow = nullptr;   // "Close Window"

    // The summary window, created on first use.
    frmZORVELSummary& summaryWindow();

    // Site resources at the main window's last map press.
    void GetGISData();
    // The hydro cells' tooltips and the check box for the site and the box's state.
    void showHydroState();

    // Inputs and buttons.
    void cboZORVELApplication_Click();
    bool ValidateUserInputs();  // true when an input is wrong (and says why)
    void SetButtonStates();

    // A run.
    void cmdRunZORVEL_Click();
    void SetZORVELInputs(zorvel::Project& project);
    bool RunZORVEL(zorvel::Project& project);  // true when the calculation ran to its end
    void SaveZORVELDoc(zorvel::Project& project);
    void UpdateZORVELFile();
    void cmdLaunchZORVEL_Click();
    void cmdCloseWindow_Click();

    // Results and summaries.
    void ProcessResults(zorvel::Project& project);
    void CreateInputSummary(zorvel::Project& project, bool showMessage);
    void cmdZORVEL_IR_Click();
    void cmdZORVEL_OR_Click(int index);

protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Form_Initialize();
    void createControls();
    void setMessage(const QString& text);
    void setMessageColor(const QColor& color);
    // The message box, or the results table in its place.
    void showMessages(bool show);
    void clearResultRows();
    // Keeps the window tall enough for its wrapped texts at its present width.
    void fitWrappedText();
    // Why Start cannot be pressed now, for its tooltip; empty when it can.
    QString startBlockedReason(bool badInputs) const;

    frmMain& main_;
    frmZORVELSummary* summary_ = nullptr;
    QStackedWidget* messagesOrTable_ = nullptr;
    bool running_ = false;
};
