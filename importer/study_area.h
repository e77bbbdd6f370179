#pragma once
// The study area: the boundary's selected polygons, carried into the output coordinates (chosen
// from its centre unless given) and merged; everything else is clipped to it.

#include <ogr_spatialref.h>

#include <memory>

#include "engine/rectangle.h"
#include "importer/layer_writer.h"

namespace importer {

class ImportReport;
class Prepared;

class StudyArea {
  public:
    // Throws ImportError for an unreadable boundary or one that selects no polygon.
    StudyArea(const QString& path, const QString& where, const QString& crsChoice,
              ImportReport& report);
    ~StudyArea();

    const OGRSpatialReference& crs() const { return crs_; }
    QString crsWkt() const { return wkt_; }
    const engine::Shape& shape() const { return shape_; }
    engine::Rectangle extent() const { return shape_.extent(); }
    // The boundary's features as read (NAME, POP), for the country boundary file.
    const std::vector<OutputRecord>& features() const { return features_; }

    // The part of s inside the study area, of s's own kind; null when none. Points are kept
    // or dropped whole.
    engine::Shape clip(const engine::Shape& s) const;

  private:
    OGRSpatialReference crs_;
    QString wkt_;
    engine::Shape shape_;
    std::unique_ptr<Prepared> prepared_;
    std::vector<OutputRecord> features_;
};

}  // namespace importer
