#include "query/query_catalogue.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include "dataset/dataset_loading.h"
#include "engine/map.h"
#include "query/number_text.h"
#include "query/query_panel.h"
#include "query/query_state.h"
#include "shell/dialog_service.h"
#include "shell/error_report.h"
#include "shell/frmMain.h"

namespace md_functions {

namespace {

QString key(const QString& s) { return s.trimmed().toUpper(); }

const QString kWindFile = QStringLiteral("20_wind.shp");

}  // namespace

const QStringList& QueryNames() {
    static const QStringList names{
        "No Query (Base Map)",         "Wind by Power Density",    "Best wind - protected areas",
        "Best wind + land use",        "Best wind + roads",        "Best wind + transmission",
        "Best wind (all)",             "Best Solar X kWh/m2/day"};
    return names;
}

bool isWindQuery(const QString& name) {
    const int i = QueryNames().indexOf(name);
    return i >= 1 && i <= 6;
}

const std::vector<SolarResource>& SolarResources() {
    static const std::vector<SolarResource> resources{
        {"40 km Solar Concentrators Annual Average(KWH/M2/DAY)", "11_solar_direct.shp", "ANNDIR"},
        {"40 km Solar PV Annual Average(KWH/M2/DAY)", "12_solar_tilt.shp", "ANNTILT"},
        {"10 KM Solar Concentrators Annual Average(KWH/M2/DAY)", "13_solar_direct.shp", "ANNDIR"},
        {"10 km Solar Global Horizontal Annual Average(KWH/M2/DAY)", "14_solar_glo.shp",
         "ANNGLO"},
        {"40 km Solar Global Horizontal Annual Average(KWH/M2/DAY)", "15_solar_glo.shp",
         "ANNGLO"},
        {"10 km Solar PV Annual Average(KWH/M2/DAY)", "16_solar_tilt.shp", "ANNTILT"}};
    return resources;
}

void FillcboSelectQuery(frmMain& f, QComboBox& list) {
    try {
        {
            const QSignalBlocker block(&list);
            list.clear();
            list.addItems(QueryNames());
            list.setCurrentIndex(0);
        }
        query::cboSelectQuery_Click(f);
    } catch (...) {
        ErrorMessage(" Error while filling select query. Error Source:md_functions.FillcboSelectQuery()",
                     48);
    }
}

bool isQueryPossible(const QString& name, QString& message) {
    bool result = true;
    try {
        const QString k = key(name);
        bool wind = false;
        for (int i = 1; i <= 6; ++i) wind = wind || k == key(QueryNames()[i]);
        if (wind) {
            result = isLayerExist(kWindFile, message);
            if (!result) return false;
            getMaxWindDensity();
        }
        QString file;
        if (k == key("Wind by Power Density")) {
            file = kWindFile;
        } else if (k == key("Best wind - protected areas")) {
            file = "31_protectedarea.shp";
        } else if (k == key("Best wind + land use")) {
            file = "02_landuse.shp";
        } else if (k == key("Best wind + roads")) {
            file = "43_roads.shp";
        } else if (k == key("Best wind + transmission")) {
            file = "44_transmissionline.shp";
        } else if (k == key("Best wind (all)")) {
            for (const char* f : {"20_wind.shp", "31_protectedarea.shp", "02_landuse.shp",
                                  "43_roads.shp", "44_transmissionline.shp"}) {
                result = isLayerExist(QString::fromLatin1(f), message);
                if (!result) return false;
            }
            return true;
        } else {
            for (const SolarResource& r : SolarResources())
                if (k == key(r.description)) file = r.layerFile;
            if (file.isEmpty()) return true;
        }
        result = isLayerExist(file, message);
        return result;
    } catch (...) {
        shell::dialogs().messageBox(
            "Error in isQueryPossible() function. Error while trying to check whether the query "
            "can be performed. ");
        return result;
    }
}

void getMaxWindDensity() {
    const QString missingField =
        "Cannot perform the Query. Please check the Wind Energy shapefile.This can happen if there "
        "is no WINDPWRD field in the shape file.";
    engine::Recordset records;
    try {
        const auto& layer = frmMain::instance()->Map1->layer(LayerIndexByFile(kWindFile));
        records = layer->searchExpression(QStringLiteral("WINDPWRD") + " >= 0");
    } catch (...) {
        shell::dialogs().messageBox(missingField);
        return;
    }
    if (records.count() == 0) return;
    try {
        engine::Statistics stats;
        try {
            stats = records.calculateStatistics("WINDPWRD");
        } catch (const engine::EngineError&) {
            shell::dialogs().messageBox(missingField);
            return;
        }
        const double max = stats.maximum;
        if (!(max > 200)) {
            const QString m = md_query_functions2::plainNumber(max);
            shell::dialogs().messageBox(
                "The query results will be shown in light gray. Maximum Wind Power Density (" + m +
                ") is less than 200. So you may not get proper rendering in the output map. You "
                "will have to type in a value less than " +
                m + " to perform any Wind Energy query.");
        }
    } catch (...) {
        shell::dialogs().messageBox(
            "Error in getMaxWindDensity() function. Error while trying calculate the max wind "
            "energy. ");
    }
}

void HandleQuerySelect(frmMain& f) {
    try {
        SetQueryInputControls(f);
        for (int i = 0; i < f.Map1->layerCount(); ++i) SetDefaultVisibility(*f.Map1->layer(i));
    } catch (...) {
        ErrorMessage("Error Source:md_functions.HandleQuerySelect()", 48);
    }
}

}  // namespace md_functions

namespace query {

void cboSelectQuery_Click(frmMain& f) {
    try {
        const QString name = f.cboSelectQuery->currentText();
        QString message;
        if (!md_functions::isQueryPossible(name, message)) {
            shell::dialogs().messageBox(message);
            return;
        }
        if (f.cboSelectQuery->currentIndex() > 0 && f.bStartUpImageShown) {
            f.bStartUpImageShown = false;
            f.fraStartUpImage->hide();
            f.fraEditLegend->show();
        }
        if (!f.bStartUpImageShown) {
            f.fraEditQueryParameters->setTitle(name);
            md_functions::HandleQuerySelect(f);
        }
        f.lblWorking->setText(QString());
    } catch (...) {
        md_functions::ErrorMessage(
            " Error while trying to select a query. Error Source:frmMain.cboSelectQuery_Click()",
            48);
    }
}

void cboQueryDropDown3_Click(frmMain& f) {
    try {
        auto& state = md_query_functions2::queryState();
        if (state.bSkipSolarCheck) {
            state.bSkipSolarCheck = false;
            return;
        }
        QString message;
        if (!md_functions::isQueryPossible(f.cboQueryDropDown3->currentText(), message)) {
            md_functions::DisplayError(message);
            shell::dialogs().messageBox(message);
        }
    } catch (...) {
        md_functions::ErrorMessage(
            " Error while trying to select Solar queries. Error Source:frmMain.cboQueryDropDown3_Click()",
            48);
    }
}

}  // namespace query
