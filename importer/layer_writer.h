#pragma once
// Writes one catalogue shapefile into the dataset folder through the engine's writer, with
// text fields as wide as their longest value.

#include <QString>
#include <QVariant>
#include <vector>

#include "engine/geo_dataset.h"

namespace importer {

struct OutputRecord {
    engine::Shape shape;
    std::vector<QVariant> values;
};

// name without ".shp"; text fields of the table are widened to fit the values (in UTF-8 bytes).
// Throws engine::EngineError when the file cannot be written.
void writeLayer(const QString& dir, const QString& name, int shapeType, engine::TableDesc table,
                const std::vector<OutputRecord>& records, const QString& crsWkt);

}  // namespace importer
