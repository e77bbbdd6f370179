#pragma once
// Adding to, colouring, testing and drawing the result set.

#include <QString>

#include "engine/shape.h"
#include "engine/symbol.h"

namespace engine {
class Map;
}

namespace md_functions {

// The class colour of a result value of the given field (wind or solar classes).
void SetResultSymbolColor(const QString& fieldName, double value, engine::Symbol& symbol);
// The place of a class colour among the wind or solar result classes, lowest values first; -1
// for any other colour.
int ResultClassRank(engine::ColorNumber colour);

}  // namespace md_functions

namespace md_query_functions2 {

// Adds one result area with its value; its symbol takes the class colour, without outline.
void AddResult(engine::Shape shape, double value, const QString& fieldName);
// Whether a usable result exists (the "Results Table" button).
bool QueryResults();
// Draws the result set on the map during its redraw.
void draw_query_results(engine::Map& map);

}  // namespace md_query_functions2
