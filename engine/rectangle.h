#pragma once
#include "engine/types.h"

namespace engine {

class Shape;

// An axis-aligned rectangle in map coordinates; top is the larger y.
class Rectangle {
public:
    Rectangle() = default;
    Rectangle(double left, double bottom, double right, double top)
        : left_(left), bottom_(bottom), right_(right), top_(top) {}

    double left() const { return left_; }
    double right() const { return right_; }
    double top() const { return top_; }
    double bottom() const { return bottom_; }
    double width() const { return right_ - left_; }
    double height() const { return top_ - bottom_; }
    Point center() const { return {(left_ + right_) / 2, (top_ + bottom_) / 2}; }
    bool isEmpty() const { return !(width() > 0) || !(height() > 0); }

    // Scales width and height about the centre (0.5 halves the extent).
    void scaleRectangle(double factor);
    void offset(double dx, double dy);
    bool intersects(const Rectangle& other) const;
    bool contains(const Point& p) const;
    // Grows this rectangle to hold the other one.
    void unite(const Rectangle& other);
    // The rectangle as a polygon shape (the engine's buffer of distance 0).
    Shape toPolygon() const;

    bool operator==(const Rectangle&) const = default;

private:
    double left_ = 0, bottom_ = 0, right_ = 0, top_ = 0;
};

}  // namespace engine
