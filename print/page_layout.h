#pragma once
// The printed page, laid out on a grid of 1/600 inch so that it comes out the same on any
// printer resolution.

#include <QImage>
#include <QPixmap>
#include <QRectF>

class QPainter;

namespace engine {
class Map;
}

namespace print {

constexpr double kDesignUnitsPerInch = 600;

// Positions and sizes on the design grid.
inline const QRectF kMapRect(300, 350, 4000, 3700);
// The frame around the map image: its second corner is given relative to the first.
inline const QRectF kFrameRect(290, 600, 4000, 3700 - 550);
inline const QRectF kHeadingRect(550, 250, 3000, 150);
inline const QRectF kScaleBarRect(300, 3800, 4000, 300);
// The legends stand side by side below the scale bar, legend 1, 4, 3 from the left; their
// height grows with h, the height in screen pixels of the first legend's picture box.
QRectF legendRect(int column, int h);

struct PagePictures {
    QPixmap heading;
    QPixmap scaleBar;
    QImage legend1, legend4, legend3;
    int h = 0;
};

// Where the map image stands: the map keeps its shape, as large as fits in kMapRect, centred.
QRectF mapImageRect(double mapWidth, double mapHeight);

// The rectangle an image of the natural size takes in box: anchored at the top left, shrunk to
// fit with its shape kept, never enlarged.
QRectF fitTopLeft(const QSizeF& natural, const QRectF& box);

// Draws the page onto a painter open on a printer (or any device): the map, its frame, the
// heading, the scale bar and the three legends.
void composePage(QPainter& painter, engine::Map& map, const PagePictures& pictures);

}  // namespace print
