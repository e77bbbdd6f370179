#pragma once
// Writes the generated layers through the engine's data connection, in metres or in degrees.

#include <QVariant>
#include <memory>
#include <vector>

#include "engine/geo_dataset.h"
#include "tools/sample_region.h"

namespace tools {

engine::FieldDesc textField(const QString& name, int width);
engine::FieldDesc integerField(const QString& name, int width = 10);
engine::FieldDesc realField(const QString& name, int width, int precision);

class SampleLayer {
public:
    void point(const engine::Point& p, const std::vector<QVariant>& values);
    void line(const Path& path, const std::vector<QVariant>& values);
    void polygon(const Ring& ring, const std::vector<QVariant>& values);
    void commit() { writer_->commit(); }

private:
    friend class SampleWriter;
    SampleLayer(std::unique_ptr<engine::GeoDatasetWriter> w, const UtmZone* degrees)
        : writer_(std::move(w)), degrees_(degrees) {}
    std::vector<engine::Point> place(const std::vector<engine::Point>& pts) const;

    std::unique_ptr<engine::GeoDatasetWriter> writer_;
    const UtmZone* degrees_;  // null: write metres as they are
};

class SampleWriter {
public:
    SampleWriter(const QString& dir, const UtmZone& zone, bool geographic);
    // Starts "name.shp"; coordinates given to it are in metres.
    SampleLayer layer(const QString& name, int shapeType, const engine::TableDesc& table) const;
    // A point of the region in the dataset's coordinates.
    engine::Point place(const engine::Point& p) const;

private:
    engine::DataConnection connection_;
    UtmZone zone_;
    bool geographic_;
    engine::CoordinateSystem crs_;
};

}  // namespace tools
