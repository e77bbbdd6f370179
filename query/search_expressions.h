#pragma once
// The search expressions the queries build from the panel, and the chosen solar layer.

#include <QString>

class frmMain;

namespace md_query_functions2 {

// WINDPWRD >= min AND WINDPWRD <= max ("Max" stands for 10000); empty after a failure.
QString CreateWindSelectExpression(frmMain& f);
// field >= min AND field <= max for the chosen solar field; empty after a failure.
QString CreateSolarSelectExpression(frmMain& f);
// Sets solarLayerFile and solarFieldName from the solar resource list.
void GetSolarLayerChosen(frmMain& f);
// (LAND_USE = 'A') OR (LAND_USE = 'B') for the selected land uses. Throws EngineError when
// none is selected.
QString LandUseExpression(frmMain& f);

}  // namespace md_query_functions2
