#include "engine_test_support.h"

#include <QDir>

namespace enginetest {

using namespace engine;

const char* const utm33Wkt =
    "PROJCS[\"WGS_1984_UTM_Zone_33N\",GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\","
    "SPHEROID[\"WGS_1984\",6378137.0,298.257223563]],PRIMEM[\"Greenwich\",0.0],"
    "UNIT[\"Degree\",0.0174532925199433]],PROJECTION[\"Transverse_Mercator\"],"
    "PARAMETER[\"False_Easting\",500000.0],PARAMETER[\"False_Northing\",0.0],"
    "PARAMETER[\"Central_Meridian\",15.0],PARAMETER[\"Scale_Factor\",0.9996],"
    "PARAMETER[\"Latitude_Of_Origin\",0.0],UNIT[\"Meter\",1.0]]";

QString writeShapefile(const QString& dir, const QString& name, int shapeType,
                       const TableDesc& table, const std::vector<Cell>& cells,
                       const std::optional<CoordinateSystem>& crs) {
    DataConnection conn;
    conn.setDatabase(dir);
    auto writer = conn.addGeoDataset(name, shapeType, table, crs);
    for (const Cell& c : cells) writer->addRecord(c.shape, c.values);
    writer->commit();
    return QDir(dir).filePath(name + ".shp");
}

QString writeGrid(const QString& dir, const QString& name, int cols, int rows, double size) {
    const TableDesc table = {{"ID", moLong, 9, 0}, {"WINDPWRD", moDouble, 15, 1},
                             {"LAND_USE", moString, 40, 0}};
    std::vector<Cell> cells;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const int n = r * cols + c;
            const double x = c * size, y = r * size;
            cells.push_back({Shape::polygon({{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}}),
                             {n + 1, 100.0 + 10 * n, n % 2 ? "FOREST" : "GRASSLAND"}});
        }
    return writeShapefile(dir, name, moShapeTypePolygon, table, cells);
}

}  // namespace enginetest
