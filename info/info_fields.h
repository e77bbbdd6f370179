#pragma once
// Which attribute fields the point report lists for each layer file, and in which style.

#include <QString>
#include <QStringList>

namespace info {

enum class FieldStyle {
    None,     // the layer's name only, no fields
    Plain,    // "Name: value", as stored, in table order
    Ordered,  // "NAME : VALUE", upper-cased, in the order listed here
};

struct LayerFields {
    FieldStyle style = FieldStyle::None;
    QStringList names;  // upper-case field names
};

// The listed fields of a layer file (compared exactly, case included).
const LayerFields& fieldsOf(const QString& layerFile);

// Text after an ordered hydro value (" (m)", " (km^2)"), empty for every other field.
QString unitSuffix(const QString& fieldNameUpper);

}  // namespace info
