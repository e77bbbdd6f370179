#include "query/query_run.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "engine/map.h"
#include "engine/map_layer.h"
#include "query/input_validation.h"
#include "query/progress.h"
#include "query/query_catalogue.h"
#include "query/query_procedures.h"
#include "query/query_state.h"
#include "query/result_set.h"
#include "query/search_expressions.h"
#include "shell/dialog_service.h"
#include "shell/error_report.h"
#include "shell/frmMain.h"

namespace md_query_functions2 {

namespace {

float distance(const QLineEdit* box) { return box->text().trimmed().toFloat(); }

// After every run that read a layer without a coordinate system of its own, the user is told
// that its system was taken from the other layers: the areas and distances rest on that guess.
void tellAssumedSystems(frmMain& f, const QString& name) {
    QStringList files;
    if (md_functions::isWindQuery(name)) files << "20_wind.shp";
    if (name == "Best wind - protected areas" || name == "Best wind (all)")
        files << "31_protectedarea.shp";
    if (name == "Best wind + land use" || name == "Best wind (all)") files << "02_landuse.shp";
    if (name == "Best wind + roads" || name == "Best wind (all)") files << "43_roads.shp";
    if (name == "Best wind + transmission" || name == "Best wind (all)")
        files << "44_transmissionline.shp";
    if (name == "Best Solar X kWh/m2/day")
        for (const md_functions::SolarResource& r : md_functions::SolarResources())
            if (r.description == f.cboQueryDropDown3->currentText()) files << r.layerFile;
    QStringList told;
    for (int i = 0; i < f.Map1->layerCount(); ++i) {
        const engine::MapLayer& layer = *f.Map1->layer(i);
        if (!files.contains(layer.tag, Qt::CaseInsensitive) || !layer.geoDataset() ||
            !layer.geoDataset()->systemAssumed())
            continue;
        told << layer.tag + ": " + layer.geoDataset()->noSystemReason() +
                    ", so this query took it to be in " + layer.coordinateSystem()->name +
                    " like the other layers";
    }
    if (!told.isEmpty())
        shell::dialogs().messageBox(
            "This query read a layer without a coordinate system of its own:\n" + told.join('\n'));
}

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
        if (queryState().cShapesExists) tellAssumedSystems(f, f.cboSelectQuery->currentText());
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
