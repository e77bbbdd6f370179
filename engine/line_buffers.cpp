#include "engine/line_buffers.h"

#include "engine/geo_dataset.h"
#include "engine/geos_context.h"
#include "engine/overlay.h"
#include "engine/projection.h"

namespace engine {

LineBuffers::LineBuffers(std::shared_ptr<const GeoDataset> lines, std::vector<int> records,
                         double distance)
    : lines_(std::move(lines)), records_(std::move(records)), distance_(distance) {
    std::vector<Rectangle> boxes;
    boxes.reserve(records_.size());
    for (int rec : records_) boxes.push_back(lines_->shapeExtent(rec));
    index_ = std::make_unique<ExtentIndex>(boxes);
}

LineBuffers::~LineBuffers() = default;

LineBuffers::Cutter::Cutter(const LineBuffers& buffers)
    : buffers_(&buffers),
      projection_(LocalProjection::forData(buffers.lines_->coordinateSystem(),
                                           buffers.lines_->extent())) {}

LineBuffers::Cutter::~Cutter() = default;
LineBuffers::Cutter::Cutter(Cutter&&) noexcept = default;

Shape LineBuffers::Cutter::within(const Rectangle& r) const {
    const LineBuffers& b = *buffers_;
    const double d = b.distance_;
    const Rectangle grown = projection_ ? LocalProjection::reach(r, d)
                                        : Rectangle(r.left() - d, r.bottom() - d,
                                                    r.right() + d, r.top() + d);
    auto ctx = geosContext();
    // The buffers of the clipped parts, owned here until the collection takes them.
    struct Parts : std::vector<GEOSGeometry*> {
        ~Parts() {
            for (GEOSGeometry* g : *this) GEOSGeom_destroy_r(geosContext(), g);
        }
    } parts;
    for (int i : b.index_->query(grown)) {
        const Shape& line = b.lines_->shape(b.records_[i]);
        if (line.isNull()) continue;
        Shape part = clipToRectangle(line, grown);
        if (part.isNull()) continue;
        if (projection_) part = projection_->toMetric(part);
        Shape buffer = part.buffer(d);
        if (buffer) parts.push_back(buffer.release());
    }
    if (parts.empty()) return {};
    GEOSGeometry* all = GEOSGeom_createCollection_r(ctx, GEOS_GEOMETRYCOLLECTION, parts.data(),
                                                    unsigned(parts.size()));
    if (!all) throwGeosError("collection");
    parts.clear();
    // Buffered one by one and merged in one cascaded union: buffering them as one collection
    // is faster for lines that keep apart, but far slower where lines meet end to end or run
    // along each other, as roads do.
    const Shape buffers = Shape::adopt(all);
    GEOSGeometry* merged = GEOSUnaryUnion_r(ctx, buffers.geos());
    if (!merged) throwGeosError("union");
    Shape zone = Shape::adopt(merged);
    if (projection_) zone = projection_->fromMetric(zone);
    return polygonalPart(clipToRectangle(zone, r));
}

}  // namespace engine
