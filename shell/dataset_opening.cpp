#include "shell/dataset_opening.h"

#include <QDir>
#include <QFileInfo>

#include "dataset/catalogue.h"
#include "dataset/dataset_loading.h"
#include "feedback/dialog_service.h"
#include "feedback/error_report.h"

namespace md_functions {

void LoadProject(const QString& fileTitle, const QString& fileName, engine::Map& map,
                 engine::Legend& legend) {
    DatasetState& state = datasetState();
    state.loadReport.clear();
    QStringList problems, notes;
    try {
        map.clearLayers();
        state.layerIndexByFile.clear();
        if (fileName.isEmpty()) return;

        // The chosen file's own directory, whatever the names of the folders above it.
        Q_UNUSED(fileTitle);
        state.dataDirectory =
            QDir::toNativeSeparators(QFileInfo(fileName).absolutePath()) + QDir::separator();
        auto connection = std::make_shared<engine::DataConnection>();
        connection->setDatabase(state.dataDirectory);
        state.dataConnection = connection;

        if (!connection->connect()) {
            feedback::dialogs().messageBox(QStringLiteral("No data found... Data Connection error #") +
                                            QString::number(connection->connectError()),
                                        feedback::mbOKOnly, feedback::iconWarning);
        } else {
            map.clearLayers();
            const bool tooMany = OpenLayers(*connection, state.dataDirectory, problems, notes,
                                            [&map](std::shared_ptr<engine::MapLayer> layer) {
                                                map.addLayer(std::move(layer));
                                            });
            if (tooMany)
                feedback::dialogs().messageBox(
                    QStringLiteral("Sorry, this program was not meant to handle more than ") +
                    QString::number(MAX_LAYERS) +
                    QStringLiteral(" layers.  Please reduce the number of shape (.shp) files "
                                   "in the data directory."));
            for (int i = 0; i < map.layerCount(); ++i) {
                engine::MapLayer& layer = *map.layer(i);
                state.layerIndexByFile.insert(layer.tag.toUpper(), i);
                SetDefaultVisibility(layer);
            }
            legend.clear();
            legend.loadLegend(true);
        }
        // The redraw shows the whole dataset, not just the extent of the first layer added.
        if (map.layerCount() > 0)
            map.setExtent(map.fullExtent());
        else
            map.refresh();
        state.loadReport = LoadReportText(problems, notes);
        if (!state.loadReport.isEmpty())
            feedback::dialogs().messageBox(state.loadReport, feedback::mbOKOnly, feedback::iconWarning);
    } catch (...) {
        ErrorMessage(
            QStringLiteral(
                "Error while loading the project. Error Source:md_functions.LoadProject()"),
            48);
    }
}

}  // namespace md_functions
