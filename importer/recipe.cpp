#include "importer/recipe.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <nlohmann/json.hpp>

#include "engine/types.h"
#include "importer/import_error.h"
#include "importer/source_files.h"

namespace importer {

namespace {

constexpr qint64 kMaxRecipeBytes = 1 << 20;

OptionInfo opt(const QString& key, OptionKind kind, const QString& value, const QString& help,
               const QString& choices = {}) {
    return {key, kind, value, help, choices};
}

std::vector<OptionInfo> makeOptions() {
    using K = OptionKind;
    std::vector<OptionInfo> s = {
        opt("boundary", K::File, "FILE",
            "the study area (country or any polygons), written as the country boundary"),
        opt("boundary-where", K::Text, "SQL",
            "which features of the boundary file make the study area"),
        opt("states", K::File, "FILE", "state boundaries, labelled from NAME"),
        opt("states-where", K::Text, "SQL", "which state features to take"),
        opt("name-field", K::Text, "FIELD",
            "the states' field holding their names (found by itself when absent)"),
        opt("crs", K::Text, "EPSG:N|utm",
            "output coordinates, projected in metres (default utm: the UTM zone of the study "
            "area's centre)"),
        opt("cell-km", K::Number, "K", "side of the grid cells in km (default 5)"),
        opt("land-cover-km", K::Number, "K", "cell side for land cover (default: --cell-km)"),
        opt("elevation-km", K::Number, "K", "cell side for elevation (default: --cell-km)"),
        opt("wind-power-density", K::File, "RASTER",
            "wind power density (W/m2), e.g. at 100 m height"),
        opt("solar-units", K::Choice, "daily|yearly",
            "solar rasters in kWh/m2/day, or totals in kWh/m2 per year (monthly rasters: per "
            "month); default daily",
            "daily|yearly"),
        opt("solar-ghi", K::File, "RASTER", "global horizontal irradiation"),
        opt("solar-ghi-monthly", K::Pattern, "PATTERN",
            "monthly global horizontal rasters, {MM} standing for 01 to 12"),
        opt("solar-dni", K::File, "RASTER", "direct normal irradiation"),
        opt("solar-dni-monthly", K::Pattern, "PATTERN", "monthly direct normal rasters"),
        opt("solar-tilt", K::File, "RASTER", "irradiation on a tilted plane (PV)"),
        opt("solar-tilt-monthly", K::Pattern, "PATTERN", "monthly tilted-plane rasters"),
        opt("land-cover", K::File, "RASTER", "land-cover class codes"),
        opt("land-cover-classes", K::Text, "worldcover|FILE.csv",
            "class table: the built-in WorldCover table (default) or a CSV with columns code,name"),
        opt("elevation", K::File, "RASTER", "elevation (m)"),
    };
    for (const VectorKind& v : vectorKinds()) {
        s.push_back(opt(v.key, K::File, "FILE", "written as " + QString(v.file) + ".shp"));
        s.push_back(opt(QString(v.key) + "-where", K::Text, "SQL", "which features to take"));
    }
    s.push_back(opt("overwrite", K::Flag, "", "replace a dataset already in OUT_DIR"));
    return s;
}

QString absolute(const QString& path, const QDir& base) {
    return path.isEmpty() ? path : QDir::cleanPath(base.absoluteFilePath(path));
}

}  // namespace

const std::vector<VectorKind>& vectorKinds() {
    static const std::vector<VectorKind> kinds = {
        {"roads", "43_roads", engine::moShapeTypeLine, {}},
        {"railways", "42_railroad", engine::moShapeTypeLine, {}},
        {"transmission", "44_transmissionline", engine::moShapeTypeLine, {"VOLTAGE"}},
        {"protected", "31_protectedarea", engine::moShapeTypePolygon, {"TYPE"}},
        {"lakes", "30_lakes", engine::moShapeTypePolygon, {}},
        {"rivers", "40_rivers", engine::moShapeTypeLine, {}},
        {"power-plants", "51_powerplant", engine::moShapeTypePoint, {"CAPACITY"}},
        {"airports", "53_airports", engine::moShapeTypePoint, {}},
        {"cities", "59_cities", engine::moShapeTypePoint, {"TYPE", "POP"}},
    };
    return kinds;
}

const std::vector<OptionInfo>& allOptions() {
    static const std::vector<OptionInfo> options = makeOptions();
    return options;
}

const OptionInfo* findOption(const QString& key) {
    for (const OptionInfo& s : allOptions())
        if (key == s.key) return &s;
    return nullptr;
}

double Recipe::number(const QString& key, double fallback) const {
    return values.contains(key) ? values.value(key).toDouble() : fallback;
}

void Recipe::set(const QString& key, const QString& value) {
    const OptionInfo* option = findOption(key);
    if (!option) throw ImportError(("unknown option --" + key).toStdString());
    switch (option->kind) {
        case OptionKind::Flag: {
            const QString v = value.trimmed().toLower();
            if (v != "true" && v != "false")
                throw ImportError(
                    ("--" + key + " is true or false, not \"" + value + "\"").toStdString());
            values[key] = v == "true";
            return;
        }
        case OptionKind::Number: {
            bool ok = false;
            const double v = value.trimmed().toDouble(&ok);
            if (!ok || !std::isfinite(v) || v <= 0 || v > 1000)
                throw ImportError(("--" + key +
                                   " needs a number of km above 0 and at most 1000, not \"" +
                                   value + "\"")
                                      .toStdString());
            values[key] = v;
            return;
        }
        case OptionKind::Choice:
            if (!option->choices.split('|').contains(value))
                throw ImportError(("--" + key + " is one of " +
                                   QString(option->choices).replace('|', ", ") + ", not \"" +
                                   value + "\"")
                                      .toStdString());
            values[key] = value;
            return;
        case OptionKind::Pattern:
            if (!value.contains("{MM}"))
                throw ImportError(("--" + key +
                                   " needs {MM} where the month number 01 to 12 goes: \"" + value +
                                   "\"")
                                      .toStdString());
            values[key] = value;
            return;
        default:
            values[key] = value;
    }
}

Recipe Recipe::fromJsonFile(const QString& path) {
    checkSourceFile(path, "the recipe", kMaxRecipeBytes);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ImportError(
            ("cannot read the recipe " + path + ": " + file.errorString()).toStdString());
    const QByteArray bytes = file.readAll();
    const QString where = "the recipe " + path;
    nlohmann::json doc;
    try {
        doc = nlohmann::json::parse(bytes.constData(), bytes.constData() + bytes.size());
    } catch (const nlohmann::json::exception& e) {
        throw ImportError((where + " is not valid JSON: " + e.what()).toStdString());
    }
    if (!doc.is_object())
        throw ImportError((where + ": the top level must be an object").toStdString());
    const QDir base = QFileInfo(path).absoluteDir();
    Recipe r;
    for (const auto& [k, v] : doc.items()) {
        const QString key = QString::fromStdString(k);
        if (key == "out") {
            if (!v.is_string())
                throw ImportError((where + ": \"out\" must be a text").toStdString());
            r.outDir = absolute(QString::fromStdString(v.get<std::string>()), base);
            continue;
        }
        const OptionInfo* option = findOption(key);
        if (!option) throw ImportError((where + ": unknown key \"" + key + "\"").toStdString());
        QString text;
        if (option->kind == OptionKind::Flag && v.is_boolean())
            text = v.get<bool>() ? "true" : "false";
        else if (option->kind == OptionKind::Number && v.is_number())
            text = QString::number(v.get<double>(), 'g', 17);
        else if (v.is_string())
            text = QString::fromStdString(v.get<std::string>());
        else
            throw ImportError((where + ": \"" + key + "\" must be " +
                               (option->kind == OptionKind::Flag     ? "true or false"
                                : option->kind == OptionKind::Number ? "a number"
                                                                     : "a text"))
                                  .toStdString());
        if (option->kind == OptionKind::File || option->kind == OptionKind::Pattern ||
            (key == "land-cover-classes" && text != "worldcover"))
            text = absolute(text, base);
        try {
            r.set(key, text);
        } catch (const ImportError& e) {
            throw ImportError((where + ": " + e.what()).toStdString());
        }
    }
    return r;
}

QByteArray Recipe::toJson() const {
    nlohmann::json doc = nlohmann::json::object();
    if (!outDir.isEmpty())
        doc["out"] = QDir::cleanPath(QDir().absoluteFilePath(outDir)).toStdString();
    const QDir here;
    for (const OptionInfo& s : allOptions()) {
        if (!values.contains(s.key)) continue;
        const QVariant v = values.value(s.key);
        const std::string key = s.key.toStdString();
        switch (s.kind) {
            case OptionKind::Flag:
                doc[key] = v.toBool();
                break;
            case OptionKind::Number:
                doc[key] = v.toDouble();
                break;
            case OptionKind::File:
            case OptionKind::Pattern:
                doc[key] = absolute(v.toString(), here).toStdString();
                break;
            default:
                doc[key] = v.toString().toStdString();
        }
    }
    return QByteArray::fromStdString(doc.dump(2)) + '\n';
}

void Recipe::checkComplete() const {
    if (outDir.isEmpty()) throw ImportError("no output folder given");
    if (!has("boundary")) throw ImportError("no study area given: --boundary FILE is needed");
    for (const char* kind : {"ghi", "dni", "tilt"}) {
        const QString annual = QString("solar-") + kind;
        if (has(annual + "-monthly") && !has(annual))
            throw ImportError(
                ("--" + annual + "-monthly needs the annual raster --" + annual + " too")
                    .toStdString());
    }
    for (const OptionInfo& s : allOptions()) {
        const QString& key = s.key;
        if (key.endsWith("-where") && has(key) && !has(key.chopped(6)))
            throw ImportError(("--" + key + " is given without --" + key.chopped(6)).toStdString());
    }
    if (has("name-field") && !has("states"))
        throw ImportError("--name-field is given without --states");
}

}  // namespace importer
