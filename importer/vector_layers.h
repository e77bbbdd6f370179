#pragma once
// The catalogue's vector layers: reprojected, clipped to the study area, fields mapped.

#include <QString>
#include <QStringList>

namespace importer {

class ImportReport;
class Progress;
class StudyArea;

struct VectorTarget {
    QString what;        // "the roads", in messages
    QString file;        // "43_roads"
    int shapeType = 0;   // engine::moShapeType...
    QStringList fields;  // catalogue fields, NAME first
    QString nameField;   // explicit source field for NAME, else found by itself
};

// Writes target.file into dir from the features of path selected by where. Points are kept when
// inside; areas given for a point layer become a point inside them; features of another kind
// are left out and counted in the report.
void importVectorLayer(const VectorTarget& target, const QString& path, const QString& where,
                       const StudyArea& area, const QString& dir, ImportReport& report,
                       Progress& progress);

// The study area's own features as the country boundary.
void writeCountryBoundary(const StudyArea& area, const QString& dir, ImportReport& report);

}  // namespace importer
