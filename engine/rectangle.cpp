#include "engine/rectangle.h"

#include <algorithm>

#include "engine/geos_context.h"
#include "engine/shape.h"

namespace engine {

void Rectangle::scaleRectangle(double factor) {
    const Point c = center();
    const double hw = width() * factor / 2, hh = height() * factor / 2;
    *this = Rectangle(c.x - hw, c.y - hh, c.x + hw, c.y + hh);
}

void Rectangle::offset(double dx, double dy) {
    left_ += dx;
    right_ += dx;
    bottom_ += dy;
    top_ += dy;
}

bool Rectangle::intersects(const Rectangle& o) const {
    return left_ <= o.right_ && o.left_ <= right_ && bottom_ <= o.top_ && o.bottom_ <= top_;
}

bool Rectangle::contains(const Point& p) const {
    return p.x >= left_ && p.x <= right_ && p.y >= bottom_ && p.y <= top_;
}

void Rectangle::unite(const Rectangle& o) {
    if (o == Rectangle()) return;
    if (*this == Rectangle()) {
        *this = o;
        return;
    }
    left_ = std::min(left_, o.left_);
    bottom_ = std::min(bottom_, o.bottom_);
    right_ = std::max(right_, o.right_);
    top_ = std::max(top_, o.top_);
}

Shape Rectangle::toPolygon() const {
    GEOSGeometry* g = GEOSGeom_createRectangle_r(geosContext(), left_, bottom_, right_, top_);
    if (!g) throwGeosError("rectangle to polygon");
    return Shape::adopt(g);
}

}  // namespace engine
