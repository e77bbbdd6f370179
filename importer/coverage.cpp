#include "importer/coverage.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/geos_context.h"

namespace importer {

namespace {

using Pt = std::array<double, 2>;
using Ring = std::vector<Pt>;  // closed implicitly: the last point joins the first

// The part of the ring where coordinate `axis` is on the kept side of `bound`.
void clipHalf(const Ring& in, int axis, double bound, bool keepGreater, Ring& out) {
    out.clear();
    const std::size_t n = in.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Pt& p = in[i];
        const Pt& q = in[(i + 1) % n];
        const bool pin = keepGreater ? p[axis] >= bound : p[axis] <= bound;
        const bool qin = keepGreater ? q[axis] >= bound : q[axis] <= bound;
        if (pin) out.push_back(p);
        if (pin != qin) {
            const double t = (bound - p[axis]) / (q[axis] - p[axis]);
            Pt x{p[0] + t * (q[0] - p[0]), p[1] + t * (q[1] - p[1])};
            x[axis] = bound;
            out.push_back(x);
        }
    }
}

double signedArea(const Ring& r) {
    double a = 0;
    for (std::size_t i = 0, n = r.size(); i < n; ++i) {
        const Pt& p = r[i];
        const Pt& q = r[(i + 1) % n];
        a += p[0] * q[1] - q[0] * p[1];
    }
    return a / 2;
}

struct SignedRing {
    Ring points;
    double sign;  // +1 for an outer ring, -1 for a hole, times the ring's own orientation
    double yMin, yMax;
};

void addRing(GEOSContextHandle_t ctx, const GEOSGeometry* ring, bool hole,
             std::vector<SignedRing>& out) {
    const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(ctx, ring);
    unsigned int size = 0;
    if (!seq || !GEOSCoordSeq_getSize_r(ctx, seq, &size) || size < 4) return;
    SignedRing r{{}, 0, 0, 0};
    r.points.resize(size - 1);  // the closing point repeats the first
    for (unsigned int i = 0; i + 1 < size; ++i)
        GEOSCoordSeq_getXY_r(ctx, seq, i, &r.points[i][0], &r.points[i][1]);
    const double a = signedArea(r.points);
    if (a == 0) return;
    r.sign = (hole ? -1 : 1) * (a > 0 ? 1 : -1);
    const auto [lo, hi] = std::minmax_element(r.points.begin(), r.points.end(),
                                              [](const Pt& p, const Pt& q) { return p[1] < q[1]; });
    r.yMin = (*lo)[1];
    r.yMax = (*hi)[1];
    out.push_back(std::move(r));
}

void collectRings(GEOSContextHandle_t ctx, const GEOSGeometry* g, std::vector<SignedRing>& out) {
    const int type = GEOSGeomTypeId_r(ctx, g);
    if (type == GEOS_POLYGON) {
        addRing(ctx, GEOSGetExteriorRing_r(ctx, g), false, out);
        for (int i = 0; i < GEOSGetNumInteriorRings_r(ctx, g); ++i)
            addRing(ctx, GEOSGetInteriorRingN_r(ctx, g, i), true, out);
    } else if (type == GEOS_MULTIPOLYGON || type == GEOS_GEOMETRYCOLLECTION) {
        for (int i = 0; i < GEOSGetNumGeometries_r(ctx, g); ++i)
            collectRings(ctx, GEOSGetGeometryN_r(ctx, g, i), out);
    }
}

}  // namespace

std::vector<double> coverage(const engine::Shape& polygon, const GridGeometry& grid) {
    std::vector<double> out(std::size_t(grid.rows) * grid.columns, 0.0);
    if (polygon.isNull()) return out;
    std::vector<SignedRing> rings;
    collectRings(engine::geosContext(), polygon.geos(), rings);
    Ring above, band, right, cell;
    for (const SignedRing& r : rings) {
        for (int a = 0; a < grid.rows; ++a) {
            const double hi = grid.top - a * grid.cellHeight, lo = hi - grid.cellHeight;
            if (r.yMax <= lo || r.yMin >= hi) continue;
            clipHalf(r.points, 1, lo, true, above);
            clipHalf(above, 1, hi, false, band);
            if (band.size() < 3) continue;
            const auto [xl, xh] = std::minmax_element(
                band.begin(), band.end(), [](const Pt& p, const Pt& q) { return p[0] < q[0]; });
            const int b0 = std::max(0, int(std::floor(((*xl)[0] - grid.left) / grid.cellWidth)));
            const int b1 =
                std::min(grid.columns, int(std::ceil(((*xh)[0] - grid.left) / grid.cellWidth)));
            for (int b = b0; b < b1; ++b) {
                const double left = grid.left + b * grid.cellWidth;
                clipHalf(band, 0, left, true, right);
                clipHalf(right, 0, left + grid.cellWidth, false, cell);
                if (cell.size() >= 3)
                    out[std::size_t(a) * grid.columns + b] += r.sign * signedArea(cell);
            }
        }
    }
    for (double& v : out) v = std::max(0.0, v);
    return out;
}

}  // namespace importer
