#include "importer/spatial_reference.h"

#include <algorithm>
#include <cmath>

#include "engine/gdal_support.h"
#include "importer/import_error.h"

namespace importer {

OGRSpatialReference geographicWgs84() {
    engine::ensureGdal();
    OGRSpatialReference srs;
    srs.importFromEPSG(4326);
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return srs;
}

OGRSpatialReference outputCrs(const QString& choice, double lon, double lat) {
    engine::ensureGdal();
    engine::GdalErrorTrap trap;
    OGRSpatialReference srs;
    const QString c = choice.trimmed();
    if (c.isEmpty() || c.compare("utm", Qt::CaseInsensitive) == 0) {
        const int zone = std::clamp(int(std::floor((lon + 180.0) / 6.0)) + 1, 1, 60);
        srs.importFromEPSG((lat < 0 ? 32700 : 32600) + zone);
    } else {
        bool ok = false;
        const int code = c.section(':', 1).toInt(&ok);
        if (!c.startsWith("EPSG:", Qt::CaseInsensitive) || !ok)
            throw ImportError(("--crs is EPSG:N or utm, not \"" + choice + "\"").toStdString());
        if (srs.importFromEPSG(code) != OGRERR_NONE)
            throw ImportError(engine::gdalReport("unknown coordinate system " + c, trap));
        if (!srs.IsProjected() || std::abs(srs.GetLinearUnits() - 1.0) > 1e-9)
            throw ImportError(
                ("the output coordinate system " + c +
                 " is not projected in metres; cells and distances need metres (try utm)")
                    .toStdString());
    }
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return srs;
}

QString crsLabel(const OGRSpatialReference& srs) {
    QString label = QString::fromUtf8(srs.GetName() ? srs.GetName() : "unnamed");
    const char* auth = srs.GetAuthorityName(nullptr);
    const char* code = srs.GetAuthorityCode(nullptr);
    if (auth && code) label += QString(" (%1:%2)").arg(auth, code);
    return label;
}

QString crsWkt(const OGRSpatialReference& srs) {
    char* wkt = nullptr;
    srs.exportToWkt(&wkt);
    const QString out = QString::fromUtf8(wkt ? wkt : "");
    CPLFree(wkt);
    return out;
}

std::unique_ptr<OGRCoordinateTransformation> transformation(const OGRSpatialReference& from,
                                                            const OGRSpatialReference& to) {
    engine::GdalErrorTrap trap;
    std::unique_ptr<OGRCoordinateTransformation> t(OGRCreateCoordinateTransformation(&from, &to));
    if (!t)
        throw ImportError(engine::gdalReport(
            "no transformation from " + crsLabel(from) + " to " + crsLabel(to), trap));
    return t;
}

}  // namespace importer
