#pragma once
// The class colours of query results.

#include <QString>
#include <utility>
#include <vector>

#include "engine/shape.h"
#include "engine/symbol.h"
#include "siting/study.h"

namespace md_functions {

// The class colour of a result value of the given field (wind or solar classes).
void SetResultSymbolColor(const QString& fieldName, double value, engine::Symbol& symbol);
// The place of a class colour among the wind or solar result classes, lowest values first; -1
// for any other colour.
int ResultClassRank(engine::ColorNumber colour);

}  // namespace md_functions

namespace md_query_functions2 {

// The most classes the results table shows.
constexpr int kResultRows = 14;

// The description of a result class by its colour, from the class breaks of the wind layer or
// of the solar resource's layer, for the query (and solar resource) named; empty for others.
QString ClassDescription(const siting::Study& study, const QString& query,
                         const QString& solarResource, engine::ColorNumber colour);

// The area of a result by class colour, in km2, classes in the order they first occur.
std::vector<std::pair<engine::ColorNumber, double>> ClassSummary(const siting::QueryResult& result);

}  // namespace md_query_functions2
