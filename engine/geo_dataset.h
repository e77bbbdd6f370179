#pragma once
// A shapefile read into memory, the connection to a directory of them, and writing new ones.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "engine/coordinate_system.h"
#include "engine/rectangle.h"
#include "engine/shape.h"

namespace engine {

struct FieldDesc {
    QString name;
    int type = moDouble;  // moLong, moDouble, moDate, moString, moBoolean
    int size = 15;        // total width
    int precision = 1;    // decimals
};
using TableDesc = std::vector<FieldDesc>;

class SpatialIndex;
class AttributeTable;
struct RenderCache;

// One shapefile, read once: shapes, attributes in table order, its coordinate system.
// Shared by every layer made from it.
class GeoDataset {
public:
    ~GeoDataset();
    // Reads the whole file; throws EngineError, naming the file at fault, when it cannot be
    // read. Only regular files are read, and the .prj and .cpg must be small.
    static std::shared_ptr<GeoDataset> open(const QString& shpPath);

    QString name() const { return name_; }  // file name with extension, as listed
    QString path() const { return path_; }
    int shapeType() const { return shapeType_; }
    const std::optional<CoordinateSystem>& coordinateSystem() const { return crs_; }
    // For a layer without a usable coordinate system, why: "its .prj is missing" and the like.
    QString noSystemReason() const { return noSystemReason_; }
    // True for a layer without a system of its own that was taken to be in its dataset's: every
    // use of it should say so.
    bool systemAssumed() const { return systemAssumed_; }
    // A copy with every shape carried into cs; a shape that cannot be is left out and counted.
    // Throws EngineError when the systems cannot be related.
    std::shared_ptr<GeoDataset> reprojected(const CoordinateSystem& cs) const;
    // A copy of a layer without a system, taken to be in cs.
    std::shared_ptr<GeoDataset> assumedIn(const CoordinateSystem& cs) const;
    int recordCount() const { return int(shapes_.size()); }
    const QStringList& fieldNames() const { return fieldNames_; }
    // Name, type (moLong, moDouble, moDate, moString), width and precision of each field.
    const TableDesc& fields() const { return fields_; }
    // Index of a field by name, without regard to case; -1 when absent.
    int fieldIndex(const QString& name) const;
    const Shape& shape(int record) const { return shapes_.at(record); }
    const Rectangle& shapeExtent(int record) const { return extents_.at(record); }
    QVariant value(int record, int field) const { return values_.at(record).at(field); }
    Rectangle extent() const { return extent_; }
    // Features not read because a vertex is not finite or lies beyond the coordinate system's
    // limits, or their shape is no valid geometry; they are in no search and not drawn.
    int featuresLeftOut() const { return featuresLeftOut_; }

    // Records matching an OGR SQL WHERE expression, in record order. FeatureID is offered by
    // every dataset (the record number when the table has no such field). Throws EngineError.
    std::vector<int> select(const QString& expression) const;
    // Records within distance of the shape (distance 0: records that intersect it), in record
    // order. Builds the spatial index on first use.
    std::vector<int> selectByDistance(const Shape& shape, double distance) const;
    // Records whose extent meets the rectangle (for drawing), in record order.
    std::vector<int> selectByExtent(const Rectangle& r) const;

    RenderCache& renderCache() const;  // engine drawing internals

private:
    GeoDataset() = default;
    // Name, table and system of this one, and no features.
    std::shared_ptr<GeoDataset> withoutFeatures() const;
    QString name_, path_, noSystemReason_;
    bool systemAssumed_ = false;
    int shapeType_ = 0;
    std::optional<CoordinateSystem> crs_;
    QStringList fieldNames_;
    TableDesc fields_;
    std::vector<Shape> shapes_;
    std::vector<Rectangle> extents_;
    std::vector<std::vector<QVariant>> values_;
    Rectangle extent_;
    int featuresLeftOut_ = 0;
    mutable std::unique_ptr<SpatialIndex> index_;
    mutable std::unique_ptr<RenderCache> render_;
    mutable std::unique_ptr<AttributeTable> table_;  // built on the first search
    mutable std::mutex mutex_;                       // guards the three built on demand
};

// Writes a new shapefile. Nothing appears under the final name until commit() succeeds: the
// files are written under a temporary name in the same directory and replace the old parts as a
// whole, so an existing file survives a failed write unchanged.
class GeoDatasetWriter {
public:
    ~GeoDatasetWriter();
    // Adds one record; values in table-description order. Throws EngineError.
    void addRecord(const Shape& shape, const std::vector<QVariant>& values);
    // Finishes the file and moves it into place, once. Throws EngineError with the reason.
    void commit();
    // The file's final path, with the extension as given.
    QString path() const;

private:
    friend class DataConnection;
    struct Impl;
    std::unique_ptr<Impl> d_;
};

// A directory of shapefiles.
class DataConnection {
public:
    QString database() const { return database_; }
    void setDatabase(const QString& directory) { database_ = directory; }
    // True when the directory exists and can be listed; else connectError() tells why.
    bool connect();
    bool connected() const { return connected_; }
    int connectError() const { return connectError_; }
    QString connectErrorText() const;  // the reason in words; empty when connected
    // The dataset of that file name, or null when it is missing or unreadable (never throws);
    // then whyNot, when given, tells why.
    std::shared_ptr<GeoDataset> findGeoDataset(const QString& fileName,
                                               QString* whyNot = nullptr) const;
    // Starts a new shapefile of the given shape type in the directory: "name", with ".shp" added
    // unless the name ends in ".shp" in any case (then kept as given). Rolls back what killed
    // saves left in the directory first. Throws EngineError when it cannot be created.
    std::unique_ptr<GeoDatasetWriter> addGeoDataset(
        const QString& name, int shapeType, const TableDesc& table,
        const std::optional<CoordinateSystem>& crs = std::nullopt) const;

private:
    QString database_;
    bool connected_ = false;
    int connectError_ = 0;
};

}  // namespace engine
