#include "importer/zonal_statistics.h"

#include <algorithm>
#include <cmath>

#include "importer/cell_grid.h"
#include "importer/coverage.h"
#include "importer/geometry.h"
#include "importer/import_error.h"
#include "importer/raster_source.h"

namespace importer {

namespace {

constexpr double kFinePerBand = 4e6;  // fine pixels warped at a time (32 MB)
constexpr double kMaxSourcePixelsPerCell = 4096;
// No wind, sun, height or class code comes near this; a sum of many such values stays finite.
constexpr double kLargestPixel = 1e15;

int finePixelsPerSide(const CellGrid& grid, double pixel, const ZonalOptions& o) {
    // Fine pixels no larger than source pixels, at least 4 per side for clean edges, within
    // the limits.
    const double wanted = std::ceil(grid.cellSize() / pixel - 1e-9);
    const double budget = std::floor(std::sqrt(o.maxFineTotal / std::max(1, grid.cellsInside())));
    return int(std::clamp(std::min(wanted, budget), 4.0, double(o.maxFinePerSide)));
}

// The union of the fine pixels of a cell marked in `bad`, as rectangles merged along rows.
engine::Shape marked(const CellGrid& grid, int row, int col, int n, const std::vector<char>& bad) {
    const double f = grid.cellSize() / n;
    const double xl = grid.left() + col * grid.cellSize(), yt = grid.top() - row * grid.cellSize();
    std::vector<engine::Shape> runs;
    for (int a = 0; a < n; ++a)
        for (int b = 0; b < n;) {
            if (!bad[std::size_t(a) * n + b]) {
                ++b;
                continue;
            }
            int e = b;
            while (e < n && bad[std::size_t(a) * n + e]) ++e;
            runs.push_back(rectangle(xl + b * f, yt - (a + 1) * f, xl + e * f, yt - a * f));
            b = e;
        }
    return merged(std::move(runs));
}

using ClassShares = std::vector<std::pair<long long, double>>;

void addShare(ClassShares& classes, long long code, double w) {
    auto it = std::find_if(classes.begin(), classes.end(),
                           [code](const auto& p) { return p.first == code; });
    if (it == classes.end())
        classes.push_back({code, w});
    else
        it->second += w;
}

// A boundary cell's sum and weight (or class shares) counted on the source pixels, each by the
// part of it inside the cell's piece of the study area. False when the cell covers too many
// pixels for that; the fine pixels are then small enough.
bool countOnSourcePixels(const RasterSource& raster, const OGRSpatialReference& crs,
                         const engine::Shape& piece, const ZonalOptions& o, double& sum,
                         double& weight, ClassShares& classes) {
    const engine::Shape px = raster.toPixels(piece, crs);
    const engine::Rectangle e = px.extent();
    const int c0 = std::max(0, int(std::floor(e.left()))),
              c1 = std::min(raster.width(), int(std::ceil(e.right())));
    const int r0 = std::max(0, int(std::floor(e.bottom()))),
              r1 = std::min(raster.height(), int(std::ceil(e.top())));
    sum = weight = 0;
    classes.clear();
    if (c1 <= c0 || r1 <= r0) return true;
    if (double(c1 - c0) * (r1 - r0) > kMaxSourcePixelsPerCell) return false;
    const std::vector<double> data = raster.read(c0, r0, c1 - c0, r1 - r0);
    // Pixel rows grow downwards, so the grid's top is the window's last row.
    const int w = c1 - c0, h = r1 - r0;
    const std::vector<double> areas = coverage(px, {double(c0), double(r1), 1, 1, w, h});
    for (int a = 0; a < h; ++a) {
        const int row = r1 - 1 - a;
        const double rowWeight = raster.rowWeight(row);
        for (int b = 0; b < w; ++b) {
            const double v = data[std::size_t(row - r0) * w + b];
            const double share = areas[std::size_t(a) * w + b] * rowWeight;
            if (!usablePixel(v) || !(share > 0)) continue;
            if (o.majority) {
                const long long code = std::llround(v);
                if (!o.isClass(code)) continue;
                addShare(classes, code, share);
            } else {
                sum += share * v;
            }
            weight += share;
        }
    }
    return true;
}

}  // namespace

bool usablePixel(double v) { return std::abs(v) <= kLargestPixel; }  // false for NaN

ZonalResult zonalStatistics(CellGrid& grid, const RasterSource& raster,
                            const OGRSpatialReference& crs, const ZonalOptions& o,
                            const std::function<void(double)>& tick) {
    ZonalResult result;
    const double pixel = raster.pixelSizeIn(crs);
    const int n = finePixelsPerSide(grid, pixel, o);
    result.finePerSide = n;
    // The pixels the warp reads over the grid, from the overview nearest the fine pixels, are
    // counted before one is read: a raster may declare far more than it holds.
    const double factor = raster.overviewFactor(grid.cellSize() / n / pixel);
    const double reads = double(grid.columns()) * grid.rows() * std::pow(grid.cellSize(), 2) /
                         std::pow(pixel * factor, 2);
    if (reads > o.maxPixelsRead)
        throw ImportError(
            QString("%1 has %2 x %3 pixels of about %4 m: the study area covers %5 of them; the "
                    "limit is %6: give the raster overviews (gdaladdo) or coarser pixels")
                .arg(raster.named())
                .arg(raster.width())
                .arg(raster.height())
                .arg(pixel, 0, 'g', 3)
                .arg(reads < 1e15 ? QString::number(reads, 'f', 0) : QString::number(reads, 'g', 3))
                .arg(QString::number(o.maxPixelsRead, 'f', 0))
                .toStdString());
    const int width = grid.columns() * n;
    const int bandRows = std::max(1, int(kFinePerBand / (double(width) * n)));
    const double fineKm2 = std::pow(grid.cellSize() / n, 2) / 1e6;
    std::vector<char> bad(std::size_t(n) * n);
    ClassShares classes;

    for (int r0 = 0; r0 < grid.rows(); r0 += bandRows) {
        const int r1 = std::min(grid.rows(), r0 + bandRows);
        bool any = false;
        for (int r = r0; r < r1 && !any; ++r)
            for (int c = 0; c < grid.columns() && !any; ++c)
                any = grid.state(r, c) != CellGrid::Outside;
        if (!any) continue;
        const double yt = grid.top() - r0 * grid.cellSize(), yb = grid.top() - r1 * grid.cellSize();
        const std::vector<double> data = raster.warp(
            crs, grid.left(), yb, grid.left() + grid.columns() * grid.cellSize(), yt, width,
            (r1 - r0) * n,
            o.majority ? RasterSource::Resampling::Mode : RasterSource::Resampling::Average);
        for (int r = r0; r < r1; ++r) {
            for (int c = 0; c < grid.columns(); ++c) {
                const CellGrid::State state = grid.state(r, c);
                if (state == CellGrid::Outside) continue;
                const std::vector<float>* shares =
                    state == CellGrid::Boundary ? &grid.shares(r, c, n) : nullptr;
                double sum = 0, weight = 0, missing = 0;
                classes.clear();
                std::fill(bad.begin(), bad.end(), 0);
                for (int a = 0; a < n; ++a) {
                    const double* line =
                        &data[(std::size_t(r - r0) * n + a) * width + std::size_t(c) * n];
                    for (int b = 0; b < n; ++b) {
                        const double w = shares ? (*shares)[std::size_t(a) * n + b] : 1.0;
                        if (w <= 0) continue;
                        const double v = line[b];
                        bool valid = usablePixel(v);
                        if (!valid && !std::isnan(v)) result.notNumbersKm2 += w * fineKm2;
                        if (valid && o.majority) {
                            const long long code = std::llround(v);
                            valid = o.isClass(code);
                            if (valid)
                                addShare(classes, code, w);
                            else
                                result.unknownCodesKm2[code] += w * fineKm2;
                        } else if (valid) {
                            sum += w * v;
                        }
                        if (valid) {
                            weight += w;
                        } else {
                            missing += w;
                            bad[std::size_t(a) * n + b] = 1;
                        }
                    }
                }
                result.noDataKm2 += missing * fineKm2;
                if (!(weight > 0)) continue;
                // On the study area's edge a fine pixel may reach past it; the source pixels
                // themselves give the exact shares there.
                if (state == CellGrid::Boundary &&
                    countOnSourcePixels(raster, crs, grid.piece(r, c), o, sum, weight, classes) &&
                    !(weight > 0))
                    continue;
                CellValue cell{r, c, grid.piece(r, c), 0};
                if (missing > 0) cell.shape = cell.shape.difference(marked(grid, r, c, n, bad));
                if (cell.shape.isNull() || cell.shape.shapeType() != engine::moShapeTypePolygon)
                    continue;
                if (o.majority) {
                    // The largest share wins; a tie goes to the lower code, so runs repeat.
                    auto best = classes.front();
                    for (const auto& p : classes)
                        if (p.second > best.second ||
                            (p.second == best.second && p.first < best.first))
                            best = p;
                    cell.value = double(best.first);
                } else {
                    cell.value = sum / weight;
                }
                result.cells.push_back(std::move(cell));
            }
        }
        if (tick) tick(double(r1) / grid.rows());
    }
    return result;
}

}  // namespace importer
