#include "engine/coordinate_system.h"

#include <ogr_spatialref.h>

#include <cmath>
#include <numbers>

#include "engine/gdal_support.h"
#include "engine/types.h"

namespace engine {

namespace {

// The program compares unit names as plain words.
QString normalisedUnit(const char* name) {
    const QString unit = QString::fromUtf8(name ? name : "");
    const QString lower = unit.toLower();
    if (lower.contains("metre") || lower.contains("meter")) return "Meter";
    if (lower.contains("degree")) return "Degree";
    if (lower.contains("foot") || lower.contains("feet")) return "Foot";
    return unit;
}

}  // namespace

CoordinateSystem CoordinateSystem::fromWkt(const QString& wkt) {
    ensureGdal();
    GdalErrorTrap trap;
    OGRSpatialReference srs;
    const QByteArray text = wkt.trimmed().toUtf8();
    if (text.isEmpty() || srs.importFromWkt(text.constData()) != OGRERR_NONE)
        throw EngineError(gdalReport("unreadable coordinate system", trap));

    CoordinateSystem cs;
    cs.wkt = wkt.trimmed();
    cs.name = QString::fromUtf8(srs.GetName() ? srs.GetName() : "");
    cs.isProjected = srs.IsProjected();
    const char* unit = nullptr;
    if (cs.isProjected) {
        const double metres = srs.GetLinearUnits(&unit);
        // No projection of the Earth reaches far beyond its circumference (4e7 m), whatever its
        // false origin; 1e8 m leaves room for every one in use.
        if (std::isfinite(metres) && metres > 0)
            cs.xLimit = cs.yLimit = 1e8 / metres;
        else
            cs.xLimit = cs.yLimit = kUnknownSystemLimit;
    } else if (srs.IsGeographic()) {
        const double radians = srs.GetAngularUnits(&unit);
        // Longitudes from -360 to 360 hold both the -180..180 and the 0..360 conventions.
        const double degree = std::numbers::pi / 180;
        const bool usable = std::isfinite(radians) && radians > 0;
        cs.xLimit = usable ? (360 + 1e-6) * degree / radians : kUnknownSystemLimit;
        cs.yLimit = usable ? (90 + 1e-6) * degree / radians : kUnknownSystemLimit;
    } else {
        cs.isLocal = true;
        srs.GetLinearUnits(&unit);  // no bounds of the Earth apply
        cs.xLimit = cs.yLimit = kUnknownSystemLimit;
    }
    cs.unitName = normalisedUnit(unit);
    OGRErr err = OGRERR_NONE;
    const double axis = srs.GetSemiMajor(&err);
    if (err == OGRERR_NONE && axis > 0) cs.axis = axis;
    const double inverse = srs.GetInvFlattening(&err);
    if (err == OGRERR_NONE) cs.flattening = inverse > 0 ? 1.0 / inverse : 0.0;
    return cs;
}

bool CoordinateSystem::sameAs(const CoordinateSystem& other) const {
    if (wkt == other.wkt) return true;
    ensureGdal();
    GdalErrorTrap trap;
    OGRSpatialReference a, b;
    if (a.importFromWkt(wkt.toUtf8().constData()) != OGRERR_NONE ||
        b.importFromWkt(other.wkt.toUtf8().constData()) != OGRERR_NONE)
        return false;
    const char* const options[] = {"IGNORE_DATA_AXIS_TO_SRS_AXIS_MAPPING=YES",
                                   "CRITERION=EQUIVALENT_EXCEPT_AXIS_ORDER_GEOGCRS", nullptr};
    return a.IsSame(&b, options);
}

}  // namespace engine
