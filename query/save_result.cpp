#include "query/save_result.h"

#include <QFileInfo>

#include "engine/geo_dataset.h"
#include "query/query_state.h"
#include "shell/dialog_service.h"
#include "shell/error_report.h"
#include "shell/frmMain.h"

namespace md_query_functions2 {

void SaveTrackingLayer(frmMain& f) {
    const QString failure = " Error Source:md_query_functions2.SaveTrackingLayer()";
    try {
        const QueryState& state = queryState();
        if (!state.cShapesExists || state.cShapes.empty()) return;
        const qint64 n = qint64(state.cShapes.size());
        if (n > 50 &&
            shell::dialogs().messageBox("It may take few minutes to save " + QString::number(n) +
                                            " features. Do you want to continue? ",
                                        shell::mbYesNo) != shell::answerYes)
            return;
        const QString fileName = shell::dialogs().saveFileName(
            &f, "Save Layer", QString(), "ESRI Shapefiles (*.shp)", "shp");
        if (fileName.isEmpty()) return;
        const QFileInfo info(fileName);
        const QString title = info.fileName();
        engine::DataConnection connection;
        connection.setDatabase(info.absolutePath() + "/");
        // A directory that cannot be reached is a failed save, not a silent success.
        if (!connection.connect()) {
            md_functions::ErrorMessage(failure, 48);
            return;
        }
        const QString name = title.left(title.size() - 4);
        const engine::TableDesc table{{state.resultFieldName, engine::moDouble, 15, 1}};
        // The writer works under a temporary name and moves the files into place only when
        // complete, so a failed save leaves any existing file as it was.
        auto writer = connection.addGeoDataset(name, engine::moShapeTypePolygon, table,
                                               state.resultCoordinateSystem);
        for (qint64 k = 0; k < n; ++k)
            writer->addRecord(state.cShapes[k], {QVariant(state.cValues[k])});
        writer->commit();
    } catch (...) {
        md_functions::ErrorMessage(failure, 48);
    }
}

}  // namespace md_query_functions2

namespace query {

void mnuSave_Click(frmMain& f) {
    try {
        md_query_functions2::SaveTrackingLayer(f);
    } catch (...) {
        md_functions::ErrorMessage(
            " Error while trying to save data. Error Source:frmMain.mnuSave_Click()", 48);
    }
}

}  // namespace query
