#include "importer/grid_layers.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "engine/types.h"
#include "importer/cell_grid.h"
#include "importer/class_table.h"
#include "importer/import_error.h"
#include "importer/import_report.h"
#include "importer/layer_writer.h"
#include "importer/progress.h"
#include "importer/raster_source.h"
#include "importer/spatial_reference.h"
#include "importer/study_area.h"
#include "importer/zonal_statistics.h"

namespace importer {

namespace {

const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const double kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

double rounded(double v, int decimals) {
    const double f = std::pow(10.0, decimals);
    return std::round(v * f) / f;
}

// The cells' values as their fields keep them, so classes and report agree with the file.
std::vector<double> roundedValues(const ZonalResult& r, int decimals) {
    std::vector<double> out;
    for (const CellValue& c : r.cells) out.push_back(rounded(c.value, decimals));
    return out;
}

engine::FieldDesc real(const QString& name, int width, int decimals) {
    return {name, engine::moDouble, width, decimals};
}
engine::FieldDesc integer(const QString& name, int width = 10) {
    return {name, engine::moLong, width, 0};
}

// Opens the raster, sums it over the grid and reports what it read. share: of the import.
ZonalResult summarise(GridContext& ctx, const QString& path, const QString& what, double cellKm,
                      const ZonalOptions& options) {
    RasterSource raster(path, what);
    ctx.report.line("Source: " + QDir::toNativeSeparators(path));
    ctx.report.line("  " + raster.summary());
    CellGrid& grid = ctx.grid(cellKm);
    ZonalResult r = zonalStatistics(grid, raster, ctx.area.crs(), options,
                                    [&](double f) { ctx.progress.update(f); });
    if (r.noDataKm2 > 0)
        ctx.report.line(QString("  no data over %1 km2 of the study area (left out)")
                            .arg(reportNumber(r.noDataKm2)));
    if (r.notNumbersKm2 > 0)
        ctx.report.warn(QString("%1 has pixels that hold no number (infinite, or beyond 1e15) over "
                                "%2 km2 of the study area; they were taken as no data")
                            .arg(what, reportNumber(r.notNumbersKm2)));
    // Never a value in the files that is not a number, whatever the sums made of the pixels.
    const auto bad = std::remove_if(r.cells.begin(), r.cells.end(), [](const CellValue& c) {
        return !std::isfinite(c.value) || !usablePixel(c.value);
    });
    if (const auto dropped = std::distance(bad, r.cells.end()); dropped > 0) {
        ctx.report.warn(QString("%1: %2 cells whose value is not a number were left out")
                            .arg(what)
                            .arg(dropped));
        r.cells.erase(bad, r.cells.end());
    }
    return r;
}

void reportCells(GridContext& ctx, const QString& file, const ZonalResult& r, double cellKm) {
    double km2 = 0;
    for (const CellValue& c : r.cells) km2 += c.shape.area() / 1e6;
    ctx.report.line(QString("Written: %1.shp, %2 cells of %3 km (%4 x %4 fine pixels each), %5 km2")
                        .arg(file)
                        .arg(r.cells.size())
                        .arg(reportNumber(cellKm))
                        .arg(r.finePerSide)
                        .arg(reportNumber(km2)));
}

// "WINDPWRD 120.5 to 870.25"; false when there are no values.
void reportRange(GridContext& ctx, const QString& field, const std::vector<double>& values,
                 const QString& unit) {
    if (values.empty()) return;
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    ctx.report.line(
        QString("  %1 from %2 to %3 %4").arg(field, reportNumber(*lo), reportNumber(*hi), unit));
}

bool noCells(GridContext& ctx, const QString& what, const ZonalResult& r) {
    if (!r.cells.empty()) return false;
    ctx.report.warn(what + " has no data inside the study area; its layer was not written");
    return true;
}

}  // namespace

GridContext::GridContext(const StudyArea& a, const QString& d, ImportReport& r, Progress& p)
    : area(a), dir(d), report(r), progress(p) {}
GridContext::~GridContext() = default;

CellGrid& GridContext::grid(double cellKm) {
    auto& g = grids_[cellKm];
    if (!g) g = std::make_unique<CellGrid>(area, cellKm * 1000);
    return *g;
}

void checkCellCount(const StudyArea& area, const QString& option, double cellKm) {
    constexpr double kMaxCells = 2e6;
    const engine::Rectangle e = area.extent();
    const double size = cellKm * 1000;
    const double cells = (std::floor(e.width() / size) + 2) * (std::floor(e.height() / size) + 2);
    if (cells <= kMaxCells) return;
    // The smallest size in two significant figures that stays within the limit.
    double smallest = std::sqrt(e.width() * e.height() / kMaxCells) / 1000;
    const double step = std::pow(10.0, std::floor(std::log10(smallest)) - 1);
    smallest = (std::ceil(smallest / step) + 1) * step;
    throw ImportError(QString("--%1 %2 makes %3 cells over the study area's extent of %4 x %5 km; "
                              "the limit is %6 cells: give --%1 %7 or more")
                          .arg(option, reportNumber(cellKm),
                               cells < 1e15 ? QString::number(cells, 'f', 0) : reportNumber(cells),
                               reportNumber(e.width() / 1000), reportNumber(e.height() / 1000),
                               QString::number(kMaxCells, 'f', 0), reportNumber(smallest))
                          .toStdString());
}

int windClass(double powerDensity) {
    static const double lowerLimits[] = {200, 300, 400, 500, 600, 800};
    int c = 1;
    for (double b : lowerLimits) c += powerDensity >= b;
    return c;
}

const SolarKind (&solarKinds())[3] {
    static const SolarKind kinds[3] = {{"ghi", "14_solar_glo", "glo"},
                                       {"dni", "13_solar_direct", "dir"},
                                       {"tilt", "16_solar_tilt", "tilt"}};
    return kinds;
}

void importWind(GridContext& ctx, const QString& path, double cellKm) {
    ctx.report.section("Wind power density");
    const ZonalResult r = summarise(ctx, path, "the wind power density raster", cellKm, {});
    if (noCells(ctx, "the wind power density raster", r)) return;
    const std::vector<double> values = roundedValues(r, 2);
    std::vector<OutputRecord> records;
    for (std::size_t i = 0; i < values.size(); ++i)
        records.push_back({r.cells[i].shape, {int(i), values[i], windClass(values[i])}});
    writeLayer(ctx.dir, "20_wind", engine::moShapeTypePolygon,
               {integer("FeatureID"), real("WINDPWRD", 12, 2), integer("WINDCLASS", 4)}, records,
               ctx.area.crsWkt());
    reportCells(ctx, "20_wind", r, cellKm);
    reportRange(ctx, "WINDPWRD", values, "W/m2");
    ctx.report.line(
        "  WINDCLASS: 1 below 200 W/m2, 2 from 200, 3 from 300, 4 from 400, 5 from 500, 6 from "
        "600, 7 from 800");
    if (*std::max_element(values.begin(), values.end()) < 50)
        ctx.report.warn(
            "the wind raster's values are all below 50: is it wind speed (m/s) rather than power "
            "density (W/m2)?");
}

void importSolar(GridContext& ctx, const SolarKind& kind, const QString& annual,
                 const QString& monthlyPattern, bool yearly, double cellKm) {
    const QString what = QString("the solar %1 raster").arg(QString(kind.key).toUpper());
    ctx.report.section(QString("Solar resource (%1)").arg(QString(kind.key).toUpper()));
    ctx.report.line(yearly ? "Units: yearly totals (kWh/m2 per year; monthly rasters kWh/m2 per "
                             "month), written per day"
                           : "Units: kWh/m2/day");
    const ZonalResult year = summarise(ctx, annual, what, cellKm, {});
    if (noCells(ctx, what, year)) return;

    // Monthly values by cell; months without a raster get no field at all.
    std::vector<int> months;
    std::vector<std::map<std::pair<int, int>, double>> monthly;
    QStringList missing;
    if (!monthlyPattern.isEmpty()) {
        for (int m = 0; m < 12; ++m) {
            const QString file = QString(monthlyPattern)
                                     .replace("{MM}", QString("%1").arg(m + 1, 2, 10, QChar('0')));
            if (!QFileInfo::exists(file)) {
                missing << kMonths[m];
                continue;
            }
            const ZonalResult r = summarise(ctx, file, what + " for " + kMonths[m], cellKm, {});
            std::map<std::pair<int, int>, double> byCell;
            for (const CellValue& c : r.cells)
                byCell[{c.row, c.col}] = yearly ? c.value / kDaysInMonth[m] : c.value;
            months.push_back(m);
            monthly.push_back(std::move(byCell));
        }
        if (months.empty())
            throw ImportError(
                ("no monthly raster matches " + QDir::toNativeSeparators(monthlyPattern))
                    .toStdString());
    }
    if (monthlyPattern.isEmpty())
        ctx.report.warn(
            QString("%1.shp: no monthly rasters were given, so it has no monthly fields (the point "
                    "report and the model link read them)")
                .arg(kind.file));
    else if (!missing.isEmpty())
        ctx.report.warn(
            QString("%1.shp: no raster for %2, so those monthly fields were not written")
                .arg(kind.file, missing.join(", ")));

    const QString suffix = kind.suffix;
    engine::TableDesc table{integer("Cell_ID"), integer("Gridcode"), real("Lon", 11, 5),
                            real("Lat", 11, 5)};
    for (int m : months) table.push_back(real(kMonths[m] + suffix, 8, 3));
    table.push_back(real("Ann" + suffix, 8, 3));
    const auto toDegrees = transformation(ctx.area.crs(), geographicWgs84());
    std::vector<OutputRecord> records;
    std::vector<double> values;
    int id = 0, partial = 0;
    for (const CellValue& c : year.cells) {
        const double v = rounded(yearly ? c.value / 365 : c.value, 3);
        const engine::Point centre = c.shape.centroid();
        double lon = centre.x, lat = centre.y;
        toDegrees->Transform(1, &lon, &lat);
        std::vector<QVariant> row{++id, int(std::floor(v * 2)), rounded(lon, 5), rounded(lat, 5)};
        bool gap = false;
        for (const auto& byCell : monthly) {
            auto it = byCell.find({c.row, c.col});
            if (it == byCell.end()) {
                row.push_back(QVariant());
                gap = true;
            } else {
                row.push_back(rounded(it->second, 3));
            }
        }
        partial += gap;
        row.push_back(v);
        values.push_back(v);
        records.push_back({c.shape, row});
    }
    writeLayer(ctx.dir, kind.file, engine::moShapeTypePolygon, table, records, ctx.area.crsWkt());
    reportCells(ctx, kind.file, year, cellKm);
    reportRange(ctx, "Ann" + suffix, values, "kWh/m2/day");
    if (partial)
        ctx.report.warn(QString("%1.shp: %2 cells have no data in some monthly raster; those "
                                "months are empty there")
                            .arg(kind.file)
                            .arg(partial));
    const double hi = *std::max_element(values.begin(), values.end());
    if (hi > 15)
        ctx.report.warn(
            QString(
                "%1.shp: values up to %2 kWh/m2/day are too high for daily values: are the rasters "
                "yearly totals (--solar-units yearly)?")
                .arg(kind.file, reportNumber(hi)));
}

void importLandCover(GridContext& ctx, const QString& path, const ClassTable& classes,
                     double cellKm) {
    ctx.report.section("Land cover");
    ctx.report.line("Class table: " + classes.source());
    ZonalOptions o;
    o.majority = true;
    o.isClass = [&](long long code) { return classes.has(code); };
    const ZonalResult r = summarise(ctx, path, "the land-cover raster", cellKm, o);
    for (const auto& [code, km2] : r.unknownCodesKm2)
        ctx.report.warn(
            QString(
                "land cover: the code %1 is not in the class table; its %2 km2 count as no data")
                .arg(code)
                .arg(reportNumber(km2)));
    if (noCells(ctx, "the land-cover raster", r)) return;
    std::vector<OutputRecord> records;
    std::map<long long, std::pair<int, double>> perClass;
    int id = 0;
    for (const CellValue& c : r.cells) {
        const long long code = std::llround(c.value);
        records.push_back({c.shape, {classes.name(code), id++, code}});
        auto& [count, km2] = perClass[code];
        ++count;
        km2 += c.shape.area() / 1e6;
    }
    writeLayer(ctx.dir, "02_landuse", engine::moShapeTypePolygon,
               {{"LAND_USE", engine::moString, 10, 0}, integer("FeatureID"), integer("LC_CODE", 6)},
               records, ctx.area.crsWkt());
    reportCells(ctx, "02_landuse", r, cellKm);
    for (const auto& [code, cell] : perClass)
        ctx.report.line(QString("  %1 (%2): %3 cells, %4 km2")
                            .arg(classes.name(code))
                            .arg(code)
                            .arg(cell.first)
                            .arg(reportNumber(cell.second)));
}

void importElevation(GridContext& ctx, const QString& path, double cellKm) {
    ctx.report.section("Elevation");
    const ZonalResult r = summarise(ctx, path, "the elevation raster", cellKm, {});
    if (noCells(ctx, "the elevation raster", r)) return;
    const std::vector<double> values = roundedValues(r, 1);
    std::vector<OutputRecord> records;
    for (std::size_t i = 0; i < values.size(); ++i)
        records.push_back({r.cells[i].shape, {values[i]}});
    writeLayer(ctx.dir, "01_elevation", engine::moShapeTypePolygon, {real("Elev_m", 8, 1)}, records,
               ctx.area.crsWkt());
    reportCells(ctx, "01_elevation", r, cellKm);
    reportRange(ctx, "Elev_m", values, "m");
}

}  // namespace importer
