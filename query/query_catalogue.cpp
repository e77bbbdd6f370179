#include "query/query_catalogue.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include "dataset/dataset_loading.h"
#include "feedback/dialog_service.h"
#include "feedback/error_report.h"
#include "mapview/map.h"
#include "query/query_panel.h"
#include "shell/frmMain.h"
#include "siting/number_text.h"
#include "siting/query_descriptors.h"

namespace md_functions {

namespace {

QString key(const QString& s) { return s.trimmed().toUpper(); }

const QString kWindFile = QStringLiteral("20_wind.shp");

bool skipSolarCheck = false;

}  // namespace

void SkipNextSolarCheck(bool skip) { skipSolarCheck = skip; }

void FillcboSelectQuery(frmMain& f, QComboBox& list) {
    md_functions::reportingFailure(
        " Error while filling select query. Error Source:md_functions.FillcboSelectQuery()", [&] {
            {
                const QSignalBlocker block(&list);
                list.clear();
                list.addItems(siting::QueryNames());
                list.setCurrentIndex(0);
            }
            query::cboSelectQuery_Click(f);
        });
}

bool isQueryPossible(const QString& name, QString& message) {
    bool result = true;
    try {
        if (const siting::QueryDescriptor* query = siting::FindQuery(name)) {
            for (int i = 0; i < query->layers.size(); ++i) {
                result = isLayerExist(query->layers[i], message);
                if (!result) return false;
                if (i == 0 && query->wind) getMaxWindDensity();
            }
            return true;
        }
        for (const siting::SolarResource& r : siting::SolarResources())
            if (key(name) == key(r.description)) return isLayerExist(r.layerFile, message);
        return true;
    } catch (...) {
        feedback::dialogs().messageBox(
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
        feedback::dialogs().messageBox(missingField);
        return;
    }
    if (records.count() == 0) return;
    try {
        engine::Statistics stats;
        try {
            stats = records.calculateStatistics("WINDPWRD");
        } catch (const engine::EngineError&) {
            feedback::dialogs().messageBox(missingField);
            return;
        }
        const double max = stats.maximum;
        if (!(max > 200)) {
            const QString m = md_query_functions2::plainNumber(max);
            feedback::dialogs().messageBox(
                "The query results will be shown in light gray. Maximum Wind Power Density (" + m +
                ") is less than 200. So you may not get proper rendering in the output map. You "
                "will have to type in a value less than " +
                m + " to perform any Wind Energy query.");
        }
    } catch (...) {
        feedback::dialogs().messageBox(
            "Error in getMaxWindDensity() function. Error while trying calculate the max wind "
            "energy. ");
    }
}

void HandleQuerySelect(frmMain& f) {
    md_functions::reportingFailure("Error Source:md_functions.HandleQuerySelect()", [&] {
        SetQueryInputControls(f);
        for (int i = 0; i < f.Map1->layerCount(); ++i) SetDefaultVisibility(*f.Map1->layer(i));
    });
}

}  // namespace md_functions

namespace query {

void cboSelectQuery_Click(frmMain& f) {
    md_functions::reportingFailure(
        " Error while trying to select a query. Error Source:frmMain.cboSelectQuery_Click()", [&] {
            const QString name = f.cboSelectQuery->currentText();
            QString message;
            if (!md_functions::isQueryPossible(name, message)) {
                feedback::dialogs().messageBox(message);
                return;
            }
            if (f.cboSelectQuery->currentIndex() > 0 && f.bStartUpImageShown) {
                f.bStartUpImageShown = false;
                f.fraStartUpImage->hide();
                f.fraEditLegend->show();
                // The legend shown before the first query gives way to the query's panel.
                f.optEditLegend[0]->setChecked(true);
                f.EditOrLegend(0);
                f.showLegendBeforeFirstQuery();
            }
            if (!f.bStartUpImageShown) {
                f.fraEditQueryParameters->setTitle(name);
                md_functions::HandleQuerySelect(f);
            }
            f.lblWorking->setText(QString());
        });
}

void cboQueryDropDown3_Click(frmMain& f) {
    md_functions::reportingFailure(
        " Error while trying to select Solar queries. Error "
        "Source:frmMain.cboQueryDropDown3_Click()",
        [&] {
            if (md_functions::skipSolarCheck) {
                md_functions::skipSolarCheck = false;
                return;
            }
            QString message;
            if (!md_functions::isQueryPossible(f.cboQueryDropDown3->currentText(), message)) {
                md_functions::DisplayError(message);
                feedback::dialogs().messageBox(message);
            }
        });
}

}  // namespace query
