#pragma once
// The query procedures that the run dispatches to, and the workers they call. Each one fills
// the run's result, stops early when the run is cancelled, and fails with a failure that names
// it (siting/failure.h).

#include <QString>
#include <atomic>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "engine/line_buffers.h"
#include "engine/map_layer.h"
#include "engine/shape.h"
#include "siting/query_parameters.h"
#include "siting/run_feedback.h"
#include "siting/study.h"

namespace siting {

// One run of a query: what it reads, whom it tells, and where its areas go.
struct Run {
    const Study& study;
    const QueryParameters& parameters;
    RunFeedback& feedback;
    const std::atomic<bool>& cancel;
    QueryResult& result;
    // Pieces of the result that could not be worked out (counted from any worker thread).
    std::atomic<int> piecesLeftOut{0};
    bool cancelled() const { return cancel.load(); }
};

// Works out one piece of the result; a piece that cannot be worked out is left out and counted,
// so that the user is told after the run instead of the areas shrinking silently.
template <class Step>
void leavingOutOnFailure(Run& r, Step&& step) {
    try {
        std::forward<Step>(step)();
    } catch (...) {
        r.piecesLeftOut.fetch_add(1, std::memory_order_relaxed);
    }
}

}  // namespace siting

namespace md_query_functions2 {

using siting::Run;

// Threshold queries.
void wind_class_x_or_better(Run& r);
void solar_x_kwhm2_or_better(Run& r);

// Overlay queries.
void wind_minus_protected_areas(Run& r);
void wind_with_land_use(Run& r);
void Wind_Protected_Overlay(Run& r);
void Wind_Landuse_Overlay(Run& r);

// Line-buffer queries. The proximity polygon of a line layer (null: declined or cancelled) is
// worked out where it is needed, and the corridor of "Best wind (all)" is the area
// within both proximity polygons.
std::unique_ptr<engine::LineBuffers> create_line_buffers(Run& r, const QString& file, float km);
struct Corridor {
    const engine::LineBuffers& roads;
    const engine::LineBuffers& lines;
};
void wind_with_roads(Run& r);
void wind_with_transmission(Run& r);
void wind_all(Run& r);
void Wind_Buffer_Overlay(Run& r, const engine::LineBuffers& zone);
void Wind_All_Overlay(Run& r, const Corridor& corridor);

// Shared by the procedures.
std::shared_ptr<engine::MapLayer> LayerOf(Run& r, const QString& file);
// Hides those of the layers that are loaded.
void HideLayers(Run& r, std::initializer_list<const char*> files);
// The record numbers of a record set, walked from its first record.
std::vector<int> RecordsOf(engine::Recordset& records);

}  // namespace md_query_functions2
