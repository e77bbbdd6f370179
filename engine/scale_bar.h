#pragma once
// A scale bar for a map extent: alternating segments labelled with a round ground distance.

#include <QColor>
#include <QFont>
#include <QPainter>

#include "engine/rectangle.h"

namespace engine {

class ScaleBar {
public:
    Rectangle mapExtent;      // the extent of the map it measures
    QRectF pageExtent;        // where that map sits on the page, in the painter's units
    int mapUnits = 2;         // 0 degrees, 1 feet, 2 metres
    int scaleBarUnits = 3;    // 1 feet, 2 miles, 3 kilometres, 4 metres
    QColor backColor = Qt::white;
    QColor barColor1 = QColor(128, 128, 128);
    QColor barColor2 = QColor(192, 192, 255);
    QFont font;
    int style = 3;
    double barWidthRatio = 0.6;  // the share of the target the bar may use
    bool showBackground = true;

    // The ground distance shown by the bar, in scaleBarUnits, for a target of the given width.
    double barDistance(const QRectF& target) const;
    void paint(QPainter& painter, const QRectF& target) const;
};

}  // namespace engine
