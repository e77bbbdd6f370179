#include "dataset/dataset_loading.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <functional>
#include <stdexcept>

#include "dataset/catalogue.h"
#include "dataset/symbology.h"
#include "feedback/dialog_service.h"
#include "feedback/error_report.h"

namespace md_functions {

DatasetState& datasetState() {
    static DatasetState state;
    return state;
}

void ResetDatasetState(const QString& programDirectory) {
    datasetState() = DatasetState{programDirectory, nullptr, {}, {}};
}

QString LoadReportText(const QStringList& problems, const QStringList& notes) {
    QStringList parts;
    if (!problems.isEmpty())
        parts << QStringLiteral("Some files of this dataset could not be used:\n") +
                     problems.join('\n');
    if (!notes.isEmpty())
        parts << QStringLiteral("Not every layer of this dataset is in its coordinate system:\n") +
                     notes.join('\n');
    return parts.join(QStringLiteral("\n"));
}

namespace {

QString systemName(const engine::CoordinateSystem& cs) {
    return cs.name.isEmpty() ? QStringLiteral("an unnamed coordinate system") : cs.name;
}

// Puts every layer in the dataset's coordinate system, the one most of its layers share, so that
// no query mixes degrees with metres: a layer in another system is carried into it; a layer
// without a usable system is taken to be in it when its features lie where the others' do, and
// is left out when they do not.
void agreeCoordinateSystems(std::vector<std::shared_ptr<engine::MapLayer>>& layers,
                            QStringList& problems, QStringList& notes) {
    std::vector<std::pair<engine::CoordinateSystem, int>> systems;
    for (const auto& layer : layers) {
        const auto& cs = layer->coordinateSystem();
        if (!cs) continue;
        auto same = std::find_if(systems.begin(), systems.end(),
                                 [&](const auto& s) { return s.first.sameAs(*cs); });
        if (same == systems.end())
            systems.emplace_back(*cs, 1);
        else
            ++same->second;
    }
    if (systems.empty()) return;  // one unknown system for all: nothing is mixed
    const engine::CoordinateSystem target =
        std::max_element(systems.begin(), systems.end(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->first;
    const QString ofTheOthers =
        systemName(target) + QStringLiteral(", the coordinate system of the other layers");

    engine::Rectangle known;
    bool hasKnown = false;
    std::vector<size_t> leftOut;
    for (size_t i = 0; i < layers.size(); ++i) {
        engine::MapLayer& layer = *layers[i];
        const auto& cs = layer.coordinateSystem();
        if (!cs) continue;
        if (!cs->sameAs(target)) {
            // Named before the layer's dataset, which holds the system, is replaced.
            const QString from = systemName(*cs);
            try {
                layer.setGeoDataset(layer.geoDataset()->reprojected(target));
                SetLayerProperties(layer, layer.tag, QString());
                notes << layer.tag + QStringLiteral(" is in ") + from +
                             QStringLiteral(": it was carried into ") + ofTheOthers;
            } catch (const std::exception&) {
                problems << layer.tag + QStringLiteral(" was skipped: its coordinate system, ") +
                                from + QStringLiteral(", cannot be carried into ") + ofTheOthers;
                leftOut.push_back(i);
                continue;
            }
        }
        const engine::Rectangle box = layer.geoDataset()->extent();
        if (!hasKnown) known = box;
        known.unite(box);
        hasKnown = true;
    }
    for (size_t i = 0; i < layers.size(); ++i) {
        engine::MapLayer& layer = *layers[i];
        if (layer.coordinateSystem()) continue;
        const auto& ds = layer.geoDataset();
        const engine::Rectangle box = ds->extent();
        const bool fits = box == engine::Rectangle() ||
                          (hasKnown && box.left() <= known.right() && box.right() >= known.left() &&
                           box.bottom() <= known.top() && box.top() >= known.bottom());
        const QString why = QStringLiteral("it has no coordinate system of its own (") +
                            ds->noSystemReason() + QStringLiteral(")");
        if (fits) {
            layer.setGeoDataset(ds->assumedIn(target));
            SetLayerProperties(layer, layer.tag, QString());
            notes << layer.tag + QStringLiteral(": ") + why +
                         QStringLiteral(", so it is taken to be in ") + ofTheOthers;
        } else {
            problems << layer.tag + QStringLiteral(" was skipped: ") + why +
                            QStringLiteral(
                                " and its features do not lie where those of the "
                                "other layers do in ") +
                            systemName(target);
            leftOut.push_back(i);
        }
    }
    std::sort(leftOut.rbegin(), leftOut.rend());
    for (size_t i : leftOut) layers.erase(layers.begin() + std::ptrdiff_t(i));
}

QString leftOutText(const QString& file, int count) {
    return file +
           QStringLiteral(
               ": %1 %2 left out: coordinates that are not finite, lie beyond "
               "the bounds of the coordinate system or make no valid shape")
               .arg(count)
               .arg(count == 1 ? QStringLiteral("feature was") : QStringLiteral("features were"));
}

}  // namespace

int LayerIndexByFile(const QString& fileName) {
    const auto& index = datasetState().layerIndexByFile;
    const auto it = index.constFind(fileName.toUpper());
    if (it == index.constEnd())
        throw std::out_of_range("no layer loaded from " + fileName.toStdString());
    return it.value();
}

bool OpenLayers(const engine::DataConnection& connection, const QString& directory,
                QStringList& problems, QStringList& notes,
                const std::function<void(std::shared_ptr<engine::MapLayer>)>& add) {
    // Special files and folders with a catalogue name are listed too, so that the report names
    // them.
    QStringList names;
    const QFileInfoList entries = QDir(directory).entryInfoList(
        {QStringLiteral("*.shp")}, QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot,
        QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries)
        if (!entry.isDir() || StandardFile(entry.fileName())) names << entry.fileName();
    std::vector<std::shared_ptr<engine::MapLayer>> layers;
    bool tooMany = false;
    for (int i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        if (StandardFile(name)) {
            QString whyNot;
            if (auto ds = connection.findGeoDataset(name, &whyNot)) {
                auto layer = std::make_shared<engine::MapLayer>();
                layer->setGeoDataset(ds);
                layer->tag = name;
                SetLayerProperties(*layer, name, QString());
                layers.push_back(layer);
                if (ds->featuresLeftOut() > 0) problems << leftOutText(name, ds->featuresLeftOut());
            } else {
                problems << name + QStringLiteral(" was skipped: ") + whyNot;
            }
        }
        if (i + 1 < names.size() && layers.size() > size_t(MAX_LAYERS)) {
            tooMany = true;
            break;
        }
    }
    // Every layer in one system before any is handed on, so no query mixes units.
    agreeCoordinateSystems(layers, problems, notes);
    for (auto& layer : layers) add(std::move(layer));
    return tooMany;
}

void SetDefaultVisibility(engine::MapLayer& layer) {
    md_functions::reportingFailure(
        QStringLiteral("Erro while setting default visibility Error "
                       "Source:md_functions.SetDefaultVisibility()"),
        [&] {
            const QString& tag = layer.tag;
            static const QStringList hidden = {
                QStringLiteral("01_elevation.shp"),
                QStringLiteral("02_landuse.shp"),
                QStringLiteral("11_solar_direct.shp"),
                QStringLiteral("12_solar_tilt.shp"),
                QStringLiteral("20_wind.shp"),
                QStringLiteral("25_hydro.shp"),
                QStringLiteral("31_protectedarea.shp"),
                QStringLiteral("30_lakes.shp"),
                QStringLiteral("40_rivers.shp"),
                QStringLiteral("36_subcountrybnd3.shp"),
                QStringLiteral("37_subcountrybnd2.shp"),
                QStringLiteral("42_railroad.shp"),
                QStringLiteral("44_transmissionline.shp"),
                QStringLiteral("50_protectedarea.shp"),
                QStringLiteral("52_facilities.shp"),
                QStringLiteral("53_airports.shp"),
            };
            if (hidden.contains(tag))
                layer.visible = false;
            else if (tag == QLatin1String("38_subcountrybnd1.shp") ||
                     tag == QLatin1String("51_powerplant.shp"))
                layer.visible = true;
            else if (tag == QLatin1String("43_roads.shp") || tag == QLatin1String("59_cities.shp"))
                layer.visible = isSetLayerVisible(layer);
        });
}

bool isSetLayerVisible(const engine::MapLayer& layer) {
    try {
        return layer.recordCount() < 50;
    } catch (...) {
        feedback::dialogs().messageBox(
            QStringLiteral("Error in isSetLayerVisible() function. Error while trying to count the "
                           "number of features in a layer layer and set its visibility. "));
        return false;
    }
}

bool isLayerExist(const QString& fileName, QString& message) {
    const auto& loaded = datasetState().layerIndexByFile;
    if (loaded.isEmpty()) return false;
    if (loaded.contains(fileName.trimmed().toUpper())) {
        message.clear();
        return true;
    }
    message = QStringLiteral("This query requires ") + fileName + QStringLiteral(" shapefile.");
    return false;
}

bool isLayerExist(const QString& fileName) {
    QString message;
    return isLayerExist(fileName, message);
}

}  // namespace md_functions
