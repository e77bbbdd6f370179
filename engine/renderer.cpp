#include "engine/renderer.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>

#include "engine/geo_dataset.h"
#include "engine/label_placement.h"
#include "engine/layer_painter.h"
#include "engine/render_cache.h"
#include "engine/symbol_painter.h"

namespace engine {

namespace {
// Six significant digits: breaks set just below a whole number read as that number.
QString number(double v) { return QString::number(v, 'g', 6); }
}  // namespace

void Renderer::chooseSymbols(const GeoDataset&, const std::vector<int>& records,
                             const Symbol& layerSymbol, std::vector<const Symbol*>& palette,
                             std::vector<int>& symbolOf) const {
    palette.push_back(&layerSymbol);
    symbolOf.assign(records.size(), int(palette.size()) - 1);
}

std::vector<LegendEntry> Renderer::legendEntries(const Symbol& layerSymbol) const {
    return {{QString(), &layerSymbol}};
}

void ClassBreaksRenderer::chooseSymbols(const GeoDataset& ds, const std::vector<int>& records,
                                        const Symbol&, std::vector<const Symbol*>& palette,
                                        std::vector<int>& symbolOf) const {
    const int first = int(palette.size());
    for (int i = 0; i <= breakCount(); ++i) palette.push_back(&symbol(i));
    symbolOf.assign(records.size(), first);
    const int f = ds.fieldIndex(field);
    if (f >= 0)
        for (size_t i = 0; i < records.size(); ++i)
            symbolOf[i] = first + classOf(ds.value(records[i], f).toDouble());
}

std::vector<LegendEntry> ClassBreaksRenderer::legendEntries(const Symbol&) const {
    std::vector<LegendEntry> entries;
    const int n = breakCount();
    for (int c = 0; c <= n; ++c) {
        const QString text = n == 0   ? QString()
                             : c == 0 ? "< " + number(breakValue(0))
                             : c == n ? ">= " + number(breakValue(n - 1))
                                      : number(breakValue(c - 1)) + " - " + number(breakValue(c));
        entries.push_back({text, &symbol(c)});
    }
    return entries;
}

void ValueMapRenderer::chooseSymbols(const GeoDataset& ds, const std::vector<int>& records,
                                     const Symbol&, std::vector<const Symbol*>& palette,
                                     std::vector<int>& symbolOf) const {
    const int first = int(palette.size());
    QHash<QString, int> index;
    for (int i = valueCount() - 1; i >= 0; --i) index.insert(value(i), i);
    for (int i = 0; i < valueCount(); ++i) palette.push_back(&symbol(i));
    palette.push_back(&defaultSymbol);
    const int f = ds.fieldIndex(field);
    symbolOf.resize(records.size());
    for (size_t i = 0; i < records.size(); ++i)
        symbolOf[i] =
            first +
            (f < 0 ? valueCount() : index.value(ds.value(records[i], f).toString(), valueCount()));
}

std::vector<LegendEntry> ValueMapRenderer::legendEntries(const Symbol&) const {
    std::vector<LegendEntry> entries;
    for (int c = 0; c < valueCount(); ++c) entries.push_back({value(c), &symbol(c)});
    return entries;
}

void LabelRenderer::addLabels(LabelPlacement& labels, const GeoDataset& ds,
                              const std::vector<int>& records, const MapView& v) const {
    const int f = ds.fieldIndex(field);
    if (f < 0) return;
    RenderCache& cache = ds.renderCache();
    const std::vector<QPointF>& points = cache.labelPoints(ds);
    const std::vector<double>& sizes = cache.labelSizes(ds);
    // The label's size in points, on this device.
    QFont font = symbol(0).font;
    if (font.pointSizeF() > 0)
        font.setPixelSize(std::max(1, int(std::lround(font.pointSizeF() * v.pxPerPt))));
    const QColor color = toQColor(symbol(0).color);
    QSet<QString> written;
    for (int r : records) {
        const QPointF at = points[r];
        if (std::isnan(at.x()) || !v.extent.contains({at.x(), at.y()})) continue;
        const QString text = ds.value(r, f).toString();
        if (text.isEmpty() || (!allowDuplicates && written.contains(text))) continue;
        written.insert(text);
        labels.add(text, v.toDevice(at.x(), at.y()), sizes[r], font, color);
    }
}

void ClassBreaksRenderer::setBreakCount(int n) {
    breaks_.resize(std::max(0, n));
    symbols_.resize(breaks_.size() + 1);
}

int ClassBreaksRenderer::classOf(double value) const {
    // A value equal to a break belongs to the class above it.
    return int(std::upper_bound(breaks_.begin(), breaks_.end(), value) - breaks_.begin());
}

void ValueMapRenderer::setValueCount(int n) {
    n = std::max(0, n);
    values_.resize(n);
    symbols_.resize(n);
}

int ValueMapRenderer::indexOf(const QString& value) const { return int(values_.indexOf(value)); }

}  // namespace engine
