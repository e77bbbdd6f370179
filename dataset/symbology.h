#pragma once
// The look of every known layer, chosen by the shapefile name it was loaded from.

#include <QString>

#include "engine/map_layer.h"

namespace md_functions {

void SetLayerProperties(engine::MapLayer& layer, const QString& fileName,
                        const QString& solarDisplayName);
void LayerRenderer(engine::MapLayer& layer, const QString& fieldName);
// Land-use colour for a LAND_USE text (trimmed and upper-cased first); grey when unknown.
engine::ColorNumber LandUseColor(const QString& landUse);

}  // namespace md_functions
