#pragma once
// Engine internal: the labels of one redraw. They are gathered while the layers draw and written
// last, above every layer and shape, so that no fill or result hides them. A label that would
// overlap one already placed is left out; the labels of larger features are placed first.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <vector>

namespace engine {

struct PlacedLabel {
    QString text;
    QRectF box;  // the room the label takes on the device, its halo included
    QFont font;
    QColor color;
};

class LabelPlacement {
  public:
    // Labels are written only where they fit whole inside bounds (the map on the device).
    explicit LabelPlacement(const QRectF& bounds) : bounds_(bounds) {}

    // A label centred at a device position. size: the feature's area or length (map units); the
    // larger is placed first, and among equals the one added first. The font's size is in
    // device pixels.
    void add(const QString& text, const QPointF& at, double size, const QFont& font,
             const QColor& color);

    // The labels that are written, in placing order: none overlaps another or crosses the
    // bounds.
    std::vector<PlacedLabel> place() const;
    // Writes the placed labels, each in its colour on a light halo.
    void draw(QPainter& painter) const;

  private:
    struct Candidate {
        QString text;
        QPointF at;
        double size;
        QFont font;
        QColor color;
    };

    QRectF bounds_;
    std::vector<Candidate> candidates_;
};

// The width of a label's halo, in device pixels, for a font of that pixel size.
double haloWidth(int fontPixels);

}  // namespace engine
