#include "print/aspect_box.h"

#include <algorithm>
#include <cmath>

namespace print {

AspectBox::AspectBox(QWidget* child, double aspect, QWidget* parent)
    : QWidget(parent), child_(child), aspect_(aspect) {
    child_->setParent(this);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize AspectBox::sizeHint() const {
    const int w = fontMetrics().averageCharWidth() * 60;
    return {w, int(std::lround(w / aspect_))};
}

QSize AspectBox::minimumSizeHint() const {
    const int w = fontMetrics().averageCharWidth() * 20;
    return {w, int(std::lround(w / aspect_))};
}

void AspectBox::resizeEvent(QResizeEvent*) {
    int w = width(), h = int(std::lround(w / aspect_));
    if (h > height()) {
        h = height();
        w = int(std::lround(h * aspect_));
    }
    child_->setGeometry((width() - w) / 2, (height() - h) / 2, std::max(1, w), std::max(1, h));
}

}  // namespace print
