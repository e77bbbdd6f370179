#include "tools/sample_writer.h"

#include <QDir>

namespace tools {

engine::FieldDesc textField(const QString& name, int width) { return {name, engine::moString, width, 0}; }
engine::FieldDesc integerField(const QString& name, int width) { return {name, engine::moLong, width, 0}; }
engine::FieldDesc realField(const QString& name, int width, int precision) {
    return {name, engine::moDouble, width, precision};
}

std::vector<engine::Point> SampleLayer::place(const std::vector<engine::Point>& pts) const {
    if (!degrees_) return pts;
    std::vector<engine::Point> out;
    out.reserve(pts.size());
    for (const auto& p : pts) out.push_back(degrees_->toGeographic(p));
    return out;
}

void SampleLayer::point(const engine::Point& p, const std::vector<QVariant>& values) {
    const auto q = place({p}).front();
    writer_->addRecord(engine::Shape::point(q.x, q.y), values);
}

void SampleLayer::line(const Path& path, const std::vector<QVariant>& values) {
    writer_->addRecord(engine::Shape::lineString(place(path)), values);
}

void SampleLayer::polygon(const Ring& ring, const std::vector<QVariant>& values) {
    writer_->addRecord(engine::Shape::polygon(place(ring)), values);
}

SampleWriter::SampleWriter(const QString& dir, const UtmZone& zone, bool geographic)
    : zone_(zone), geographic_(geographic),
      crs_(engine::CoordinateSystem::fromWkt(geographic ? geographicWkt() : zone.wkt())) {
    QDir().mkpath(dir);
    connection_.setDatabase(dir);
    if (!connection_.connect()) throw engine::EngineError(("cannot open " + dir).toStdString());
}

SampleLayer SampleWriter::layer(const QString& name, int shapeType, const engine::TableDesc& table) const {
    return SampleLayer(connection_.addGeoDataset(name, shapeType, table, crs_), geographic_ ? &zone_ : nullptr);
}

engine::Point SampleWriter::place(const engine::Point& p) const { return geographic_ ? zone_.toGeographic(p) : p; }

}  // namespace tools
