#include "print/scale_bar_view.h"

#include <QPainter>

#include "mapview/map.h"

namespace print {

int mapUnitsOf(const engine::Map& map) {
    if (map.layerCount() == 0) return 2;
    const auto& crs = map.layer(0)->coordinateSystem();
    if (!crs) return 2;
    const QString unit = crs->unitName.toUpper();
    if (unit == QLatin1String("DEGREE")) return 0;
    // Coordinate systems name the foot in several ways ("Foot", "Foot_US", "US survey foot").
    if (unit == QLatin1String("FEET") || unit.contains(QLatin1String("FOOT"))) return 1;
    return 2;
}

QSize ScaleBarView::sizeHint() const {
    const int line = QFontMetrics(bar.font, this).height();
    return {line * 20, line * 3};
}

QSize ScaleBarView::minimumSizeHint() const {
    const int line = QFontMetrics(bar.font, this).height();
    return {line * 5, line * 3};
}

void ScaleBarView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    bar.paint(painter, QRectF(rect()));
}

}  // namespace print
