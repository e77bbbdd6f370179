#pragma once
// Basic vocabulary of the map engine: shape type codes, colour numbers, points, errors.

#include <QColor>
#include <stdexcept>
#include <string>

namespace engine {

// Shape type codes as the program stores and compares them.
constexpr int moShapeTypePoint = 21;
constexpr int moShapeTypeLine = 22;
constexpr int moShapeTypePolygon = 23;

// Attribute field types of a table description.
constexpr int moLong = 3;
constexpr int moDouble = 5;
constexpr int moDate = 7;
constexpr int moString = 8;
constexpr int moBoolean = 11;

// A colour as one integer: red + 256 * green + 65536 * blue.
using ColorNumber = int;
constexpr ColorNumber rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }
inline QColor toQColor(ColorNumber c) { return QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff); }
inline ColorNumber fromQColor(const QColor& c) { return rgb(c.red(), c.green(), c.blue()); }

struct Point {
    double x = 0;
    double y = 0;
};

// Raised for an unparsable expression, a failed geometry operation or an unreadable dataset.
class EngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace engine
