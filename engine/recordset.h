#pragma once
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

#include "engine/geo_dataset.h"

namespace engine {

struct Statistics {
    int count = 0;
    double minimum = 0, maximum = 0, sum = 0, mean = 0;
};

// A cursor over some records of a dataset.
class Recordset {
public:
    Recordset() = default;
    Recordset(std::shared_ptr<const GeoDataset> ds, std::vector<int> records);

    bool eof() const { return pos_ >= records_.size(); }
    void moveNext() { ++pos_; }
    void moveFirst() { pos_ = 0; }
    int count() const { return int(records_.size()); }
    int record() const { return records_.at(pos_); }  // record number in the dataset

    // Fields of the current record, in table order (the geometry is not a field here).
    int fieldCount() const;
    QString fieldName(int i) const;
    QVariant value(int i) const;
    // Value by field name without regard to case; "FeatureID" falls back to the record number.
    // Throws EngineError for an unknown field.
    QVariant value(const QString& name) const;
    bool hasField(const QString& name) const;
    const Shape& shape() const;
    int shapeType() const;  // of the current record's shape

    // Over the numeric field for all records of the set; count 0 when the set is empty.
    // Throws EngineError for an unknown field.
    Statistics calculateStatistics(const QString& field) const;

private:
    std::shared_ptr<const GeoDataset> ds_;
    std::vector<int> records_;
    size_t pos_ = 0;
};

}  // namespace engine
