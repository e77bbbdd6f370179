#pragma once
// The output coordinate system and transformations into it.

#include <ogr_spatialref.h>

#include <QString>
#include <memory>

namespace importer {

// "utm": the WGS 84 UTM zone of the point (lon, lat in degrees); "EPSG:N": that system, which
// must be projected in metres, since cell sizes and distances are metres. Throws ImportError.
OGRSpatialReference outputCrs(const QString& choice, double lon, double lat);
OGRSpatialReference geographicWgs84();
// "WGS 84 / UTM zone 37N (EPSG:32637)".
QString crsLabel(const OGRSpatialReference& srs);
QString crsWkt(const OGRSpatialReference& srs);

std::unique_ptr<OGRCoordinateTransformation> transformation(const OGRSpatialReference& from,
                                                            const OGRSpatialReference& to);

}  // namespace importer
