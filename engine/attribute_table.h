#pragma once
// Engine internal: a dataset's attributes as OGR features, for evaluating search expressions.
// Holds references to the dataset's table, so it must not outlive the dataset.

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
    std::vector<int> select(const QString& expression);

private:
    void fill(int field);  // copies one column into the features, on its first use

    OGRFeatureDefn* defn_;
    const TableDesc& fields_;
    const std::vector<std::vector<QVariant>>& values_;
    std::vector<bool> filled_;
    std::vector<std::unique_ptr<OGRFeature>> features_;
};

// The expression with every FeatureID outside quoted texts replaced by OGR's record number FID.
QString featureIdAsFid(const QString& expression);

}  // namespace engine
