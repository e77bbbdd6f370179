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

// A dense labelled layer: 177 states of many sizes tiling the world in degrees, as the
// first-level boundaries "38_subcountrybnd1.shp" with a NAME of 4 to 15 letters each. State 0 is
// the largest.
inline void writeWorldStates(const QString& dir) {
    constexpr int kPieces[] = {14, 16, 18, 20, 22, 22, 20, 18, 15, 12};  // 177 in ten bands
    unsigned seed = 12345;
    const auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % unsigned(n));
    };
    const char* syllables[] = {"ka", "ru", "dor", "an",  "mel", "ti",
                               "sa", "bo", "lin", "gar", "ve",  "no"};
    std::vector<engine::Shape> shapes;
    std::vector<QString> names;
    // Bands 14 degrees high from 84 N, each cut into pieces of uneven widths; the first band
    // starts with one 60 degrees wide.
    for (int b = 0; b < 10; ++b) {
        const double top = 84 - b * 14.0, bottom = top - 14;
        std::vector<double> cuts{-180};
        const double start = b == 0 ? -120 : -180;
        const int pieces = kPieces[b] - (b == 0 ? 1 : 0);
        for (int i = b == 0 ? 0 : 1; i < pieces; ++i)
            cuts.push_back(start + (180 - start) * (i + 0.6 * (next(100) / 100.0 - 0.5)) / pieces);
        cuts.push_back(180);
        for (size_t i = 0; i + 1 < cuts.size(); ++i) {
            shapes.push_back(engine::Shape::polygon({{cuts[i], bottom},
                                                     {cuts[i + 1], bottom},
                                                     {cuts[i + 1], top},
                                                     {cuts[i], top},
                                                     {cuts[i], bottom}}));
            QString name;
            for (int k = 2 + next(4); k > 0; --k) name += QString::fromLatin1(syllables[next(12)]);
            name[0] = name[0].toUpper();
            names.push_back(name.left(15));
        }
    }
    writeShapefile(
        dir, QStringLiteral("38_subcountrybnd1"), engine::moShapeTypePolygon,
        {{QStringLiteral("NAME"), engine::moString, 40, 0}}, int(shapes.size()),
        [&](int i) { return shapes[i]; }, [&](int i) { return std::vector<QVariant>{names[i]}; },
        degreesCrs());
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
