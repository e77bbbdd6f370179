#include "siting/result_file.h"

#include <QFileInfo>

#include "dataset/catalogue.h"
#include "engine/geo_dataset.h"

namespace siting {

namespace {

QString canonicalFolder(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

// A result must not replace the open dataset's own files: a layer's, or a catalogue name in the
// data directory (also one that was skipped at load).
void refuseDatasetFile(const LayerSource& layers, const QString& dataDirectory,
                       const QFileInfo& target) {
    const QString folder = canonicalFolder(target.absolutePath());
    if (folder.isEmpty()) return;  // no such folder: the connection says so
    QString base = target.fileName();
    if (base.endsWith(".shp", Qt::CaseInsensitive)) base.chop(4);
    bool taken =
        folder == canonicalFolder(dataDirectory) && md_functions::StandardFile(base + ".shp");
    for (int i = 0; i < layers.layerCount() && !taken; ++i) {
        const QFileInfo layerFile(layers.layer(i)->geoDataset()->path());
        taken = canonicalFolder(layerFile.absolutePath()) == folder &&
                layerFile.completeBaseName().compare(base, Qt::CaseInsensitive) == 0;
    }
    if (taken)
        throw engine::EngineError(
            (target.fileName() + " is a file of the open dataset; choose another name")
                .toStdString());
}

}  // namespace

QString WriteResult(const QueryResult& result, const LayerSource& layers,
                    const QString& dataDirectory, const QString& fileName) {
    const QFileInfo info(fileName);
    refuseDatasetFile(layers, dataDirectory, info);
    engine::DataConnection connection;
    connection.setDatabase(info.absolutePath() + "/");
    // A folder that cannot be reached is a failed save, not a silent success.
    if (!connection.connect())
        throw engine::EngineError(connection.connectErrorText().toStdString());
    const engine::TableDesc table{{result.fieldName, engine::moDouble, 15, 1}};
    // The writer works under temporary names and replaces the parts of an existing file
    // only as a whole, so a failed save leaves it as it was.
    auto writer = connection.addGeoDataset(info.fileName(), engine::moShapeTypePolygon, table,
                                           result.coordinateSystem);
    for (const siting::ResultEntry& e : result.entries)
        writer->addRecord(e.shape, {QVariant(e.value)});
    writer->commit();
    return writer->path();
}

}  // namespace siting
