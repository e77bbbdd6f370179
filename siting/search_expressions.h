#pragma once
// The search expressions the queries build from their parameters.

#include <QString>

#include "siting/query_parameters.h"

namespace md_query_functions2 {

// WINDPWRD >= min AND WINDPWRD <= max.
QString CreateWindSelectExpression(const siting::QueryParameters& p);
// field >= min AND field <= max for the solar field, the bounds as single-precision values.
QString CreateSolarSelectExpression(const siting::QueryParameters& p, const QString& field);
// (LAND_USE = 'A') OR (LAND_USE = 'B') for the chosen land uses. Throws EngineError when
// none is chosen.
QString LandUseExpression(const siting::QueryParameters& p);

}  // namespace md_query_functions2
