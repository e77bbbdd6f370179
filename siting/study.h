#pragma once
// The open siting study: the layers of the open dataset, the last query result and the criteria
// that made it. Windows observe it; the headless runner drives it without any window.

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "engine/coordinate_system.h"
#include "engine/map_layer.h"
#include "engine/shape.h"
#include "engine/symbol.h"
#include "siting/query_parameters.h"

namespace siting {

class RunFeedback;
struct QueryDescriptor;

// The layers of the open dataset, in map order (position 0 on top).
class LayerSource {
  public:
    virtual ~LayerSource() = default;
    virtual int layerCount() const = 0;
    virtual std::shared_ptr<engine::MapLayer> layer(int i) const = 0;
};

// Layers the study holds itself, where there is no map.
class LayerList : public LayerSource {
  public:
    // Goes on top, as on a map.
    void add(std::shared_ptr<engine::MapLayer> layer) {
        layers_.insert(layers_.begin(), std::move(layer));
    }
    int layerCount() const override { return int(layers_.size()); }
    std::shared_ptr<engine::MapLayer> layer(int i) const override { return layers_.at(size_t(i)); }

  private:
    std::vector<std::shared_ptr<engine::MapLayer>> layers_;
};

// One area found by a query: its shape, the class symbol it is drawn with and its value.
struct ResultEntry {
    engine::Shape shape;
    engine::Symbol symbol;
    double value = 0;
};

struct QueryResult {
    std::vector<ResultEntry> entries;
    QString fieldName;
    // Coordinate system of the layer the results came from (areas, saving).
    std::optional<engine::CoordinateSystem> coordinateSystem;
    // The run was cancelled: the entries are those found before.
    bool cancelled = false;
    // Pieces (cells, or cells within one polygon) the run could not work out and left out.
    int piecesLeftOut = 0;
    // Adds one area with its value; its symbol takes the class colour, without outline.
    void add(engine::Shape shape, double value);
};

// The query a result came from and what it was given.
struct Criteria {
    QString query;
    QueryParameters parameters;
};

class Study : public QObject {
    Q_OBJECT
  public:
    explicit Study(std::unique_ptr<LayerSource> layers, QObject* parent = nullptr);
    ~Study() override;

    // The study attached to a window (a child object of it), or null.
    static Study* of(const QObject& window);

    const LayerSource& layers() const { return *layers_; }
    // The layer loaded from file (case-insensitive); throws std::out_of_range when none was.
    std::shared_ptr<engine::MapLayer> layer(const QString& file) const;
    // Whether a layer was loaded from file; otherwise, when any layer is loaded, message =
    // "This query requires " + file + " shapefile.".
    bool hasLayer(const QString& file, QString* message = nullptr) const;
    // Whether the query can run on the loaded layers (with its solar resource, if any).
    bool isAvailable(const QueryDescriptor& query, const QueryParameters& parameters,
                     QString* message) const;
    // What to tell after a run: the layers it read whose coordinate system was taken from the
    // others at load, and the pieces it left out; empty when there is neither.
    QString runNotice(const QueryDescriptor& query, const QueryParameters& parameters) const;

    // Clears the result set and runs the query's procedure. Progress, questions and failures go
    // through feedback; the run stops early once cancel is set. The result grows during the run
    // (cut short by a cancel, or empty after a failure).
    void run(const QueryDescriptor& query, const QueryParameters& parameters, RunFeedback& feedback,
             const std::atomic<bool>& cancel);
    bool running() const { return running_; }

    // The last result (the one growing during a run), or null when no query has run on the
    // open dataset.
    const QueryResult* result() const { return result_ ? &*result_ : nullptr; }
    const Criteria& criteria() const { return criteria_; }
    // Whether a result with areas exists that was not cut short (the "Results Table").
    bool hasCompleteResult() const;
    // Whether there are areas to save or draw.
    bool hasAreas() const;

    // Forgets the result and its criteria: a dataset was opened, or failed to open.
    void reset();
    // Replaces the result as a query would (tests, tools).
    void setResult(QueryResult result, Criteria criteria = {});

  signals:
    // The result or its criteria changed (also when they were cleared).
    void resultChanged();

  private:
    std::unique_ptr<LayerSource> layers_;
    std::optional<QueryResult> result_;
    Criteria criteria_;
    bool running_ = false;
};

}  // namespace siting
