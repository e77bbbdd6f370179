#include "importer/class_table.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <QDir>
#include <cmath>

#include "engine/gdal_support.h"
#include "importer/import_error.h"
#include "importer/source_files.h"

namespace importer {

namespace {
constexpr qint64 kMaxClassTableBytes = 1 << 20;
}

ClassTable ClassTable::worldCover() {
    ClassTable t;
    t.source_ = "the built-in WorldCover table";
    t.names_ = {{10, "TREE COVER"},         {20, "SHRUBLAND"},
                {30, "GRASSLAND"},          {40, "CROPLAND"},
                {50, "BUILT-UP"},           {60, "BARE / SPARSE VEGETATION"},
                {70, "SNOW AND ICE"},       {80, "PERMANENT WATER BODIES"},
                {90, "HERBACEOUS WETLAND"}, {95, "MANGROVES"},
                {100, "MOSS AND LICHEN"}};
    return t;
}

ClassTable ClassTable::fromChoice(const QString& choice) {
    if (choice.isEmpty() || choice.compare("worldcover", Qt::CaseInsensitive) == 0)
        return worldCover();
    return fromCsv(choice);
}

QString ClassTable::name(long long code) const {
    auto it = names_.find(code);
    return it == names_.end() ? QString() : it->second;
}

ClassTable ClassTable::fromCsv(const QString& path) {
    const QString what = "the land-cover class table";
    checkSourceFile(path, what, kMaxClassTableBytes);
    engine::ensureGdal();
    engine::GdalErrorTrap trap;
    const QString name = what + " " + QDir::toNativeSeparators(path);
    std::unique_ptr<GDALDataset> ds(GDALDataset::Open(
        ("CSV:" + QFile::encodeName(path)).constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    if (!ds || ds->GetLayerCount() < 1)
        throw ImportError(engine::gdalReport(name + " cannot be read as CSV", trap));
    OGRLayer* layer = ds->GetLayer(0);
    OGRFeatureDefn* defn = layer->GetLayerDefn();
    int code = defn->GetFieldIndex("code"), label = defn->GetFieldIndex("name");
    if (code < 0 || label < 0) {
        if (defn->GetFieldCount() < 2)
            throw ImportError((name + " needs two columns: code and name").toStdString());
        code = 0;
        label = 1;
    }
    ClassTable t;
    t.source_ = QDir::toNativeSeparators(path);
    int line = 1;
    for (auto& f : *layer) {
        ++line;
        const QString codeText = QString::fromUtf8(f->GetFieldAsString(code)).trimmed();
        bool ok = false;
        const double v = codeText.toDouble(&ok);
        if (!ok || v != std::floor(v) || std::abs(v) > 1e15)
            throw ImportError(QString("%1, line %2: the code \"%3\" is not a whole number")
                                  .arg(name)
                                  .arg(line)
                                  .arg(codeText)
                                  .toStdString());
        const QString text = QString::fromUtf8(f->GetFieldAsString(label)).trimmed().toUpper();
        if (text.isEmpty())
            throw ImportError(
                QString("%1, line %2: the class has no name").arg(name).arg(line).toStdString());
        if (!t.names_.emplace((long long)v, text).second)
            throw ImportError(QString("%1, line %2: the code %3 is listed twice")
                                  .arg(name)
                                  .arg(line)
                                  .arg(codeText)
                                  .toStdString());
    }
    if (t.names_.empty()) throw ImportError((name + " lists no class").toStdString());
    return t;
}

}  // namespace importer
