#include "engine/overlay.h"
#include "siting/failure.h"
#include "siting/number_text.h"
#include "siting/parallel_run.h"
#include "siting/query_procedures.h"
#include "siting/search_expressions.h"
#include "siting/wind_cells.h"

namespace md_query_functions2 {

namespace {

using engine::moShapeTypePolygon;

void prepareMap(Run& r) {
    HideLayers(
        r, {"37_subcountrybnd2.shp", "42_railroad.shp", "43_roads.shp", "44_transmissionline.shp"});
    r.feedback.layersChanged();
}

void startResults(Run& r, const engine::MapLayer& wind) {
    r.result.fieldName = "WINDPWRD";
    r.result.coordinateSystem = wind.coordinateSystem();
}

}  // namespace

void wind_minus_protected_areas(Run& r) {
    siting::failingAs(" Error Source:md_query_functions2.wind_minus_protected_areas()", [&] {
        prepareMap(r);
        Wind_Protected_Overlay(r);
    });
}

void wind_with_land_use(Run& r) {
    siting::failingAs(" Error Source:md_query_functions2.wind_with_land_use()", [&] {
        prepareMap(r);
        Wind_Landuse_Overlay(r);
    });
}

void Wind_Protected_Overlay(Run& r) {
    r.feedback.caption("Overlaying...", true);
    std::shared_ptr<engine::MapLayer> protectedLayer, windLayer;
    engine::Recordset protectedRecords, wind;
    int n = 0;
    siting::failingAs("Error generated in while performing the query", [&] {
        protectedLayer = LayerOf(r, "31_protectedarea.shp");
        protectedRecords = protectedLayer->searchExpression(QStringLiteral("FeatureID") + " > -1");
        windLayer = LayerOf(r, "20_wind.shp");
        wind = windLayer->searchExpression(CreateWindSelectExpression(r.parameters));
        n = wind.calculateStatistics("FeatureID").count;
        startResults(r, *windLayer);
    });
    // The protected areas to subtract: the first record whatever its kind, then every polygon.
    const std::shared_ptr<const engine::GeoDataset> pds = protectedLayer->geoDataset();
    std::vector<int> areas;
    std::vector<engine::Rectangle> areaBoxes;
    bool anyPolygon = false;
    for (int rec : RecordsOf(protectedRecords)) {
        const engine::Shape& shape = pds->shape(rec);
        const bool polygon = shape.shapeType() == moShapeTypePolygon;
        if (areas.empty() || polygon) {
            areas.push_back(rec);
            areaBoxes.push_back(pds->shapeExtent(rec));
            anyPolygon |= polygon;
            shape.settle();
        } else {
            const int nameField = pds->fieldIndex("name");
            if (nameField >= 0)
                r.feedback.inform(pds->value(rec, nameField).toString() + " is not a polygon type");
        }
    }
    // Their union is a polygon only when one of them is; without it nothing is subtracted and
    // nothing is added. Each wind polygon loses the areas it meets, one at a time, which is
    // the same as losing their union.
    if (!siting::failingAs(" Error Source:md_query_functions2.Wind_Protected_Overlay()", [&] {
            const engine::ExtentIndex areaIndex(areaBoxes);
            const WindCells cells(*windLayer, wind);
            std::vector<engine::Shape> pieces(size_t(cells.count()));
            auto work = [&] {
                return [&](int k) {
                    const engine::Shape& cell = cells.shape(k);
                    if (!anyPolygon || cell.shapeType() != moShapeTypePolygon) return;
                    engine::Shape rest;
                    const engine::Shape* left = &cell;
                    for (int a : areaIndex.query(cells.boxes()[size_t(k)])) {
                        const engine::Shape& area = pds->shape(areas[size_t(a)]);
                        if (!area.intersects(*left)) continue;
                        rest = engine::polygonalPart(left->difference(area));
                        left = &rest;
                        if (!rest) break;
                    }
                    pieces[size_t(k)] = left == &cell ? cell : std::move(rest);
                };
            };
            auto take = [&](int k) {
                if (pieces[size_t(k)]) cells.addResult(r.result, k, std::move(pieces[size_t(k)]));
            };
            auto progress = [&](int taken) {
                r.feedback.caption("Overlaying... " + percentText(taken, n) + " finished");
            };
            return RunItems(r, cells.count(), work, take, progress);
        }))
        return;
    r.feedback.caption("Overlaying... finished", true);
}

void Wind_Landuse_Overlay(Run& r) {
    r.feedback.caption("Overlaying...", true);
    int i = 0;
    const int j = 0;  // the inner counter, for the failure report
    std::shared_ptr<engine::MapLayer> landLayer, windLayer;
    engine::Recordset land, wind;
    qint64 m = 0, n = 0;
    const QString failure = " Error Source:md_query_functions2.Wind_Landuse_Overlay()" +
                            QString::number(i) + "--" + QString::number(j);
    siting::failingAs(failure, [&] {
        landLayer = LayerOf(r, "02_landuse.shp");
        land = landLayer->searchExpression(LandUseExpression(r.parameters));
        m = land.calculateStatistics("FeatureID").count;
        windLayer = LayerOf(r, "20_wind.shp");
        wind = windLayer->searchExpression(CreateWindSelectExpression(r.parameters));
        n = wind.calculateStatistics("FeatureID").count;
        startResults(r, *windLayer);
    });
    if (!(m * n > 0)) return;
    if (!siting::failingAs(" Error Source:md_query_functions2.Wind_Landuse_Overlay()", [&] {
            const std::shared_ptr<const engine::GeoDataset> lds = landLayer->geoDataset();
            const WindCells cells(*windLayer, wind);
            const engine::ExtentIndex cellIndex(cells.boxes());
            const std::vector<int> landRecords = RecordsOf(land);
            for (int rec : landRecords) lds->shape(rec).settle();
            // Each land-use polygon with the wind polygons it meets, in record order.
            std::vector<CellPieces> found(landRecords.size());
            auto work = [&] {
                return [&](int k) {
                    const int landRec = landRecords[size_t(k)];
                    const engine::Shape& landShape = lds->shape(landRec);
                    if (landShape.shapeType() != moShapeTypePolygon) return;
                    const engine::PreparedShape prepared(landShape);
                    for (int c : cellIndex.query(lds->shapeExtent(landRec))) {
                        const engine::Shape& w = cells.shape(c);
                        if (w.shapeType() != moShapeTypePolygon) continue;
                        leavingOutOnFailure(r, [&] {
                            engine::Shape piece;
                            if (prepared.contains(w))
                                piece = w;
                            else if (prepared.intersects(w))
                                piece = engine::intersectCell(landShape, w);
                            if (piece) found[size_t(k)].emplace_back(c, std::move(piece));
                        });
                    }
                };
            };
            auto take = [&](int k) { AddCellPieces(r.result, cells, found[size_t(k)]); };
            auto progress = [&](int taken) {
                r.feedback.caption("Overlaying... " + percentText(taken, m) + " finished");
            };
            return RunItems(r, int(landRecords.size()), work, take, progress);
        }))
        return;
    r.feedback.caption("Overlaying... finished", true);
}

}  // namespace md_query_functions2
