#include "engine/scale_bar.h"

#include <cmath>

namespace engine {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double wgs84Axis = 6378137.0;
constexpr double wgs84Flattening = 1 / 298.257223563;

// Metres of one bar unit: 1 feet, 2 miles, 3 kilometres, 4 metres.
double unitMetres(int units) {
    switch (units) {
    case 1: return 0.3048;
    case 2: return 1609.344;
    case 4: return 1.0;
    default: return 1000.0;
    }
}

QString unitName(int units) {
    switch (units) {
    case 1: return "Feet";
    case 2: return "Miles";
    case 4: return "Meters";
    default: return "Kilometers";
    }
}

// The ground width of the extent in metres; degrees are measured along the middle latitude.
double groundWidthMetres(const Rectangle& e, int mapUnits) {
    switch (mapUnits) {
    case 0: {
        const double lat = e.center().y * pi / 180;
        const double e2 = wgs84Flattening * (2 - wgs84Flattening);
        const double s = std::sin(lat);
        const double radius = wgs84Axis / std::sqrt(1 - e2 * s * s) * std::cos(lat);
        return e.width() * pi / 180 * radius;
    }
    case 1: return e.width() * 0.3048;
    default: return e.width();
    }
}

// The largest 1, 2 or 5 times a power of ten not above v.
double roundDown(double v) {
    if (!(v > 0)) return 0;
    const double p = std::pow(10.0, std::floor(std::log10(v)));
    for (double m : {5.0, 2.0, 1.0})
        if (m * p <= v) return m * p;
    return p;
}

}  // namespace

double ScaleBar::barDistance(const QRectF& target) const {
    const double pageWidth = pageExtent.width() > 0 ? pageExtent.width() : target.width();
    if (!(pageWidth > 0) || !(mapExtent.width() > 0)) return 0;
    const double metresPerPageUnit = groundWidthMetres(mapExtent, mapUnits) / pageWidth;
    return roundDown(target.width() * barWidthRatio * metresPerPageUnit / unitMetres(scaleBarUnits));
}

void ScaleBar::paint(QPainter& painter, const QRectF& target) const {
    painter.save();
    if (showBackground) painter.fillRect(target, backColor);
    const double distance = barDistance(target);
    const double pageWidth = pageExtent.width() > 0 ? pageExtent.width() : target.width();
    if (distance > 0) {
        const double metresPerPageUnit = groundWidthMetres(mapExtent, mapUnits) / pageWidth;
        const double length = distance * unitMetres(scaleBarUnits) / metresPerPageUnit;
        painter.setFont(font);
        const QFontMetricsF fm(font, painter.device());
        const double barHeight = std::max(3.0, target.height() * 0.25);
        const double x0 = target.left() + (target.width() - length) / 2;
        const double y0 = target.top() + target.height() * 0.15;
        constexpr int segments = 4;
        for (int i = 0; i < segments; ++i)
            painter.fillRect(QRectF(x0 + i * length / segments, y0, length / segments, barHeight),
                             i % 2 ? barColor2 : barColor1);
        painter.setPen(Qt::black);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(x0, y0, length, barHeight));
        const double textTop = y0 + barHeight + 1;
        const QString label = QString::number(distance, 'g', 12) + " " + unitName(scaleBarUnits);
        painter.drawText(QRectF(x0 - 50, textTop, 100, fm.height()), Qt::AlignHCenter | Qt::AlignTop, "0");
        painter.drawText(QRectF(x0 + length - 200, textTop, 400, fm.height()), Qt::AlignHCenter | Qt::AlignTop,
                         label);
    }
    painter.restore();
}

}  // namespace engine
