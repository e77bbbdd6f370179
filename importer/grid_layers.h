#pragma once
// The catalogue's polygon grids made from rasters: wind power density, solar resource, land
// cover and elevation.

#include <QString>
#include <map>
#include <memory>

namespace importer {

class CellGrid;
class ClassTable;
class ImportReport;
class Progress;
class StudyArea;

// What the grid layers share while one import runs: the study area, the dataset folder being
// written, the report, progress, and one cell grid per cell size.
class GridContext {
  public:
    GridContext(const StudyArea& area, const QString& dir, ImportReport& report,
                Progress& progress);
    ~GridContext();
    CellGrid& grid(double cellKm);

    const StudyArea& area;
    const QString dir;
    ImportReport& report;
    Progress& progress;

  private:
    std::map<double, std::unique_ptr<CellGrid>> grids_;
};

// Refuses, before any cell is made, a cell size that would make more cells over the study
// area's extent than an import handles: the message gives the count, the limit and the smallest
// size that passes. option names the choice ("cell-km"). Throws ImportError.
void checkCellCount(const StudyArea& area, const QString& option, double cellKm);

// Wind power density classes by their lower limits in W/m2: class 1 below 200, 2 from 200,
// 3 from 300, 4 from 400, 5 from 500, 6 from 600 and 7 from 800 (the usual classes of wind
// resource maps, the same limits the wind layer is drawn with).
int windClass(double powerDensity);

void importWind(GridContext& ctx, const QString& path, double cellKm);

struct SolarKind {
    const char* key;     // "ghi": the options solar-ghi and solar-ghi-monthly
    const char* file;    // "14_solar_glo"
    const char* suffix;  // "glo": the fields Janglo ... Decglo, Annglo
};
const SolarKind (&solarKinds())[3];
// yearly: the annual raster in kWh/m2 per year and monthly ones in kWh/m2 per month.
void importSolar(GridContext& ctx, const SolarKind& kind, const QString& annual,
                 const QString& monthlyPattern, bool yearly, double cellKm);
void importLandCover(GridContext& ctx, const QString& path, const ClassTable& classes,
                     double cellKm);
void importElevation(GridContext& ctx, const QString& path, double cellKm);

}  // namespace importer
