#pragma once
// The map control: a stack of layers drawn into a cached image, with the draw notifications,
// interactive pan and rubber-band tracking, and rendering into any painter.

#include <QImage>
#include <QWidget>
#include <memory>
#include <vector>

#include "engine/map_layer.h"

namespace engine {

// Mouse pointer codes the program sets.
constexpr int moDefault = 0;
constexpr int moArrow = 1;
constexpr int moHourglass = 11;
constexpr int moArrowQuestion = 14;
constexpr int moZoom = 50;
constexpr int moPan = 53;

class Map : public QWidget {
    Q_OBJECT
public:
    explicit Map(QWidget* parent = nullptr);
    ~Map() override;

    // Layers: position 0 is drawn last, on top.
    int layerCount() const { return int(layers_.size()); }
    const std::shared_ptr<MapLayer>& layer(int i) const { return layers_.at(i); }
    std::shared_ptr<MapLayer> layerByName(const QString& name) const;  // null when absent
    // Inserted at position 0. Until an extent is set, the extent follows all layers.
    void addLayer(std::shared_ptr<MapLayer> layer);
    void removeLayer(int i);
    void clearLayers();

    // The visible extent, always in the control's aspect ratio: setting one widens it to fit,
    // and redraws.
    Rectangle extent() const;
    void setExtent(const Rectangle& r);
    // Union of all layers' extents (a little margin around), whatever their visibility.
    Rectangle fullExtent() const;

    // Redraws now: for each layer from the bottom up, beforeLayerDraw(i), then the layer if
    // visible; then beforeTrackingLayerDraw(), the shapes given to drawShape during this
    // redraw, afterTrackingLayerDraw(); last the labels of every layer, above all of it, each
    // left out where it would overlap one placed before it (larger features first). The widget
    // then shows the new image.
    void refresh();

    // Control position (logical pixels) <-> map coordinates for the current extent.
    Point toMapPoint(double x, double y) const;
    QPointF fromMapPoint(const Point& p) const;
    void centerAt(const Point& p);

    void setMousePointer(int code);
    int mousePointer() const { return pointer_; }

    // Interactive tools, started from a mouseDown handler. pan(): the map follows the drag and
    // takes the new extent on release. trackRectangle(): a rubber band; on release
    // rectangleTracked is emitted with the dragged rectangle (empty for a plain click, which
    // must not change the extent). mouseUp is emitted after either.
    void pan();
    void trackRectangle();

    // During a redraw (from a draw notification handler): draws the shape over the layers,
    // not stored. Outside a redraw it does nothing.
    void drawShape(const Shape& shape, const Symbol& symbol);

    // Draws the whole map, notifications included, into target of painter for the current
    // extent (widened to target's aspect ratio). Used for printing.
    void outputMap(QPainter& painter, const QRectF& target);

    // Width of the control in twips for the screen's logical DPI.
    double widthInTwips() const;

signals:
    void beforeLayerDraw(int index);
    void beforeTrackingLayerDraw();
    void afterTrackingLayerDraw();
    // Button: Qt::MouseButton value; shift: Qt keyboard modifiers; x, y in control pixels.
    void mouseDown(int button, int shift, double x, double y);
    void mouseMove(int button, int shift, double x, double y);
    void mouseUp(int button, int shift, double x, double y);
    void rectangleTracked(const engine::Rectangle& r);
    // The wheel turned over the map: notches (positive away from the user) at x, y in pixels.
    void wheelTurned(double notches, double x, double y);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
    std::vector<std::shared_ptr<MapLayer>> layers_;
    int pointer_ = moDefault;
};

}  // namespace engine
