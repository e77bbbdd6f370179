#include "importer/field_mapping.h"

#include <ogr_feature.h>

#include <QRegularExpression>
#include <cmath>

#include "importer/import_error.h"
#include "importer/vector_file.h"

namespace importer {

QStringList sourceFieldNames(const QString& f) {
    // Common public sources: OpenStreetMap extracts, national boundary sets, protected-area and
    // power-plant databases, populated-place tables.
    if (f == "NAME")
        return {"NAME", "name_en", "shapeName", "NAME_1", "NAME_0", "ADMIN", "NAM", "label"};
    if (f == "TYPE")
        return {"TYPE", "fclass", "DESIG_ENG", "DESIG", "designation", "place", "FEATURECLA"};
    if (f == "POP") return {"POP", "population", "POP_MAX", "pop_est", "POP_EST"};
    if (f == "VOLTAGE") return {"VOLTAGE", "voltage_kv", "max_voltage"};
    if (f == "CAPACITY") return {"CAPACITY", "capacity_mw", "capacitymw", "output_mw"};
    return {f};
}

engine::FieldDesc catalogueField(const QString& name) {
    if (name == "POP") return {name, engine::moLong, 10, 0};
    if (name == "VOLTAGE") return {name, engine::moLong, 6, 0};
    if (name == "CAPACITY") return {name, engine::moDouble, 10, 1};
    return {name, engine::moString, 10, 0};
}

std::vector<FieldMap> mapFields(const VectorFile& file, const QStringList& catalogueFields,
                                const QString& explicitNameField) {
    std::vector<FieldMap> maps;
    for (const QString& f : catalogueFields) {
        FieldMap m;
        m.catalogueField = f;
        if (f == "NAME" && !explicitNameField.isEmpty()) {
            m.sourceIndex = file.findField({explicitNameField});
            if (m.sourceIndex < 0)
                throw ImportError(
                    ("the field " + explicitNameField + " is not in " + file.layerName())
                        .toStdString());
        } else {
            m.sourceIndex = file.findField(sourceFieldNames(f));
        }
        if (m.sourceIndex >= 0) m.sourceName = file.fieldName(m.sourceIndex);
        maps.push_back(m);
    }
    return maps;
}

QVariant mappedValue(const OGRFeature& feature, const FieldMap& map) {
    if (map.sourceIndex < 0 || !feature.IsFieldSetAndNotNull(map.sourceIndex)) return {};
    const QString text = QString::fromUtf8(feature.GetFieldAsString(map.sourceIndex)).trimmed();
    const engine::FieldDesc desc = catalogueField(map.catalogueField);
    if (desc.type == engine::moString) return text;
    // "220000;110000" (volts, several circuits) or "1,200": the first number.
    static const QRegularExpression number(R"([-+]?\d[\d,]*(\.\d+)?)");
    const auto match = number.match(text);
    if (!match.hasMatch()) return {};
    bool ok = false;
    double v = match.captured(0).remove(',').toDouble(&ok);
    if (!ok || !std::isfinite(v)) return {};
    if (map.catalogueField == "VOLTAGE" && v >= 1000) v /= 1000;  // volts to kV
    if (desc.type == engine::moLong) return qlonglong(std::llround(v));
    return v;
}

}  // namespace importer
