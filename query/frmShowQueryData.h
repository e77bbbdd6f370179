#pragma once
// The "Query Results" window: one row per colour class of the result set, with its colour,
// summed area in km2 and description.

#include <QString>
#include <QWidget>
#include <array>
#include <utility>
#include <vector>

#include "engine/types.h"

class QFrame;
class QLabel;
class frmMain;

class frmShowQueryData : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRows = 14;
    explicit frmShowQueryData(frmMain& owner);

    // The window of that main window, made on first use.
    static frmShowQueryData& of(frmMain& owner);

    std::array<QFrame*, kRows> shpLayerColor{};
    std::array<QLabel*, kRows> lblArea{};
    std::array<QLabel*, kRows> lblDescription{};

    void Form_Unload();

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    frmMain& owner_;
    bool filling_ = false;
    bool justShown_ = false;
};

namespace md_query_functions2 {

// The result areas summed by colour, in km2, in the order each colour first occurs.
std::vector<std::pair<engine::ColorNumber, double>> ClassSummary();
void UpdateQueryDataForm(frmMain& f, frmShowQueryData& form);
QString CreateAreaDescription(frmMain& f, engine::ColorNumber colour);

}  // namespace md_query_functions2

namespace query {

// "Results Table".
void cmdShowData_Click(frmMain& f);

}  // namespace query
