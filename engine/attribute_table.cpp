#include "engine/attribute_table.h"

#include <QDate>
#include <ogr_feature.h>

#include "engine/gdal_support.h"

namespace engine {

namespace {

OGRFieldType ogrType(int type) {
    switch (type) {
    case moLong: return OFTInteger64;
    case moDouble: return OFTReal;
    case moDate: return OFTDate;
    case moBoolean: return OFTInteger;
    default: return OFTString;
    }
}

void setValue(OGRFeature& f, int i, OGRFieldType type, const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        f.SetFieldNull(i);
        return;
    }
    switch (type) {
    case OFTInteger64: f.SetField(i, GIntBig(v.toLongLong())); break;
    case OFTInteger: f.SetField(i, v.toInt()); break;
    case OFTReal: f.SetField(i, v.toDouble()); break;
    case OFTDate: {
        const QDate d = v.toDate();
        f.SetField(i, d.year(), d.month(), d.day());
        break;
    }
    default: f.SetField(i, v.toString().toUtf8().constData());
    }
}

bool isIdentifierChar(QChar c) { return c.isLetterOrNumber() || c == '_'; }

}  // namespace

QString featureIdAsFid(const QString& expression) {
    QString out;
    out.reserve(expression.size());
    for (qsizetype i = 0; i < expression.size();) {
        const QChar c = expression[i];
        if (c == '\'') {  // a quoted text, '' inside it is a quote
            qsizetype j = i + 1;
            while (j < expression.size()) {
                if (expression[j] == '\'') {
                    if (j + 1 < expression.size() && expression[j + 1] == '\'') {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += expression.mid(i, j + 1 - i);
            i = j + 1;
        } else if (isIdentifierChar(c) || c == '"') {
            const bool quoted = c == '"';
            qsizetype j = i + 1;
            if (quoted) {
                while (j < expression.size() && expression[j] != '"') ++j;
                ++j;
            } else {
                while (j < expression.size() && isIdentifierChar(expression[j])) ++j;
            }
            const QString word = expression.mid(i, j - i);
            const QString bare = quoted ? word.mid(1, word.size() - 2) : word;
            out += bare.compare("FeatureID", Qt::CaseInsensitive) == 0 ? QStringLiteral("FID") : word;
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

AttributeTable::AttributeTable(const TableDesc& fields,
                               const std::vector<std::vector<QVariant>>& values)
    : defn_(new OGRFeatureDefn("records")), fields_(fields), values_(values),
      filled_(fields.size(), false) {
    defn_->Reference();
    defn_->SetGeomType(wkbNone);
    for (const FieldDesc& fd : fields) {
        OGRFieldDefn def(fd.name.toUtf8().constData(), ogrType(fd.type));
        defn_->AddFieldDefn(&def);
    }
    features_.reserve(values.size());
    for (size_t r = 0; r < values.size(); ++r) {
        auto f = std::make_unique<OGRFeature>(defn_);
        f->SetFID(GIntBig(r));
        features_.push_back(std::move(f));
    }
}

AttributeTable::~AttributeTable() {
    features_.clear();
    defn_->Release();
}

void AttributeTable::fill(int field) {
    if (field < 0 || filled_[field]) return;
    const OGRFieldType type = ogrType(fields_[field].type);
    for (size_t r = 0; r < features_.size(); ++r)
        setValue(*features_[r], field, type, values_[r][field]);
    filled_[field] = true;
}

std::vector<int> AttributeTable::select(const QString& expression) {
    GdalErrorTrap trap;
    OGRFeatureQuery query;
    if (query.Compile(defn_, expression.toUtf8().constData(), TRUE, nullptr) != OGRERR_NONE)
        throw EngineError(gdalReport("cannot read the expression \"" + expression + "\"", trap));
    char** used = query.GetUsedFields();
    for (char** name = used; name && *name; ++name) fill(defn_->GetFieldIndex(*name));
    CSLDestroy(used);
    std::vector<int> matches;
    for (const auto& f : features_)
        if (query.Evaluate(f.get())) matches.push_back(int(f->GetFID()));
    if (trap.failed()) throw EngineError(gdalReport("cannot evaluate \"" + expression + "\"", trap));
    return matches;
}

}  // namespace engine
