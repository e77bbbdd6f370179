#include "query/save_result.h"

#include <QDir>
#include <QFileInfo>
#include <QStatusBar>

#include "dataset/catalogue.h"
#include "dataset/dataset_loading.h"
#include "engine/geo_dataset.h"
#include "engine/map.h"
#include "shell/dialog_service.h"
#include "shell/error_report.h"
#include "shell/frmMain.h"
#include "siting/study.h"

namespace md_query_functions2 {

namespace {

QString canonicalFolder(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

// A result must not replace the open dataset's own files: a layer's, or a catalogue name in the
// data directory (also one that was skipped at load).
void refuseDatasetFile(const frmMain& f, const QFileInfo& target) {
    const QString folder = canonicalFolder(target.absolutePath());
    if (folder.isEmpty()) return;  // no such folder: the connection says so
    QString base = target.fileName();
    if (base.endsWith(".shp", Qt::CaseInsensitive)) base.chop(4);
    bool taken = folder == canonicalFolder(md_functions::datasetState().dataDirectory) &&
                 md_functions::StandardFile(base + ".shp");
    for (int i = 0; i < f.Map1->layerCount() && !taken; ++i) {
        const QFileInfo layerFile(f.Map1->layer(i)->geoDataset()->path());
        taken = canonicalFolder(layerFile.absolutePath()) == folder &&
                layerFile.completeBaseName().compare(base, Qt::CaseInsensitive) == 0;
    }
    if (taken)
        throw engine::EngineError(
            (target.fileName() + " is a file of the open dataset; choose another name")
                .toStdString());
}

}  // namespace

void SaveTrackingLayer(frmMain& f) {
    const QString failure = " Error Source:md_query_functions2.SaveTrackingLayer()";
    try {
        const siting::QueryResult* result = siting::Study::of(f)->result();
        if (!result || result->entries.empty()) {
            shell::dialogs().messageBox("There is no query result to save.");
            return;
        }
        const qint64 n = qint64(result->entries.size());
        if (n > 50 &&
            shell::dialogs().messageBox("It may take few minutes to save " + QString::number(n) +
                                            " features. Do you want to continue? ",
                                        shell::mbYesNo) != shell::answerYes)
            return;
        const QString fileName = shell::dialogs().saveFileName(
            &f, "Save Layer", QString(), "ESRI Shapefiles (*.shp)", "shp");
        if (fileName.isEmpty()) return;
        const QFileInfo info(fileName);
        refuseDatasetFile(f, info);
        engine::DataConnection connection;
        connection.setDatabase(info.absolutePath() + "/");
        // A folder that cannot be reached is a failed save, not a silent success.
        if (!connection.connect())
            throw engine::EngineError(connection.connectErrorText().toStdString());
        const engine::TableDesc table{{result->fieldName, engine::moDouble, 15, 1}};
        // The writer works under temporary names and replaces the parts of an existing file
        // only as a whole, so a failed save leaves it as it was.
        auto writer = connection.addGeoDataset(info.fileName(), engine::moShapeTypePolygon, table,
                                               result->coordinateSystem);
        for (const siting::ResultEntry& e : result->entries)
            writer->addRecord(e.shape, {QVariant(e.value)});
        writer->commit();
        f.statusBar()->showMessage(QStringLiteral("%1 %2 saved to %3")
                                       .arg(n)
                                       .arg(n == 1 ? "feature" : "features")
                                       .arg(QDir::toNativeSeparators(writer->path())));
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
