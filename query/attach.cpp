#include "query/attach.h"

#include <QComboBox>
#include <QPushButton>

#include "query/frmShowQueryData.h"
#include "query/query_catalogue.h"
#include "query/query_panel.h"
#include "query/query_run.h"
#include "query/query_state.h"
#include "query/result_set.h"
#include "query/save_result.h"
#include "shell/frmMain.h"

namespace query {

namespace {

bool pick(QComboBox* list, const QString& text) {
    const int i = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i < 0) return false;
    list->setCurrentIndex(i);
    emit list->activated(i);
    return true;
}

}  // namespace

void attach(frmMain& f) {
    md_query_functions2::ResetQueryState();
    f.hooks.fillQueryList = [](frmMain& m) { md_functions::FillcboSelectQuery(m, *m.cboSelectQuery); };
    f.hooks.resetResults = [](frmMain&) { md_query_functions2::ResetQueryState(); };
    f.hooks.drawQueryResults = [](engine::Map& map) { md_query_functions2::draw_query_results(map); };
    f.hooks.saveResult = [](frmMain& m) { mnuSave_Click(m); };
    f.hooks.hasResult = [] {
        const auto& state = md_query_functions2::queryState();
        return state.cShapesExists && !state.cShapes.empty() && !state.bQueryRunning;
    };
    // A pick of the user (even of the entry already shown) raises the selection event; the
    // program's own selections call the handlers directly.
    QObject::connect(f.cboSelectQuery, &QComboBox::activated, &f, [&f] { cboSelectQuery_Click(f); });
    QObject::connect(f.cboQueryDropDown3, &QComboBox::activated, &f,
                     [&f] { cboQueryDropDown3_Click(f); });
    QObject::connect(f.cmdUpdateMap, &QPushButton::clicked, &f, [&f] { cmdUpdateMap_Click(f); });
    QObject::connect(f.cmdShowData, &QPushButton::clicked, &f, [&f] { cmdShowData_Click(f); });
}

bool chooseQuery(frmMain& f, const QString& name) { return pick(f.cboSelectQuery, name); }

bool chooseSolarResource(frmMain& f, const QString& description) {
    return pick(f.cboQueryDropDown3, description);
}

}  // namespace query
