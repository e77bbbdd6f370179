#include "print/picture_box.h"

#include <QPainter>

#include "print/page_layout.h"

namespace print {

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize PictureBox::sizeHint() const {
    const int em = fontMetrics().averageCharWidth();
    return {em * 20, em * 20};
}

QSize PictureBox::minimumSizeHint() const {
    const int em = fontMetrics().averageCharWidth();
    return {em * 6, em * 6};
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QPixmap picture = pixmap();
    if (picture.isNull()) return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(fitTopLeft(QSizeF(picture.deviceIndependentSize()), QRectF(rect())), picture,
                       QRectF(picture.rect()));
}

}  // namespace print
