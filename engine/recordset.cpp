#include "engine/recordset.h"

#include <algorithm>
#include <limits>

namespace engine {

namespace {
int fieldOrThrow(const GeoDataset& ds, const QString& name) {
    const int i = ds.fieldIndex(name);
    if (i < 0) throw EngineError(("no field " + name + " in " + ds.name()).toStdString());
    return i;
}
bool isFeatureId(const QString& name) { return name.compare("FeatureID", Qt::CaseInsensitive) == 0; }
}  // namespace

Recordset::Recordset(std::shared_ptr<const GeoDataset> ds, std::vector<int> records)
    : ds_(std::move(ds)), records_(std::move(records)) {}

int Recordset::fieldCount() const { return ds_ ? int(ds_->fieldNames().size()) : 0; }

QString Recordset::fieldName(int i) const { return ds_->fieldNames().at(i); }

QVariant Recordset::value(int i) const { return ds_->value(record(), i); }

QVariant Recordset::value(const QString& name) const {
    const int i = ds_->fieldIndex(name);
    if (i >= 0) return value(i);
    if (isFeatureId(name)) return record();
    return value(fieldOrThrow(*ds_, name));
}

bool Recordset::hasField(const QString& name) const {
    return ds_ && (ds_->fieldIndex(name) >= 0 || isFeatureId(name));
}

const Shape& Recordset::shape() const { return ds_->shape(record()); }

int Recordset::shapeType() const { return shape().shapeType(); }

Statistics Recordset::calculateStatistics(const QString& field) const {
    Statistics s;
    if (!ds_) return s;
    const int i = ds_->fieldIndex(field);
    const bool byRecord = i < 0 && isFeatureId(field);
    if (i < 0 && !byRecord) fieldOrThrow(*ds_, field);
    s.minimum = std::numeric_limits<double>::max();
    s.maximum = std::numeric_limits<double>::lowest();
    for (int r : records_) {
        double v = r;
        if (!byRecord) {
            const QVariant q = ds_->value(r, i);
            bool ok = false;
            if (q.isValid() && !q.isNull()) v = q.toDouble(&ok);
            if (!ok) continue;
        }
        ++s.count;
        s.sum += v;
        s.minimum = std::min(s.minimum, v);
        s.maximum = std::max(s.maximum, v);
    }
    if (s.count == 0) return Statistics{};
    s.mean = s.sum / s.count;
    return s;
}

}  // namespace engine
