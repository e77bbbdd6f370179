#pragma once
// The fixed colour of each known land-use class.

#include <QHash>
#include <QString>

#include "engine/types.h"

namespace md_functions {

// Keyed by the class text trimmed and upper-cased; 149 texts.
const QHash<QString, engine::ColorNumber>& landUseColourTable();
// The grey of unknown and undefined land uses.
constexpr engine::ColorNumber kUnknownLandUseColour = engine::rgb(175, 175, 177);

}  // namespace md_functions
