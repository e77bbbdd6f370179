#include "query/save_result.h"

#include <QDir>
#include <QStatusBar>

#include "dataset/dataset_loading.h"
#include "feedback/dialog_service.h"
#include "feedback/error_report.h"
#include "shell/frmMain.h"
#include "siting/result_file.h"
#include "siting/study.h"

namespace md_query_functions2 {

void SaveTrackingLayer(frmMain& f) {
    const QString failure = " Error Source:md_query_functions2.SaveTrackingLayer()";
    try {
        const siting::QueryResult* result = siting::Study::of(f)->result();
        if (!result || result->entries.empty()) {
            feedback::dialogs().messageBox("There is no query result to save.");
            return;
        }
        const qint64 n = qint64(result->entries.size());
        if (n > 50 &&
            feedback::dialogs().messageBox("It may take few minutes to save " + QString::number(n) +
                                               " features. Do you want to continue? ",
                                           feedback::mbYesNo) != feedback::answerYes)
            return;
        const QString fileName = feedback::dialogs().saveFileName(&f, "Save Layer", QString(),
                                                                  "ESRI Shapefiles (*.shp)", "shp");
        if (fileName.isEmpty()) return;
        const QString written =
            siting::WriteResult(*result, siting::Study::of(f)->layers(),
                                md_functions::datasetState().dataDirectory, fileName);
        f.statusBar()->showMessage(QStringLiteral("%1 %2 saved to %3")
                                       .arg(n)
                                       .arg(n == 1 ? "feature" : "features")
                                       .arg(QDir::toNativeSeparators(written)));
    } catch (...) {
        md_functions::ErrorMessage(failure, 48);
    }
}

}  // namespace md_query_functions2

namespace query {

void mnuSave_Click(frmMain& f) {
    md_functions::reportingFailure(
        " Error while trying to save data. Error Source:frmMain.mnuSave_Click()",
        [&] { md_query_functions2::SaveTrackingLayer(f); });
}

}  // namespace query
