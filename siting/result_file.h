#pragma once
// Writing a query result as a shapefile.

#include <QString>

#include "siting/study.h"

namespace siting {

// Writes the areas with their values as a polygon shapefile named fileName, under temporary
// names, replacing the parts of an existing file only as a whole; returns the path written.
// A file of the open dataset (one of its layers, or a catalogue name in dataDirectory) is
// refused. Throws engine::EngineError with the reason when the file cannot be written.
QString WriteResult(const QueryResult& result, const LayerSource& layers,
                    const QString& dataDirectory, const QString& fileName);

}  // namespace siting
