#include "importer/layer_writer.h"

#include <algorithm>

namespace importer {

namespace {
constexpr int kMaxTextWidth = 254;  // what a .dbf text field holds
}

void writeLayer(const QString& dir, const QString& name, int shapeType, engine::TableDesc table,
                const std::vector<OutputRecord>& records, const QString& crsWkt) {
    for (size_t f = 0; f < table.size(); ++f) {
        if (table[f].type != engine::moString) continue;
        int width = std::max(table[f].size, 1);
        for (const OutputRecord& r : records)
            width = std::max(width, int(r.values[f].toString().toUtf8().size()));
        table[f].size = std::min(width, kMaxTextWidth);
    }
    engine::DataConnection connection;
    connection.setDatabase(dir);
    auto writer =
        connection.addGeoDataset(name, shapeType, table, engine::CoordinateSystem::fromWkt(crsWkt));
    for (const OutputRecord& r : records) writer->addRecord(r.shape, r.values);
    writer->commit();
}

}  // namespace importer
