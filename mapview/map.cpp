#include "mapview/map.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <cmath>

#include "engine/layer_painter.h"
#include "engine/symbol_painter.h"

namespace engine {

namespace {

// A click moves the pointer less than this many pixels in both directions.
constexpr int clickTolerance = 5;

// Widens r about its centre to the aspect ratio width : height.
Rectangle fitted(const Rectangle& r, double width, double height) {
    const Point c = r.center();
    double w = r.width(), h = r.height();
    if (!(w > 0) && !(h > 0)) w = h = 1;  // a single point: one unit around it
    const double aspect = width / height;
    if (!(h > 0) || w / h > aspect)
        h = w / aspect;
    else
        w = h * aspect;
    return {c.x - w / 2, c.y - h / 2, c.x + w / 2, c.y + h / 2};
}

QCursor zoomCursor() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 4));
    p.drawEllipse(QPointF(12, 12), 8, 8);
    p.drawLine(QPointF(18, 18), QPointF(28, 28));
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(QPointF(12, 12), 8, 8);
    p.drawLine(QPointF(18, 18), QPointF(28, 28));
    p.end();
    return QCursor(pm, 12, 12);
}

// A polygon layer drawn as outlines only, such as a boundary.
bool isOutlineOnly(const MapLayer& layer) {
    return layer.visible && layer.shapeType() == moShapeTypePolygon && layer.symbol.style == 1 &&
           (!layer.renderer || layer.renderer->usesLayerSymbol());
}

// Draws results so that they stand out from the layers under them, even where they are drawn
// in the same class colours: a white and a black band around the outside of the whole result
// (the fills of the next pass cover the bands between touching cells), the class colours, and
// on the screen a dark hatch across them.
void drawResultPasses(QPainter& painter, const std::vector<std::pair<ShapeParts, Symbol>>& shapes,
                      const MapView& view) {
    const auto band = [](Symbol s, ColorNumber colour, double width) {
        s.style = 1;
        s.outline = true;
        s.outlineColor = colour;
        s.size = width;
        return s;
    };
    for (const auto& [shape, symbol] : shapes)
        drawShape(painter, shape, band(symbol, rgb(255, 255, 255), 5), view);
    for (const auto& [shape, symbol] : shapes)
        drawShape(painter, shape, band(symbol, rgb(0, 0, 0), 2.5), view);
    for (const auto& [shape, symbol] : shapes) {
        Symbol fill = symbol;
        fill.style = 0;
        fill.outline = false;
        drawShape(painter, shape, fill, view);
    }
    // Hatch lines are one device pixel apart by eight: on a printer they would only darken the
    // class colours, so the page keeps the bands alone.
    if (view.pxPerPt > 2) return;
    for (const auto& [shape, symbol] : shapes) {
        Symbol hatch = symbol;
        hatch.style = 6;  // diagonal lines
        hatch.color = rgb(40, 40, 40);
        hatch.outline = false;
        drawShape(painter, shape, hatch, view);
    }
}

}  // namespace

struct Map::Impl {
    enum class Tool { None, Pan, Track };

    Rectangle requested;   // the extent last asked for, before fitting
    Rectangle extent;      // requested, widened to the control's aspect ratio
    bool hasExtent = false;
    bool extentFollowsLayers = true;  // until an extent is set
    QImage cache;
    bool refreshPending = false;

    // During a redraw: where shapes go, and those waiting for the tracking layer.
    QPainter* painter = nullptr;
    const MapView* view = nullptr;
    bool trackingLayerDrawn = false;
    std::vector<std::pair<ShapeParts, Symbol>> pendingShapes;

    Tool tool = Tool::None;
    QPoint pressAt, dragAt;
};

Map::Map(QWidget* parent) : QWidget(parent), d_(std::make_unique<Impl>()) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(10, 10);
}

Map::~Map() = default;

std::shared_ptr<MapLayer> Map::layerByName(const QString& name) const {
    for (const auto& l : layers_)
        if (l->name == name) return l;
    return nullptr;
}

void Map::addLayer(std::shared_ptr<MapLayer> layer) {
    if (!layer) return;
    layers_.insert(layers_.begin(), std::move(layer));
    // Until an extent is set, the map shows all of its layers.
    if (d_->extentFollowsLayers) {
        d_->requested = fullExtent();
        d_->extent = fitted(d_->requested, std::max(1, width()), std::max(1, height()));
        d_->hasExtent = true;
    }
}

void Map::removeLayer(int i) {
    if (i < 0 || i >= layerCount()) throw std::out_of_range("no layer at that position");
    layers_.erase(layers_.begin() + i);
}

void Map::clearLayers() {
    layers_.clear();
    d_->hasExtent = false;
    d_->extentFollowsLayers = true;
}

Rectangle Map::extent() const { return d_->extent; }

void Map::setExtent(const Rectangle& r) {
    d_->requested = r;
    d_->extent = fitted(r, std::max(1, width()), std::max(1, height()));
    d_->hasExtent = true;
    d_->extentFollowsLayers = false;
    refresh();
}

Rectangle Map::fullExtent() const {
    Rectangle all;
    bool any = false;
    for (const auto& l : layers_) {
        const Rectangle e = l->extent();
        if (!l->geoDataset() || l->recordCount() == 0) continue;
        all = any ? Rectangle(std::min(all.left(), e.left()), std::min(all.bottom(), e.bottom()),
                              std::max(all.right(), e.right()), std::max(all.top(), e.top()))
                  : e;
        any = true;
    }
    if (any) {
        // A little margin, so features on the edge are not cut by the control's border.
        const double mx = std::max(all.width(), all.height()) * 0.025;
        all = Rectangle(all.left() - mx, all.bottom() - mx, all.right() + mx, all.top() + mx);
    }
    return all;
}

void Map::refresh() {
    if (d_->painter) return;  // asked from a draw notification: this redraw goes on
    const qreal ratio = devicePixelRatioF();
    QImage image(QSize(std::max(1, width()), std::max(1, height())) * ratio,
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.setDotsPerMeterX(int(std::lround(logicalDpiX() / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(logicalDpiY() / 0.0254)));
    {
        QPainter p(&image);
        outputMap(p, QRectF(0, 0, std::max(1, width()), std::max(1, height())));
    }
    d_->cache = std::move(image);
    update();
}

void Map::outputMap(QPainter& painter, const QRectF& target) {
    if (d_->painter || target.isEmpty()) return;
    const Rectangle extent = d_->hasExtent ? fitted(d_->extent, target.width(), target.height())
                                           : Rectangle(0, 0, target.width(), target.height());
    const MapView view(extent, target, pixelsPerPoint(painter));
    // Ends the redraw however it ends, so a failure in a handler cannot leave the map stuck.
    struct Redraw {
        Impl& d;
        QPainter& p;
        ~Redraw() {
            d.painter = nullptr;
            d.view = nullptr;
            d.pendingShapes.clear();
            p.restore();
        }
    } redraw{*d_, painter};
    painter.save();
    painter.setClipRect(target);
    painter.fillRect(target, Qt::white);
    d_->painter = &painter;
    d_->view = &view;
    d_->trackingLayerDrawn = false;
    d_->pendingShapes.clear();
    // The handlers may change the layer list; the redraw works on the layers it started with.
    const auto layers = layers_;
    LabelPlacement labels(target);
    // Shapes handed in during the redraw (query results) lie over the area and line layers,
    // whose corridors they often follow, but under points and labels, so towns inside a result
    // stay readable. Results are mosaics of touching cells: drawn without antialiasing, their
    // shared edges show no hairline seams.
    auto drawPending = [&](int drawnFrom) {
        if (d_->pendingShapes.empty()) return;
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        drawResultPasses(painter, d_->pendingShapes, view);
        d_->pendingShapes.clear();
        painter.restore();
        // Boundaries drawn before the results stay visible across them.
        LabelPlacement unused(target);
        for (int i = int(layers.size()) - 1; i >= drawnFrom; --i)
            if (isOutlineOnly(*layers[i])) drawLayer(painter, *layers[i], view, unused);
    };
    for (int i = int(layers.size()) - 1; i >= 0; --i) {
        emit beforeLayerDraw(i);
        if (!layers[i]->visible) continue;
        if (layers[i]->shapeType() == moShapeTypePoint) drawPending(i + 1);
        drawLayer(painter, *layers[i], view, labels);
    }
    emit beforeTrackingLayerDraw();
    drawPending(0);
    painter.setRenderHint(QPainter::Antialiasing);
    d_->trackingLayerDrawn = true;
    emit afterTrackingLayerDraw();
    labels.draw(painter);
}

void Map::drawShape(const Shape& shape, const Symbol& symbol) {
    if (!d_->painter || shape.isEmpty()) return;
    if (d_->trackingLayerDrawn)
        engine::drawShape(*d_->painter, partsOf(shape), symbol, *d_->view);
    else
        d_->pendingShapes.emplace_back(partsOf(shape), symbol);
}

Point Map::toMapPoint(double x, double y) const {
    const double scale = d_->extent.width() / std::max(1, width());  // 0 without an extent
    return {d_->extent.left() + x * scale, d_->extent.top() - y * scale};
}

QPointF Map::fromMapPoint(const Point& p) const {
    if (!(d_->extent.width() > 0)) return {};
    const double scale = std::max(1, width()) / d_->extent.width();
    return {(p.x - d_->extent.left()) * scale, (d_->extent.top() - p.y) * scale};
}

void Map::centerAt(const Point& p) {
    Rectangle r = d_->extent;
    r.offset(p.x - r.center().x, p.y - r.center().y);
    setExtent(r);
}

void Map::setMousePointer(int code) {
    pointer_ = code;
    switch (code) {
    case moHourglass: setCursor(Qt::WaitCursor); break;
    case moArrowQuestion: setCursor(Qt::WhatsThisCursor); break;
    case moZoom: {
        static const QCursor zoom = zoomCursor();
        setCursor(zoom);
        break;
    }
    case moPan: setCursor(Qt::OpenHandCursor); break;
    default: setCursor(Qt::ArrowCursor);
    }
}

void Map::pan() {
    d_->tool = Impl::Tool::Pan;
    d_->dragAt = d_->pressAt;
}

void Map::trackRectangle() {
    d_->tool = Impl::Tool::Track;
    d_->dragAt = d_->pressAt;
}

double Map::widthInTwips() const { return width() * 1440.0 / logicalDpiX(); }

void Map::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPoint shift = d_->tool == Impl::Tool::Pan ? d_->dragAt - d_->pressAt : QPoint();
    if (!shift.isNull() || d_->cache.isNull()) p.fillRect(rect(), Qt::white);
    if (!d_->cache.isNull()) p.drawImage(QRectF(QPointF(shift), QSizeF(size())), d_->cache);
    if (d_->tool == Impl::Tool::Track) {
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(d_->pressAt, d_->dragAt).normalized());
    }
}

void Map::resizeEvent(QResizeEvent*) {
    if (d_->hasExtent) d_->extent = fitted(d_->requested, std::max(1, width()), std::max(1, height()));
    if (d_->cache.isNull() || d_->refreshPending) return;
    // Coalesce the resizes of one layout pass into one redraw.
    d_->refreshPending = true;
    QTimer::singleShot(0, this, [this] {
        d_->refreshPending = false;
        refresh();
    });
}

void Map::mousePressEvent(QMouseEvent* e) {
    d_->pressAt = d_->dragAt = e->position().toPoint();
    d_->tool = Impl::Tool::None;
    emit mouseDown(int(e->button()), int(e->modifiers()), e->position().x(), e->position().y());
}

void Map::mouseMoveEvent(QMouseEvent* e) {
    if (d_->tool != Impl::Tool::None) {
        d_->dragAt = e->position().toPoint();
        update();
    }
    emit mouseMove(int(e->buttons()), int(e->modifiers()), e->position().x(), e->position().y());
}

void Map::wheelEvent(QWheelEvent* e) {
    const double notches = e->angleDelta().y() / 120.0;
    if (notches == 0) return e->ignore();
    emit wheelTurned(notches, e->position().x(), e->position().y());
}

void Map::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    const Impl::Tool tool = d_->tool;
    d_->tool = Impl::Tool::None;
    if (tool == Impl::Tool::Pan) {
        const QPoint shift = at - d_->pressAt;
        if (!shift.isNull()) {
            const double scale = d_->extent.width() / std::max(1, width());
            Rectangle r = d_->extent;
            r.offset(-shift.x() * scale, shift.y() * scale);
            setExtent(r);
        } else {
            update();
        }
    } else if (tool == Impl::Tool::Track) {
        update();
        const QPoint drag = at - d_->pressAt;
        if (std::abs(drag.x()) < clickTolerance && std::abs(drag.y()) < clickTolerance) {
            emit rectangleTracked(Rectangle());
        } else {
            const Point a = toMapPoint(d_->pressAt.x(), d_->pressAt.y()), b = toMapPoint(at.x(), at.y());
            emit rectangleTracked(Rectangle(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                                            std::max(a.y, b.y)));
        }
    }
    emit mouseUp(int(e->button()), int(e->modifiers()), e->position().x(), e->position().y());
}

}  // namespace engine
