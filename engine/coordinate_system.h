#pragma once
#include <QString>

namespace engine {

// What a layer's .prj file says, as far as the program needs it.
struct CoordinateSystem {
    QString name;
    QString unitName;     // e.g. "Degree", "Meter", "Foot"
    bool isProjected = false;
    bool isLocal = false;             // a plane of its own (LOCAL_CS), with no place on the Earth
    double axis = 6378137.0;          // spheroid semi-major axis, metres
    double flattening = 0.003352813;  // spheroid flattening
    QString wkt;                      // the full definition, for writing and transforming
    // The largest absolute x and y a place on the Earth can have here, in the system's units.
    double xLimit = 360, yLimit = 90;

    bool isGeographic() const { return !isProjected && !isLocal; }
    static CoordinateSystem fromWkt(const QString& wkt);  // throws EngineError
    // Whether both name the same system on the Earth.
    bool sameAs(const CoordinateSystem& other) const;
};

// The limit on coordinates of a layer without a coordinate system: its units are unknown, so it
// only keeps out values no map of the Earth uses in any unit.
constexpr double kUnknownSystemLimit = 1e10;

}  // namespace engine
