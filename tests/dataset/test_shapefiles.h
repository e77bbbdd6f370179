#pragma once
// Writes small real shapefiles for the shell and dataset tests, through the engine's writer.

#include <QDir>
#include <QFile>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>
#include <vector>

#include "engine/coordinate_system.h"
#include "engine/geo_dataset.h"
#include "engine/shape.h"

namespace testdata {

inline engine::CoordinateSystem metresCrs() {
    return engine::CoordinateSystem::fromWkt(QStringLiteral(
        R"(PROJCS["WGS 84 / UTM zone 33N",GEOGCS["WGS 84",DATUM["WGS_1984",SPHEROID["WGS 84",6378137,298.257223563]],PRIMEM["Greenwich",0],UNIT["degree",0.0174532925199433]],PROJECTION["Transverse_Mercator"],PARAMETER["latitude_of_origin",0],PARAMETER["central_meridian",15],PARAMETER["scale_factor",0.9996],PARAMETER["false_easting",500000],PARAMETER["false_northing",0],UNIT["metre",1]])"));
}

inline engine::CoordinateSystem degreesCrs() {
    return engine::CoordinateSystem::fromWkt(QStringLiteral(
        R"(GEOGCS["WGS 84",DATUM["WGS_1984",SPHEROID["WGS 84",6378137,298.257223563]],PRIMEM["Greenwich",0],UNIT["degree",0.0174532925199433]])"));
}

inline engine::CoordinateSystem feetCrs() {
    return engine::CoordinateSystem::fromWkt(QStringLiteral(
        R"(PROJCS["Test feet",GEOGCS["WGS 84",DATUM["WGS_1984",SPHEROID["WGS 84",6378137,298.257223563]],PRIMEM["Greenwich",0],UNIT["degree",0.0174532925199433]],PROJECTION["Transverse_Mercator"],PARAMETER["latitude_of_origin",0],PARAMETER["central_meridian",15],PARAMETER["scale_factor",0.9996],PARAMETER["false_easting",500000],PARAMETER["false_northing",0],UNIT["US survey foot",0.304800609601219]])"));
}

// Square i of a row of unit squares, side `size`, starting at (x0, y0).
inline engine::Shape square(double x0, double y0, double size) {
    return engine::Shape::polygon(
        {{x0, y0}, {x0 + size, y0}, {x0 + size, y0 + size}, {x0, y0 + size}, {x0, y0}});
}

using Values = std::function<std::vector<QVariant>(int)>;

// Writes baseName.shp into dir with n features made by shapeOf(i) and valuesOf(i).
inline void writeShapefile(const QString& dir, const QString& baseName, int shapeType,
                           const engine::TableDesc& table, int n,
                           const std::function<engine::Shape(int)>& shapeOf, const Values& valuesOf,
                           const std::optional<engine::CoordinateSystem>& crs = metresCrs()) {
    QDir().mkpath(dir);
    engine::DataConnection connection;
    connection.setDatabase(dir + QStringLiteral("/"));
    connection.connect();
    auto writer = connection.addGeoDataset(baseName, shapeType, table, crs);
    for (int i = 0; i < n; ++i) writer->addRecord(shapeOf(i), valuesOf(i));
    writer->commit();
}

// n squares of 1 km in a row, with one numeric field set to value(i).
inline void writeSquares(
    const QString& dir, const QString& baseName, int n,
    const QString& field = QStringLiteral("VALUE"),
    const std::function<double(int)>& value = [](int i) { return double(i); },
    const std::optional<engine::CoordinateSystem>& crs = metresCrs()) {
    writeShapefile(
        dir, baseName, engine::moShapeTypePolygon, {{field, engine::moDouble, 15, 3}}, n,
        [](int i) { return square(500000 + (i % 20) * 1000.0, (i / 20) * 1000.0, 1000); },
        [&](int i) { return std::vector<QVariant>{value(i)}; }, crs);
}

// n horizontal lines, 1 km apart.
inline void writeLines(const QString& dir, const QString& baseName, int n) {
    writeShapefile(
        dir, baseName, engine::moShapeTypeLine, {{QStringLiteral("NAME"), engine::moString, 20, 0}},
        n,
        [](int i) {
            return engine::Shape::lineString({{500000, i * 1000.0}, {520000, i * 1000.0}});
        },
        [](int i) { return std::vector<QVariant>{QStringLiteral("line %1").arg(i)}; });
}

// Renames baseName's files so that their extensions are upper case (".SHP", ".DBF", ...).
inline void upperCaseExtensions(const QString& dir, const QString& baseName,
                                const QString& newBase) {
    for (const char* ext : {"shp", "shx", "dbf", "prj", "cpg"}) {
        const QString from = dir + "/" + baseName + "." + ext;
        if (QFile::exists(from))
            QFile::rename(from, dir + "/" + newBase + "." + QString::fromLatin1(ext).toUpper());
    }
}

// Replaces every occurrence of the double `marker` (as stored, little-endian) in a file by
// `value`, as a tool writing NaN or 1e308 for "no data" would have written it: GDAL refuses to
// write such coordinates itself. Returns how many were replaced.
inline int replaceDouble(const QString& path, double marker, double value) {
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite)) return 0;
    QByteArray bytes = f.readAll();
    const QByteArray from(reinterpret_cast<const char*>(&marker), sizeof marker);
    const QByteArray to(reinterpret_cast<const char*>(&value), sizeof value);
    const int count = int(bytes.count(from));
    bytes.replace(from, to);
    f.seek(0);
    f.write(bytes);
    return count;
}

}  // namespace testdata
