#pragma once
// Module-wide state of the query subsystem: the result set and the run flags. One instance,
// reset whenever a main window loads.

#include <QString>
#include <optional>
#include <vector>

#include "engine/coordinate_system.h"
#include "engine/shape.h"
#include "engine/symbol.h"

namespace md_query_functions2 {

struct QueryState {
    // The result set: entry k of each collection belongs together (key = k).
    bool cShapesExists = false;
    std::vector<engine::Shape> cShapes;
    std::vector<engine::Symbol> cSymbols;
    std::vector<double> cValues;
    QString resultFieldName;
    // Coordinate system of the layer the results came from (areas, saving).
    std::optional<engine::CoordinateSystem> resultCoordinateSystem;

    bool bQueryRunning = false;
    bool bCancelQuery = false;
    float roadDistanceKm = 0;
    float transmissionDistanceKm = 0;
    QString solarLayerFile;
    QString solarFieldName;
    bool bSkipSolarCheck = false;
};

QueryState& queryState();
void ResetQueryState();

}  // namespace md_query_functions2
