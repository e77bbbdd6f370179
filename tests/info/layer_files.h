#pragma once
// Writes small shapefiles for the window tests through the engine's own writer.

#include <QString>
#include <QVariant>
#include <optional>
#include <utility>
#include <vector>

#include "engine/coordinate_system.h"
#include "engine/geo_dataset.h"
#include "engine/shape.h"

namespace testdata {

struct Record {
    engine::Shape shape;
    std::vector<QVariant> values;
};

inline engine::FieldDesc text(const QString& name) { return {name, engine::moString, 40, 0}; }
inline engine::FieldDesc whole(const QString& name) { return {name, engine::moLong, 10, 0}; }
inline engine::FieldDesc real(const QString& name) { return {name, engine::moDouble, 15, 2}; }

inline engine::Shape square(double left, double bottom, double size) {
    return engine::Shape::polygon({{left, bottom},
                                   {left + size, bottom},
                                   {left + size, bottom + size},
                                   {left, bottom + size}});
}

// Writes dir/fileName (e.g. "20_wind.shp") with the given table and records.
inline void writeLayer(const QString& dir, const QString& fileName, int shapeType,
                       const engine::TableDesc& table, const std::vector<Record>& records,
                       const std::optional<engine::CoordinateSystem>& crs = std::nullopt) {
    engine::DataConnection conn;
    conn.setDatabase(dir);
    conn.connect();
    QString name = fileName;
    name.chop(4);  // without ".shp"
    auto writer = conn.addGeoDataset(name, shapeType, table, crs);
    for (const Record& r : records) writer->addRecord(r.shape, r.values);
    writer->commit();
}

}  // namespace testdata
