#include "engine/coordinate_system.h"

#include <ogr_spatialref.h>

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
    if (cs.isProjected)
        srs.GetLinearUnits(&unit);
    else
        srs.GetAngularUnits(&unit);
    cs.unitName = normalisedUnit(unit);
    OGRErr err = OGRERR_NONE;
    const double axis = srs.GetSemiMajor(&err);
    if (err == OGRERR_NONE && axis > 0) cs.axis = axis;
    const double inverse = srs.GetInvFlattening(&err);
    if (err == OGRERR_NONE) cs.flattening = inverse > 0 ? 1.0 / inverse : 0.0;
    return cs;
}

}  // namespace engine
