#include "importer/vector_layers.h"

#include <ogr_feature.h>

#include <QDir>

#include "engine/types.h"
#include "importer/field_mapping.h"
#include "importer/geometry.h"
#include "importer/import_report.h"
#include "importer/layer_writer.h"
#include "importer/progress.h"
#include "importer/study_area.h"
#include "importer/vector_file.h"

namespace importer {

namespace {

const char* kindName(int shapeType) {
    switch (shapeType) {
        case engine::moShapeTypePoint:
            return "points";
        case engine::moShapeTypeLine:
            return "lines";
        default:
            return "areas";
    }
}

engine::TableDesc tableOf(const QStringList& fields) {
    engine::TableDesc t;
    for (const QString& f : fields) t.push_back(catalogueField(f));
    return t;
}

}  // namespace

void importVectorLayer(const VectorTarget& target, const QString& path, const QString& where,
                       const StudyArea& area, const QString& dir, ImportReport& report,
                       Progress& progress) {
    report.section(target.file + ".shp");
    VectorFile file(path, target.what, where);
    report.line("Source: " + QDir::toNativeSeparators(path) + " (layer " + file.layerName() + ")");
    if (file.layerCount() > 1)
        report.warn(QString("%1: the file holds %2 layers; only the first, %3, was read")
                        .arg(target.what)
                        .arg(file.layerCount())
                        .arg(file.layerName()));
    if (!where.trimmed().isEmpty()) report.line("Selected with: " + where);
    const auto fields = mapFields(file, target.fields, target.nameField);
    for (const auto& m : fields)
        report.line(m.catalogueField + " from " +
                    (m.sourceIndex >= 0 ? m.sourceName : "nothing (left empty)"));

    const long long total = std::max(1LL, file.featureCount());
    long long read = 0;
    int outside = 0, otherKind = 0, noGeometry = 0, toPoints = 0;
    std::vector<OutputRecord> records;
    file.forEach(area.crs(), [&](const OGRFeature& f, engine::Shape s) {
        if (++read % 512 == 0) progress.update(double(read) / double(total));
        s = repaired(s);
        if (s.isNull()) {
            ++noGeometry;
            return true;
        }
        if (s.shapeType() != target.shapeType) {
            if (target.shapeType != engine::moShapeTypePoint) {
                ++otherKind;
                return true;
            }
            s = interiorPoint(s);
            ++toPoints;
        }
        s = area.clip(s);
        if (s.isNull()) {
            ++outside;
            return true;
        }
        std::vector<QVariant> values;
        for (const auto& m : fields) values.push_back(mappedValue(f, m));
        records.push_back({std::move(s), std::move(values)});
        return true;
    });
    writeLayer(dir, target.file, target.shapeType, tableOf(target.fields), records, area.crsWkt());
    report.line(QString("Written: %1.shp, %2 %3 of %4 read; %5 outside the study area")
                    .arg(target.file)
                    .arg(records.size())
                    .arg(kindName(target.shapeType))
                    .arg(read)
                    .arg(outside));
    if (toPoints)
        report.line(
            QString("  %1 areas or lines were written as a point inside them").arg(toPoints));
    if (otherKind)
        report.warn(QString("%1: %2 features are not %3 and were left out")
                        .arg(target.what)
                        .arg(otherKind)
                        .arg(kindName(target.shapeType)));
    if (noGeometry)
        report.warn(
            QString("%1: %2 features have no usable geometry").arg(target.what).arg(noGeometry));
    if (records.empty()) report.warn(target.what + ": nothing lies inside the study area");
}

void writeCountryBoundary(const StudyArea& area, const QString& dir, ImportReport& report) {
    writeLayer(dir, "39_countryboundary", engine::moShapeTypePolygon, tableOf({"NAME", "POP"}),
               area.features(), area.crsWkt());
    report.line(
        QString("Written: 39_countryboundary.shp, %1 polygons").arg(area.features().size()));
}

}  // namespace importer
