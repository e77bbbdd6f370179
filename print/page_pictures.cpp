#include "print/page_pictures.h"

#include <QFontMetricsF>
#include <QPainter>

#include "print/page_layout.h"

namespace print {
namespace {

constexpr double kLogicalDpi = 96;

// Logical pixels of a length in design units.
double logical(double design) { return design * kLogicalDpi / kDesignUnitsPerInch; }

QPixmap blankPicture(const QRectF& designBox) {
    QPixmap picture(
        (QSizeF(logical(designBox.width()), logical(designBox.height())) * kPictureSharpness)
            .toSize());
    picture.setDevicePixelRatio(kPictureSharpness);
    picture.fill(Qt::white);
    return picture;
}

}  // namespace

QPixmap headingPicture(const QString& text, const QFont& font) {
    QPixmap picture = blankPicture(kHeadingRect);
    const QRectF box(0, 0, logical(kHeadingRect.width()), logical(kHeadingRect.height()));
    QFont f = font;
    f.setPixelSize(int(box.height() * 0.7));
    const double width = QFontMetricsF(f).horizontalAdvance(text);
    if (width > box.width()) f.setPixelSize(std::max(1, int(f.pixelSize() * box.width() / width)));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(f);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
    return picture;
}

engine::ScaleBar pageScaleBar(const engine::ScaleBar& bar, const QRectF& mapImage) {
    engine::ScaleBar page = bar;
    // The bar and the map image are both measured from the left of the page's map column.
    page.pageExtent = QRectF(0, 0, logical(mapImage.width()), logical(mapImage.height()));
    return page;
}

QRectF scaleBarTarget() {
    return QRectF(0, 0, logical(kScaleBarRect.width()), logical(kScaleBarRect.height()) * 2 / 3);
}

QPixmap scaleBarPicture(const engine::ScaleBar& bar, const QRectF& mapImage) {
    QPixmap picture = blankPicture(kScaleBarRect);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    pageScaleBar(bar, mapImage).paint(painter, scaleBarTarget());
    return picture;
}

}  // namespace print
