#include "siting/study.h"

#include <stdexcept>

#include "siting/failure.h"
#include "siting/query_descriptors.h"
#include "siting/query_procedures.h"
#include "siting/result_set.h"
#include "siting/run_feedback.h"

namespace siting {

namespace {

QString key(const QString& s) { return s.trimmed().toUpper(); }

}  // namespace

void QueryResult::add(engine::Shape shape, double value) {
    engine::Symbol symbol;
    symbol.outline = false;
    md_functions::SetResultSymbolColor(fieldName, value, symbol);
    entries.push_back({std::move(shape), symbol, value});
}

Study::Study(std::unique_ptr<LayerSource> layers, QObject* parent)
    : QObject(parent), layers_(std::move(layers)) {}

Study::~Study() = default;

Study* Study::of(const QObject& window) {
    return window.findChild<Study*>(QString(), Qt::FindDirectChildrenOnly);
}

std::shared_ptr<engine::MapLayer> Study::layer(const QString& file) const {
    const QString k = file.toUpper();
    for (int i = 0; i < layers_->layerCount(); ++i)
        if (const auto l = layers_->layer(i); l->tag.toUpper() == k) return l;
    throw std::out_of_range("no layer loaded from " + file.toStdString());
}

bool Study::hasLayer(const QString& file, QString* message) const {
    const QString k = key(file);
    for (int i = 0; i < layers_->layerCount(); ++i) {
        if (message) *message = "This query requires " + file + " shapefile.";
        if (key(layers_->layer(i)->tag) == k) {
            if (message) message->clear();
            return true;
        }
    }
    return false;
}

bool Study::isAvailable(const QueryDescriptor& query, const QueryParameters& parameters,
                        QString* message) const {
    for (const QString& file : query.layers)
        if (!hasLayer(file, message)) return false;
    if (query.has(Parameter::SolarResource))
        if (const SolarResource* r = FindSolarResource(parameters.solarResource))
            return hasLayer(r->layerFile, message);
    return true;
}

QString Study::runNotice(const QueryDescriptor& query, const QueryParameters& parameters) const {
    QStringList parts;
    if (const int n = result_ ? result_->piecesLeftOut : 0; n > 0)
        parts << QString(
                     "%1 %2 of this query's areas could not be worked out (a geometry the "
                     "overlay could not handle) and %3 left out: the areas found are short by "
                     "what %4.")
                     .arg(n)
                     .arg(n == 1 ? "piece" : "pieces", n == 1 ? "was" : "were",
                          n == 1 ? "it holds" : "they hold");
    QStringList files = query.layers;
    if (query.has(Parameter::SolarResource))
        if (const SolarResource* r = FindSolarResource(parameters.solarResource))
            files << r->layerFile;
    QStringList told;
    for (int i = 0; i < layers_->layerCount(); ++i) {
        const engine::MapLayer& layer = *layers_->layer(i);
        const auto& ds = layer.geoDataset();
        if (!files.contains(layer.tag, Qt::CaseInsensitive) || !ds || !ds->systemAssumed())
            continue;
        told << layer.tag + ": " + ds->noSystemReason() + ", so this query took it to be in " +
                    layer.coordinateSystem()->name + " like the other layers";
    }
    if (!told.isEmpty())
        parts << "This query read a layer without a coordinate system of its own:\n" +
                     told.join('\n');
    return parts.join('\n');
}

void Study::run(const QueryDescriptor& query, const QueryParameters& parameters,
                RunFeedback& feedback, const std::atomic<bool>& cancel) {
    running_ = true;
    result_.emplace();
    criteria_ = {query.name, parameters};
    emit resultChanged();
    Run run{*this, parameters, feedback, cancel, *result_};
    try {
        failingAs(" Error Source:md_query_functions2.fill_cShapes_collection()", [&] {
            if (query.procedure) query.procedure(run);
        });
    } catch (const Failure& failure) {
        // Told from inside the handler of its cause, so that the reason is told too.
        try {
            std::rethrow_if_nested(failure);
            feedback.failure(failure.text());
        } catch (...) {
            feedback.failure(failure.text());
        }
    }
    feedback.flushCaption();
    running_ = false;
    result_->cancelled = cancel.load();
    result_->piecesLeftOut = run.piecesLeftOut.load();
    emit resultChanged();
}

bool Study::hasCompleteResult() const { return result_ && !result_->cancelled && hasAreas(); }

bool Study::hasAreas() const { return result_ && !running_ && !result_->entries.empty(); }

void Study::reset() {
    // A run in progress keeps adding to its result: it is emptied, not destroyed.
    if (running_)
        *result_ = QueryResult();
    else
        result_.reset();
    criteria_ = {};
    emit resultChanged();
}

void Study::setResult(QueryResult result, Criteria criteria) {
    result_ = std::move(result);
    criteria_ = std::move(criteria);
    emit resultChanged();
}

}  // namespace siting
