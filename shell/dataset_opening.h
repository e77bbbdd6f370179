#pragma once
// Opening a dataset directory as the main map's layers and its legend.

#include <QString>

#include "mapview/legend.h"
#include "mapview/map.h"

namespace md_functions {

void LoadProject(const QString& fileTitle, const QString& fileName, engine::Map& map,
                 engine::Legend& legend);

}  // namespace md_functions
