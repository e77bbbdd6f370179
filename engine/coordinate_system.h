#pragma once
#include <QString>

namespace engine {

// What a layer's .prj file says, as far as the program needs it.
struct CoordinateSystem {
    QString name;
    QString unitName;     // e.g. "Degree", "Meter", "Foot"
    bool isProjected = false;
    double axis = 6378137.0;          // spheroid semi-major axis, metres
    double flattening = 0.003352813;  // spheroid flattening
    QString wkt;                      // the full definition, for writing and transforming

    bool isGeographic() const { return !isProjected; }
    static CoordinateSystem fromWkt(const QString& wkt);  // throws EngineError
};

}  // namespace engine
