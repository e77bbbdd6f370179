#pragma once
// Reading a dataset directory's layers, the file-name index of the loaded ones, starting visibility.

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "engine/geo_dataset.h"
#include "engine/map_layer.h"

namespace md_functions {

// Shared state of the loaded dataset; reset when the main window loads.
struct DatasetState {
    QString dataDirectory;  // the program's directory until a dataset is opened
    std::shared_ptr<engine::DataConnection> dataConnection;
    QHash<QString, int> layerIndexByFile;  // keys upper-cased; use LayerIndexByFile()
    // The message of the last load on catalogue files skipped and features left out; empty
    // when everything was used.
    QString loadReport;
};
DatasetState& datasetState();
void ResetDatasetState(const QString& programDirectory);

// The map position of the layer loaded from fileName (case-insensitive). Throws
// std::out_of_range when no such layer was loaded.
int LayerIndexByFile(const QString& fileName);

// Reads the catalogue layers of directory through an open connection, in name order, each with
// its catalogue properties, and hands each to add. Files skipped and features left out are added
// to problems. Layers in another coordinate system than most are carried into it, and layers
// without one are taken to be in it when they lie where the others do (told in notes), or
// skipped. True when reading stopped at more than MAX_LAYERS layers with files left.
bool OpenLayers(const engine::DataConnection& connection, const QString& directory,
                QStringList& problems, QStringList& notes,
                const std::function<void(std::shared_ptr<engine::MapLayer>)>& add);
// One message for everything of the dataset that could not be used as it stands and for the
// layers whose coordinate system was carried or guessed; empty when there was nothing.
QString LoadReportText(const QStringList& problems, const QStringList& notes);

void SetDefaultVisibility(engine::MapLayer& layer);
bool isSetLayerVisible(const engine::MapLayer& layer);
// Whether a layer of the open dataset was loaded from fileName (trimmed, case-insensitive);
// otherwise, when any layer is loaded, message = "This query requires " + fileName + " shapefile.".
bool isLayerExist(const QString& fileName, QString& message);
bool isLayerExist(const QString& fileName);

}  // namespace md_functions
