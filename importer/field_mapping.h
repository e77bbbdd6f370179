#pragma once
// Which field of a source feeds each catalogue field (NAME, TYPE, POP, VOLTAGE, CAPACITY), and
// the value in the catalogue's type.

#include <QString>
#include <QStringList>
#include <QVariant>

#include "engine/geo_dataset.h"

class OGRFeature;

namespace importer {

class VectorFile;

// The source field names tried for a catalogue field, in order (compared without case).
QStringList sourceFieldNames(const QString& catalogueField);
// The catalogue field's type and width.
engine::FieldDesc catalogueField(const QString& name);

struct FieldMap {
    QString catalogueField;
    int sourceIndex = -1;  // -1: none found, the field stays empty
    QString sourceName;
};

// For each catalogue field, the source field found (an explicit one when given for NAME).
// Throws ImportError when the explicit NAME field is not in the file.
std::vector<FieldMap> mapFields(const VectorFile& file, const QStringList& catalogueFields,
                                const QString& explicitNameField = {});
// The feature's value for one mapped field, converted to the catalogue's type; null when the
// source has none or it does not read as that type.
QVariant mappedValue(const OGRFeature& feature, const FieldMap& map);

}  // namespace importer
