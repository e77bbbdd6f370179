#pragma once
// The heading and the scale bar as they go onto the printed page: pictures of the shape of their
// place on the page, made from the heading text and the print map's scale bar whatever size the
// window gives them on screen.

#include <QFont>
#include <QPixmap>
#include <QRectF>
#include <QString>

#include "engine/scale_bar.h"

namespace print {

// Pictures are drawn in logical pixels of 96 to the inch, at this multiple for sharp printing.
constexpr double kPictureSharpness = 4;

// The heading in its box: the text on one line, left-aligned and centred in height, in the
// family of font, shrunk when it would not fit the box's width.
QPixmap headingPicture(const QString& text, const QFont& font);

// The scale bar as printed: bar measuring the map image that stands at mapImage on the page
// (design units).
engine::ScaleBar pageScaleBar(const engine::ScaleBar& bar, const QRectF& mapImage);
// Where the bar is drawn inside its picture, in the picture's logical pixels: the upper part,
// since the legends overlap the lower part of its band on the page.
QRectF scaleBarTarget();
QPixmap scaleBarPicture(const engine::ScaleBar& bar, const QRectF& mapImage);

}  // namespace print
