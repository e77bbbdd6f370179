#pragma once
// Engine internal: a dataset's attributes as OGR features, for evaluating search expressions.

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

#include "engine/geo_dataset.h"

class OGRFeature;
class OGRFeatureDefn;

namespace engine {

class AttributeTable {
public:
    AttributeTable(const TableDesc& fields, const std::vector<std::vector<QVariant>>& values);
    ~AttributeTable();
    AttributeTable(const AttributeTable&) = delete;
    AttributeTable& operator=(const AttributeTable&) = delete;

    // Records matching an OGR SQL WHERE expression, in record order. Throws EngineError.
    std::vector<int> select(const QString& expression) const;

private:
    OGRFeatureDefn* defn_;
    std::vector<std::unique_ptr<OGRFeature>> features_;
};

// The expression with every FeatureID outside quoted texts replaced by OGR's record number FID.
QString featureIdAsFid(const QString& expression);

}  // namespace engine
