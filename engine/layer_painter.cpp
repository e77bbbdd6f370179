#include "engine/layer_painter.h"

#include <QPainterPath>
#include <cmath>
#include <numeric>

#include "engine/render_cache.h"
#include "engine/symbol_painter.h"

namespace engine {

namespace {

// Draws parts in device coordinates. Vertices closer than a pixel to the last one kept are
// dropped, and a feature smaller than a pixel becomes a single pixel.
class FeaturePainter {
public:
    FeaturePainter(QPainter& p, const MapView& v, int kind, const Symbol& s)
        : p_(p), v_(v), kind_(kind), symbol_(s) {
        switch (kind_) {
        case moShapeTypePolygon:
            p_.setBrush(polygonBrush(s));
            p_.setPen(polygonPen(s, v.pxPerPt));
            dotColor_ = s.style == 1 ? toQColor(s.outlineColor) : toQColor(s.color);
            break;
        case moShapeTypeLine:
            p_.setBrush(Qt::NoBrush);
            p_.setPen(linePen(s, v.pxPerPt));
            dotColor_ = toQColor(s.color);
            break;
        default: break;
        }
    }

    ~FeaturePainter() {
        if (dots_.isEmpty()) return;
        p_.setPen(QPen(dotColor_, 1));
        p_.drawPoints(dots_);
    }
    FeaturePainter(const FeaturePainter&) = delete;
    FeaturePainter& operator=(const FeaturePainter&) = delete;

    void draw(const std::vector<QPolygonF>& parts, const Rectangle& box, bool complex) {
        if (parts.empty()) return;
        if (kind_ == moShapeTypePoint) {
            for (const QPolygonF& part : parts)
                for (const QPointF& pt : part) drawMarker(p_, v_.toDevice(pt.x(), pt.y()), symbol_, v_.pxPerPt);
            return;
        }
        if (box.width() * v_.scale < 1 && box.height() * v_.scale < 1) {
            dots_.append(v_.toDevice(box.center().x, box.center().y));
            return;
        }
        if (kind_ == moShapeTypeLine) {
            for (const QPolygonF& part : parts) p_.drawPolyline(toDevice(part));
        } else if (!complex) {
            p_.drawPolygon(toDevice(parts.front()));
        } else {
            QPainterPath path;
            path.setFillRule(Qt::OddEvenFill);
            for (const QPolygonF& ring : parts) path.addPolygon(toDevice(ring));
            p_.drawPath(path);
        }
    }

private:
    const QPolygonF& toDevice(const QPolygonF& part) {
        buffer_.clear();
        const double sx = v_.scale, tx = v_.target.left() - v_.extent.left() * sx;
        const double ty = v_.target.top() + v_.extent.top() * sx;
        QPointF last(qInf(), qInf());
        for (qsizetype i = 0; i < part.size(); ++i) {
            const QPointF d(tx + part[i].x() * sx, ty - part[i].y() * sx);
            if (std::abs(d.x() - last.x()) >= 1 || std::abs(d.y() - last.y()) >= 1 ||
                i == part.size() - 1) {
                buffer_.append(d);
                last = d;
            }
        }
        return buffer_;
    }

    QPainter& p_;
    const MapView& v_;
    int kind_;
    const Symbol& symbol_;
    QColor dotColor_;
    QPolygonF buffer_, dots_;
};

}  // namespace

void drawLayer(QPainter& p, const MapLayer& layer, const MapView& view, LabelPlacement& labels) {
    const auto& ds = layer.geoDataset();
    if (!ds || ds->recordCount() == 0) return;
    const Rectangle de = ds->extent();
    std::vector<int> records;
    if (view.extent.contains({de.left(), de.bottom()}) && view.extent.contains({de.right(), de.top()})) {
        records.resize(ds->recordCount());
        std::iota(records.begin(), records.end(), 0);
    } else {
        records = ds->selectByExtent(view.extent);
    }
    if (records.empty()) return;

    // Without a renderer of its own, the layer draws with its symbol.
    static const Renderer plain;
    const Renderer& renderer = layer.renderer ? *layer.renderer : plain;
    std::vector<const Symbol*> palette;
    std::vector<int> symbolOf;
    renderer.chooseSymbols(*ds, records, layer.symbol, palette, symbolOf);
    // Group the records by symbol, so each pen and brush is set once.
    std::vector<std::vector<int>> groups(palette.size());
    for (size_t i = 0; i < records.size(); ++i) groups[symbolOf[i]].push_back(records[i]);

    // A renderer may set the kind of all its symbols.
    const int layerKind = kindOf(renderer.symbolKind(), ds->shapeType());
    const RenderCache& cache = ds->renderCache();
    for (size_t s = 0; s < palette.size(); ++s) {
        if (groups[s].empty()) continue;
        FeaturePainter painter(p, view, symbolKind(*palette[s], layerKind), *palette[s]);
        for (int r : groups[s]) painter.draw(cache.parts[r], ds->shapeExtent(r), cache.complex[r]);
    }
    renderer.addLabels(labels, *ds, records, view);
}

ShapeParts partsOf(const Shape& shape) {
    ShapeParts s;
    appendParts(shape, s.parts);
    s.box = shape.extent();
    s.shapeType = shape.shapeType();
    return s;
}

void drawShape(QPainter& p, const ShapeParts& shape, const Symbol& symbol, const MapView& view) {
    FeaturePainter painter(p, view, symbolKind(symbol, shape.shapeType), symbol);
    painter.draw(shape.parts, shape.box, true);
}

}  // namespace engine
