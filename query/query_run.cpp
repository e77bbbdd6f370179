#include "query/query_run.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "query/input_validation.h"
#include "query/progress.h"
#include "query/query_catalogue.h"
#include "query/query_procedures.h"
#include "query/query_state.h"
#include "query/result_set.h"
#include "query/search_expressions.h"
#include "shell/error_report.h"
#include "shell/frmMain.h"

namespace md_query_functions2 {

namespace {

float distance(const QLineEdit* box) { return box->text().trimmed().toFloat(); }

}  // namespace

void fill_cShapes_collection(frmMain& f, const QString& name) {
    QueryState& state = queryState();
    try {
        state.cShapesExists = true;
        state.cShapes.clear();
        state.cSymbols.clear();
        state.bQueryRunning = true;
        if (name == "Wind by Power Density") {
            wind_class_x_or_better(f);
        } else if (name == "Best wind - protected areas") {
            wind_minus_protected_areas(f);
        } else if (name == "Best wind + land use") {
            wind_with_land_use(f);
        } else if (name == "Best wind + roads") {
            state.roadDistanceKm = distance(f.txtQuery1[2]);
            wind_with_roads(f);
        } else if (name == "Best wind + transmission") {
            state.transmissionDistanceKm = distance(f.txtQuery1[2]);
            wind_with_transmission(f);
        } else if (name == "Best wind (all)") {
            state.transmissionDistanceKm = distance(f.txtQuery1[1]);
            state.roadDistanceKm = distance(f.txtQuery1[2]);
            wind_all(f);
        } else if (name == "Best Solar X kWh/m2/day") {
            GetSolarLayerChosen(f);
            solar_x_kwhm2_or_better(f);
        }
        FlushCaption(f);
    } catch (...) {
        md_functions::ErrorMessage(" Error Source:md_query_functions2.fill_cShapes_collection()",
                                   48);
    }
    state.bQueryRunning = false;
}

}  // namespace md_query_functions2

namespace query {

void cmdUpdateMap_Click(frmMain& f) {
    using namespace md_query_functions2;
    try {
        resultsDrawn = false;
        QString message;
        if (!md_functions::isQueryPossible(f.cboQueryDropDown3->currentText(), message)) {
            md_functions::DisplayError(message);
            return;
        }
        f.cmdShowData->hide();
        if (f.cmdUpdateMap->text() != "Update Map") {
            queryState().bCancelQuery = true;
            return;
        }
        queryState().bCancelQuery = false;
        if (!md_functions::CheckInputs(f)) return;
        f.setWorkingColor(QColor(0, 0, 255));
        f.ControlEnable(false);
        f.repaint();
        fill_cShapes_collection(f, f.cboSelectQuery->currentText());
        f.cmdShowData->setVisible(QueryResults());
        f.legend->clear();
        f.legend->loadLegend(true);
        f.ControlEnable(true);
        resultsDrawn = false;
        f.Map1->refresh();
        f.repaint();
        resultsDrawn = false;
    } catch (...) {
        md_functions::ErrorMessage(
            " Error while trying to run the query and updata map. Error Source:frmMain.cmdUpdateMap_Click()",
            48);
    }
}

}  // namespace query
