#include "engine/line_buffers.h"

#include <bit>
#include <cstdint>
#include <unordered_map>

#include "engine/geo_dataset.h"
#include "engine/geos_context.h"
#include "engine/overlay.h"
#include "engine/projection.h"

namespace engine {

namespace {

using Path = std::vector<Point>;

// Up to this many lines are buffered as one collection; more are buffered one by one and
// merged in a cascaded union, whose cost stays bounded where many lines run along each other.
constexpr size_t collectionLimit = 64;

void addPaths(GEOSContextHandle_t ctx, const GEOSGeometry* g, std::vector<Path>& out) {
    const int type = GEOSGeomTypeId_r(ctx, g);
    if (type == GEOS_LINESTRING || type == GEOS_LINEARRING) {
        const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(ctx, g);
        unsigned n = 0;
        GEOSCoordSeq_getSize_r(ctx, seq, &n);
        if (n < 2) return;
        Path path(n);
        for (unsigned i = 0; i < n; ++i) GEOSCoordSeq_getXY_r(ctx, seq, i, &path[i].x, &path[i].y);
        out.push_back(std::move(path));
    } else if (type == GEOS_MULTILINESTRING || type == GEOS_GEOMETRYCOLLECTION) {
        for (int i = 0, n = GEOSGetNumGeometries_r(ctx, g); i < n; ++i)
            addPaths(ctx, GEOSGetGeometryN_r(ctx, g, i), out);
    }
}

struct PointHash {
    size_t operator()(const Point& p) const {
        return std::hash<std::uint64_t>()(std::bit_cast<std::uint64_t>(p.x) * 31 ^
                                         std::bit_cast<std::uint64_t>(p.y));
    }
};
struct PointEqual {
    bool operator()(const Point& a, const Point& b) const { return a.x == b.x && a.y == b.y; }
};

// Lines that meet end to end where no third line ends, joined into one line each. A buffer of
// many lines is quick unless many of their ends coincide, as where a road is cut into pieces.
// End 2i is the start of line i, end 2i + 1 its end.
std::vector<Path> joinChains(const std::vector<Path>& lines) {
    std::unordered_map<Point, std::vector<int>, PointHash, PointEqual> endsAt;
    auto endPoint = [&](int e) { return e % 2 ? lines[e / 2].back() : lines[e / 2].front(); };
    for (int e = 0; e < int(lines.size()) * 2; ++e) endsAt[endPoint(e)].push_back(e);
    // The one other end at the same point, or -1.
    auto partner = [&](int e) {
        const std::vector<int>& here = endsAt[endPoint(e)];
        if (here.size() != 2) return -1;
        const int other = here[0] == e ? here[1] : here[0];
        return other / 2 == e / 2 ? -1 : other;
    };
    std::vector<bool> used(lines.size(), false);
    std::vector<Path> chains;
    for (int i = 0; i < int(lines.size()); ++i) {
        if (used[size_t(i)]) continue;
        // Back along the chain to its first line; first is the end the chain starts from.
        int first = 2 * i;
        for (size_t steps = 0; steps < lines.size(); ++steps) {
            const int p = partner(first);
            if (p < 0 || p / 2 == i) break;
            first = p ^ 1;
        }
        Path chain;
        for (int e = first; e >= 0 && !used[size_t(e / 2)]; e = partner(e ^ 1)) {
            used[size_t(e / 2)] = true;
            const Path& line = lines[size_t(e / 2)];
            const size_t skip = chain.empty() ? 0 : 1;  // the shared point is there already
            if (e % 2 == 0)
                chain.insert(chain.end(), line.begin() + skip, line.end());
            else
                chain.insert(chain.end(), line.rbegin() + skip, line.rend());
        }
        chains.push_back(std::move(chain));
    }
    return chains;
}

GEOSGeometry* lineString(GEOSContextHandle_t ctx, const Path& path) {
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(ctx, unsigned(path.size()), 2);
    for (unsigned i = 0; i < path.size(); ++i)
        GEOSCoordSeq_setXY_r(ctx, seq, i, path[i].x, path[i].y);
    GEOSGeometry* g = GEOSGeom_createLineString_r(ctx, seq);
    if (!g) throwGeosError("line");
    return g;
}

// Geometries owned here until a collection takes them.
struct Owned : std::vector<GEOSGeometry*> {
    ~Owned() {
        for (GEOSGeometry* g : *this) GEOSGeom_destroy_r(geosContext(), g);
    }
    Shape collection(GEOSContextHandle_t ctx, int type) {
        GEOSGeometry* all = GEOSGeom_createCollection_r(ctx, type, data(), unsigned(size()));
        if (!all) throwGeosError("collection");
        clear();
        return Shape::adopt(all);
    }
};

}  // namespace

LineBuffers::LineBuffers(std::shared_ptr<const GeoDataset> lines, std::vector<int> records,
                         double distance)
    : lines_(std::move(lines)), records_(std::move(records)), distance_(distance) {
    std::vector<Rectangle> boxes;
    boxes.reserve(records_.size());
    for (int rec : records_) {
        boxes.push_back(lines_->shapeExtent(rec));
        lines_->shape(rec).settle();  // cutters on several threads read them
    }
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
    std::vector<Path> parts;
    for (int i : b.index_->query(grown)) {
        const Shape part = clipToRectangle(b.lines_->shape(b.records_[i]), grown);
        if (part) addPaths(ctx, part.geos(), parts);
    }
    if (parts.empty()) return {};
    Owned chains;
    for (const Path& chain : joinChains(parts)) chains.push_back(lineString(ctx, chain));
    Shape zone;
    if (chains.size() <= collectionLimit) {
        Shape lines = chains.collection(ctx, GEOS_MULTILINESTRING);
        if (projection_) lines = projection_->toMetric(lines);
        zone = lines.buffer(d);
    } else {
        Owned buffers;
        for (GEOSGeometry*& chain : chains) {
            Shape line = Shape::adopt(std::exchange(chain, nullptr));
            if (projection_) line = projection_->toMetric(line);
            Shape buffer = line.buffer(d);
            if (buffer) buffers.push_back(buffer.release());
        }
        chains.clear();
        const Shape all = buffers.collection(ctx, GEOS_GEOMETRYCOLLECTION);
        GEOSGeometry* merged = GEOSUnaryUnion_r(ctx, all.geos());
        if (!merged) throwGeosError("union");
        zone = Shape::adopt(merged);
    }
    if (projection_) zone = projection_->fromMetric(zone);
    return polygonalPart(clipToRectangle(zone, r));
}

}  // namespace engine
