#include "importer/study_area.h"

#include <ogr_feature.h>

#include <QDir>
#include <cmath>

#include "engine/projection.h"
#include "engine/types.h"
#include "importer/field_mapping.h"
#include "importer/geometry.h"
#include "importer/import_error.h"
#include "importer/import_report.h"
#include "importer/spatial_reference.h"
#include "importer/vector_file.h"

namespace importer {

namespace {

// Areas in the output coordinates this far from the true ones are told, and further refused.
constexpr double kWarnedDistortion = 0.02, kRefusedDistortion = 0.10;
constexpr int kMostVerticesRepaired = 20000;

// The shape's area on the Earth, in an equal-area projection centred on it.
double equalAreaKm2(const engine::Shape& s, const OGRSpatialReference& crs, double lon,
                    double lat) {
    OGRSpatialReference laea;
    laea.CopyGeogCSFrom(&crs);
    laea.SetLAEA(lat, lon, 0, 0);
    try {
        const engine::Reprojection carry(engine::CoordinateSystem::fromWkt(crsWkt(crs)),
                                         engine::CoordinateSystem::fromWkt(crsWkt(laea)));
        return carry.apply(s).area() / 1e6;
    } catch (const engine::EngineError& e) {
        throw ImportError(std::string("the study area's area on the Earth cannot be measured: ") +
                          e.what());
    }
}

}  // namespace

StudyArea::StudyArea(const QString& path, const QString& where, const QString& crsChoice,
                     ImportReport& report) {
    VectorFile file(path, "the boundary", where);
    const auto e = file.extent();
    if (e[0] == e[2] && e[1] == e[3] && e[0] == 0)
        throw ImportError(("the boundary " + QDir::toNativeSeparators(path) +
                           (where.trimmed().isEmpty() ? " holds no shapes"
                                                      : " selects nothing with \"" + where + "\""))
                              .toStdString());
    // The centre of the selected shapes, in degrees, picks the UTM zone.
    double cx = (e[0] + e[2]) / 2, cy = (e[1] + e[3]) / 2;
    transformation(file.crs(), geographicWgs84())->Transform(1, &cx, &cy);
    if (file.crs().IsGeographic()) cx = file.centralLongitude();
    crs_ = outputCrs(crsChoice, cx, cy);
    wkt_ = importer::crsWkt(crs_);

    const auto fields = mapFields(file, {"NAME", "POP"});
    std::vector<engine::Shape> parts;
    int skipped = 0;
    // Repairing a polygon that crosses itself costs time with the number of its crossings, which
    // a large garbled boundary makes unbounded: such a boundary is refused, before densifying it
    // multiplies its vertices.
    const auto refuseGarbled = [&](const OGRGeometry& source, long long vertices) {
        if (vertices > kMostVerticesRepaired && !isValid(toShape(source)))
            throw ImportError(("the boundary " + QDir::toNativeSeparators(path) +
                               " has a polygon that crosses itself and is too large to repair (" +
                               QString::number(vertices) +
                               " vertices in the output system; the limit is " +
                               QString::number(kMostVerticesRepaired) +
                               "): repair it first (ogr2ogr -makevalid) or give a simpler boundary")
                                  .toStdString());
    };
    file.forEach(
        crs_,
        [&](const OGRFeature& f, engine::Shape s) {
            s = repaired(s);
            if (s.isNull() || s.shapeType() != engine::moShapeTypePolygon) {
                ++skipped;
                return true;
            }
            parts.push_back(s);
            features_.push_back({s, {mappedValue(f, fields[0]), mappedValue(f, fields[1])}});
            return true;
        },
        refuseGarbled);
    if (parts.empty())
        throw ImportError(("the boundary " + QDir::toNativeSeparators(path) +
                           " selects no polygon" +
                           (where.trimmed().isEmpty() ? QString() : " with \"" + where + "\""))
                              .toStdString());
    shape_ = merged(std::move(parts));
    prepared_ = std::make_unique<Prepared>(shape_);
    const double trueKm2 = equalAreaKm2(shape_, crs_, cx, cy);
    const double apart = std::abs(shape_.area() / 1e6 / trueKm2 - 1);

    report.section("Study area");
    report.line("Boundary: " + QDir::toNativeSeparators(path) + " (layer " + file.layerName() +
                ")");
    if (!where.trimmed().isEmpty()) report.line("Selected with: " + where);
    report.line(QString("Polygons: %1; area %2 km2")
                    .arg(features_.size())
                    .arg(reportNumber(shape_.area() / 1e6)));
    for (const auto& m : fields)
        report.line(m.catalogueField + " from " +
                    (m.sourceIndex >= 0 ? m.sourceName : "nothing (left empty)"));
    if (skipped)
        report.warn(
            QString("the boundary: %1 features without a polygon were left out").arg(skipped));
    report.section("Coordinates");
    report.line("Output coordinate system: " + crsLabel(crs_));
    report.line(QString("Centre of the study area: %1, %2 degrees (longitude, latitude)")
                    .arg(reportNumber(cx), reportNumber(cy)));
    report.line(QString("Area in the output coordinates %1 km2, on the Earth %2 km2")
                    .arg(reportNumber(shape_.area() / 1e6), reportNumber(trueKm2)));
    // Every area and distance of the dataset is measured in these coordinates.
    const QString differs =
        QString(
            "the output coordinate system %1 makes the study area %2 km2, against %3 km2 on "
            "the Earth (%4% apart)")
            .arg(crsLabel(crs_), reportNumber(shape_.area() / 1e6), reportNumber(trueKm2),
                 reportNumber(std::round(apart * 1000) / 10));
    if (!(apart <= kRefusedDistortion))
        throw ImportError((differs + "; give --crs an equal-area system in metres for the area, "
                                     "such as EPSG:6933")
                              .toStdString());
    if (apart > kWarnedDistortion) report.warn(differs);
}

StudyArea::~StudyArea() = default;

engine::Shape StudyArea::clip(const engine::Shape& s) const {
    if (s.isNull() || s.isEmpty()) return {};
    if (s.shapeType() == engine::moShapeTypePoint)
        return prepared_->intersects(s) ? s : engine::Shape();
    if (prepared_->contains(s)) return s;
    if (!prepared_->intersects(s)) return {};
    // One overlay with the whole study area: pieces cut from tiles would leave seams.
    engine::Shape piece = s.intersect(shape_);
    if (piece.isNull() || piece.shapeType() != s.shapeType()) return {};
    return piece;
}

}  // namespace importer
