#include "importer/importer.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "engine/types.h"
#include "importer/class_table.h"
#include "importer/grid_layers.h"
#include "importer/import_error.h"
#include "importer/import_report.h"
#include "importer/output_folder.h"
#include "importer/raster_source.h"
#include "importer/recipe.h"
#include "importer/study_area.h"
#include "importer/vector_file.h"
#include "importer/vector_layers.h"

namespace importer {

namespace {

const char* const kRasterKeys[] = {"wind-power-density", "solar-ghi",  "solar-dni",
                                   "solar-tilt",         "land-cover", "elevation"};

// "the power plants" for the option power-plants, in messages and the report.
QString named(const char* key) { return "the " + QString(key).replace('-', ' '); }

// Every source opened once before anything is written, so a bad one fails at once.
void checkSources(const Recipe& r) {
    VectorFile(r.text("boundary"), "the boundary", r.text("boundary-where"));
    if (r.has("states")) VectorFile(r.text("states"), "the states", r.text("states-where"));
    for (const VectorKind& v : vectorKinds())
        if (r.has(v.key))
            VectorFile(r.text(v.key), named(v.key), r.text(QString(v.key) + "-where"));
    for (const char* key : kRasterKeys)
        if (r.has(key)) RasterSource(r.text(key), named(key) + " raster");
    if (r.has("land-cover")) ClassTable::fromChoice(r.text("land-cover-classes"));
}

// Every file and file pattern the recipe reads from.
QStringList sourcesOf(const Recipe& r) {
    QStringList paths;
    for (const OptionInfo& o : allOptions())
        if ((o.kind == OptionKind::File || o.kind == OptionKind::Pattern) && r.has(o.key))
            paths << r.text(o.key);
    if (QFileInfo(r.text("land-cover-classes")).isFile()) paths << r.text("land-cover-classes");
    return paths;
}

void writeText(const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw ImportError(
            ("cannot write " + QDir::toNativeSeparators(path) + ": " + f.errorString())
                .toStdString());
}

}  // namespace

ImportResult runImport(const Recipe& recipe, const Progress::Listener& listener) {
    recipe.checkComplete();
    Progress progress(listener);
    progress.begin("Checking the sources", 0.02);
    checkSources(recipe);
    OutputFolder out(recipe.outDir, recipe.flag("overwrite"), sourcesOf(recipe));
    const QString dir = out.workPath();

    // Shares of the progress bar: rasters weigh most, a month a third of an annual raster.
    double total = 1;
    total += recipe.has("states");
    for (const VectorKind& v : vectorKinds()) total += recipe.has(v.key);
    for (const char* key : kRasterKeys) total += 3 * recipe.has(key);
    for (const SolarKind& s : solarKinds())
        total += 4 * recipe.has(QString("solar-") + s.key + "-monthly");
    const double unit = 0.97 / total;

    ImportReport report;
    report.line("Pallix import report");
    report.line("Written " + QDateTime::currentDateTime().toString(Qt::ISODate) + " into " +
                QDir::toNativeSeparators(out.finalPath()));
    try {
        progress.begin("Reading the study area", unit);
        const StudyArea area(recipe.text("boundary"), recipe.text("boundary-where"),
                             recipe.text("crs"), report);
        const double cellKm = recipe.number("cell-km", 5);
        bool resource = recipe.has("wind-power-density");
        for (const SolarKind& s : solarKinds())
            resource = resource || recipe.has(QString("solar-") + s.key);
        if (resource) checkCellCount(area, "cell-km", cellKm);
        if (recipe.has("land-cover"))
            checkCellCount(area, recipe.has("land-cover-km") ? "land-cover-km" : "cell-km",
                           recipe.number("land-cover-km", cellKm));
        if (recipe.has("elevation"))
            checkCellCount(area, recipe.has("elevation-km") ? "elevation-km" : "cell-km",
                           recipe.number("elevation-km", cellKm));
        report.line(QString("Cell size: %1 km; land cover %2 km; elevation %3 km")
                        .arg(reportNumber(cellKm),
                             reportNumber(recipe.number("land-cover-km", cellKm)),
                             reportNumber(recipe.number("elevation-km", cellKm))));
        writeCountryBoundary(area, dir, report);
        if (recipe.has("states")) {
            progress.begin("Importing the states", unit);
            importVectorLayer({"the states",
                               "38_subcountrybnd1",
                               engine::moShapeTypePolygon,
                               {"NAME", "POP"},
                               recipe.text("name-field")},
                              recipe.text("states"), recipe.text("states-where"), area, dir, report,
                              progress);
        }

        GridContext grids(area, dir, report, progress);
        const bool yearly = recipe.text("solar-units") == "yearly";
        if (recipe.has("wind-power-density")) {
            progress.begin("Wind power density", 3 * unit);
            importWind(grids, recipe.text("wind-power-density"), cellKm);
        }
        for (const SolarKind& s : solarKinds()) {
            const QString key = QString("solar-") + s.key;
            if (!recipe.has(key)) continue;
            progress.begin("Solar resource (" + QString(s.key).toUpper() + ")",
                           (3 + 4 * recipe.has(key + "-monthly")) * unit);
            importSolar(grids, s, recipe.text(key), recipe.text(key + "-monthly"), yearly, cellKm);
        }
        if (recipe.has("land-cover")) {
            progress.begin("Land cover", 3 * unit);
            importLandCover(grids, recipe.text("land-cover"),
                            ClassTable::fromChoice(recipe.text("land-cover-classes")),
                            recipe.number("land-cover-km", cellKm));
        }
        if (recipe.has("elevation")) {
            progress.begin("Elevation", 3 * unit);
            importElevation(grids, recipe.text("elevation"), recipe.number("elevation-km", cellKm));
        }
        for (const VectorKind& v : vectorKinds()) {
            if (!recipe.has(v.key)) continue;
            progress.begin("Importing " + QString(v.file) + ".shp", unit);
            importVectorLayer(
                {named(v.key), v.file, v.shapeType, QStringList{"NAME"} + v.fields, {}},
                recipe.text(v.key), recipe.text(QString(v.key) + "-where"), area, dir, report,
                progress);
        }
    } catch (const engine::EngineError& e) {
        throw ImportError(std::string("cannot write the dataset: ") + e.what());
    }

    progress.begin("Finishing", 0.01);
    writeText(QDir(dir).filePath(kReportFile), report.text().toUtf8());
    Recipe used = recipe;
    used.outDir = out.finalPath();
    used.values.remove("overwrite");
    writeText(QDir(dir).filePath(kRecipeFile), used.toJson());
    progress.update(1);  // the last chance to cancel
    QStringList warnings = report.warnings();
    if (const QString kept = out.commit(); !kept.isEmpty()) warnings << kept;
    return {out.finalPath(), warnings, report.text()};
}

}  // namespace importer
