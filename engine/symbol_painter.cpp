#include "engine/symbol_painter.h"

#include <QPaintDevice>
#include <QPolygonF>
#include <algorithm>

namespace engine {

namespace {
// Markers stay recognisable even with the default size of 1 point.
constexpr double minimumMarkerPoints = 6;
// The ring around every marker.
constexpr double kMarkerRingPoints = 1;
const QColor kMarkerRingColor(255, 255, 255, 230);
}  // namespace

int kindOf(int symbolType, int fallback) {
    switch (symbolType) {
    case 0:
    case moShapeTypePoint: return moShapeTypePoint;
    case 1:
    case moShapeTypeLine: return moShapeTypeLine;
    case 2:
    case moShapeTypePolygon: return moShapeTypePolygon;
    default: return fallback;
    }
}

int symbolKind(const Symbol& s, int layerShapeType) { return kindOf(s.symbolType, layerShapeType); }

double pixelsPerPoint(const QPainter& p) {
    const QPaintDevice* d = p.device();
    return d ? d->logicalDpiX() / 72.0 : 96.0 / 72.0;
}

QBrush polygonBrush(const Symbol& s) {
    static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::CrossPattern,
                                             Qt::FDiagPattern, Qt::BDiagPattern, Qt::DiagCrossPattern};
    if (s.style == 1) return Qt::NoBrush;
    if (s.style >= 2 && s.style <= 7) return QBrush(toQColor(s.color), hatches[s.style - 2]);
    return QBrush(toQColor(s.color));
}

QPen polygonPen(const Symbol& s, double pxPerPt) {
    if (!s.outline) return Qt::NoPen;
    QPen pen(toQColor(s.outlineColor));
    pen.setWidthF(std::max(1.0, s.size * pxPerPt));
    return pen;
}

QPen linePen(const Symbol& s, double pxPerPt) {
    static const Qt::PenStyle dashes[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                          Qt::DashDotDotLine};
    QPen pen(toQColor(s.color));
    pen.setWidthF(std::max(1.0, s.size * pxPerPt));
    pen.setStyle(s.style >= 0 && s.style <= 4 ? dashes[s.style] : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

namespace {

// A marker's shape of half-size r at a point, drawn with the painter's pen and brush (a cross
// with its pen alone).
void markerShape(QPainter& p, const QPointF& at, int style, double r) {
    switch (style) {
        case 1:
            p.drawRect(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r));
            break;
        case 2: {
            const QPointF corners[] = {
                {at.x(), at.y() - r}, {at.x() + r, at.y() + r}, {at.x() - r, at.y() + r}};
            p.drawPolygon(corners, 3);
            break;
        }
        case 3:
            p.drawLine(QPointF(at.x() - r, at.y()), QPointF(at.x() + r, at.y()));
            p.drawLine(QPointF(at.x(), at.y() - r), QPointF(at.x(), at.y() + r));
            break;
        default:
            p.drawEllipse(at, r, r);
    }
}

}  // namespace

void drawMarker(QPainter& p, const QPointF& at, const Symbol& s, double pxPerPt) {
    const double r = std::max(s.size, minimumMarkerPoints) * pxPerPt / 2;
    const double crossWidth = std::max(1.0, r / 3);
    // A light ring sets the marker off from any fill beneath it, also from an area of its own
    // colour (a result class may share a point layer's colour).
    const double ring = kMarkerRingPoints * pxPerPt + (s.outline ? 0.5 : 0);
    p.setBrush(kMarkerRingColor);
    if (s.style == 2 || s.style == 3) {
        p.setPen(QPen(kMarkerRingColor, (s.style == 3 ? crossWidth : 0) + 2 * ring, Qt::SolidLine,
                      Qt::SquareCap, Qt::MiterJoin));
        markerShape(p, at, s.style, r);
    } else {
        p.setPen(Qt::NoPen);
        markerShape(p, at, s.style, r + ring);
    }

    const QColor fill = toQColor(s.color);
    if (s.style == 3) {
        p.setPen(QPen(fill, crossWidth));
    } else {
        p.setPen(s.outline ? QPen(toQColor(s.outlineColor), 1) : QPen(Qt::NoPen));
        p.setBrush(fill);
    }
    markerShape(p, at, s.style, r);
}

void drawSwatch(QPainter& p, const QRectF& r, const Symbol& s, int layerShapeType) {
    p.save();
    const double pxPerPt = pixelsPerPoint(p);
    switch (symbolKind(s, layerShapeType)) {
    case moShapeTypePoint: drawMarker(p, r.center(), s, pxPerPt); break;
    case moShapeTypeLine:
        p.setPen(linePen(s, pxPerPt));
        p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
        break;
    default:
        p.setBrush(polygonBrush(s));
        p.setPen(s.outline ? polygonPen(s, pxPerPt) : QPen(QColor(160, 160, 160)));
        p.drawRect(r);
    }
    p.restore();
}

}  // namespace engine
