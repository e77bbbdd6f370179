#include "print/page_layout.h"

#include <QPainter>
#include <QPaintDevice>
#include <algorithm>

#include "mapview/map.h"

namespace print {
namespace {

constexpr double kScreenDpi = 96;  // legend images are made for the screen
const QColor kFrameColor(64, 64, 64);
constexpr double kFrameWidth = 2;  // design units

void drawLegend(QPainter& painter, const QImage& image, const QRectF& box) {
    if (image.isNull()) return;
    const QSizeF natural = QSizeF(image.size()) * (kDesignUnitsPerInch / kScreenDpi);
    painter.drawImage(fitTopLeft(natural, box), image);
}

}  // namespace

QRectF legendRect(int column, int h) {
    return QRectF(500 + 1000 * column, 4000, 1000, 500 + 900 + h);
}

QRectF mapImageRect(double mapWidth, double mapHeight) {
    if (!(mapWidth > 0) || !(mapHeight > 0)) return kMapRect;
    const double scale = std::min(kMapRect.width() / mapWidth, kMapRect.height() / mapHeight);
    QRectF image(0, 0, mapWidth * scale, mapHeight * scale);
    image.moveCenter(kMapRect.center());
    return image;
}

QRectF fitTopLeft(const QSizeF& natural, const QRectF& box) {
    if (natural.isEmpty()) return QRectF(box.topLeft(), QSizeF());
    const double scale =
        std::min({1.0, box.width() / natural.width(), box.height() / natural.height()});
    return QRectF(box.topLeft(), natural * scale);
}

void composePage(QPainter& painter, engine::Map& map, const PagePictures& pictures) {
    const double sx = painter.device()->logicalDpiX() / kDesignUnitsPerInch;
    const double sy = painter.device()->logicalDpiY() / kDesignUnitsPerInch;

    // The map is drawn in device pixels, so its symbols keep their own sizes.
    const engine::Rectangle extent = map.extent();
    const QRectF image = mapImageRect(extent.width(), extent.height());
    map.outputMap(painter,
                  QRectF(image.x() * sx, image.y() * sy, image.width() * sx, image.height() * sy));

    painter.save();
    painter.scale(sx, sy);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setPen(QPen(kFrameColor, kFrameWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(kFrameRect);

    painter.drawPixmap(kHeadingRect, pictures.heading, QRectF(pictures.heading.rect()));
    painter.drawPixmap(kScaleBarRect, pictures.scaleBar, QRectF(pictures.scaleBar.rect()));
    drawLegend(painter, pictures.legend1, legendRect(0, pictures.h));
    drawLegend(painter, pictures.legend4, legendRect(1, pictures.h));
    drawLegend(painter, pictures.legend3, legendRect(2, pictures.h));
    painter.restore();
}

}  // namespace print
