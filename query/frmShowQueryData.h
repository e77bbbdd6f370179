#pragma once
// The "Query Results" window: one row per colour class of the result set, with its colour and
// description, its summed area in km2 and its share of the total, in a table the user can sort,
// copy and export.

#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

#include "engine/types.h"
#include "siting/result_set.h"

class QLabel;
class QPushButton;
class QTableWidget;
class frmMain;

class frmShowQueryData : public QWidget {
    Q_OBJECT
public:
  // The most classes the window lists.
  static constexpr int kRows = md_query_functions2::kResultRows;
  // Columns of the table.
  enum Column { ClassColumn, AreaColumn, ShareColumn };

  explicit frmShowQueryData(frmMain& owner);

  // The window of that main window, made on first use.
  static frmShowQueryData& of(frmMain& owner);

  QTableWidget* tblResults = nullptr;
  QLabel* lblTotal = nullptr;
  QPushButton* cmdCopy = nullptr;       // "Copy"
  QPushButton* cmdExportCsv = nullptr;  // "Export CSV..."
  QPushButton* cmdClose = nullptr;      // "Close"

  // The rows as tab-separated lines under a line of headings, in the order shown.
  QString tableText() const;
  // Puts tableText() on the clipboard.
  void cmdCopy_Click();
  // Asks for a file and writes the rows there as comma-separated values.
  void cmdExportCsv_Click();

  void Form_Unload();
  // Keeps the table wide enough for every heading and text of its rows.
  void fitTableWidth();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    frmMain& owner_;
    bool filling_ = false;
    bool justShown_ = false;
};

namespace md_query_functions2 {

// The result areas summed by colour, in km2, in the order each colour first occurs.
void UpdateQueryDataForm(frmMain& f, frmShowQueryData& form);
QString CreateAreaDescription(frmMain& f, engine::ColorNumber colour);

}  // namespace md_query_functions2

namespace query {

// "Results Table".
void cmdShowData_Click(frmMain& f);

}  // namespace query
