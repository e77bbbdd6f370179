
#include "engine/line_buffers.h"
#include "engine/overlay.h"
#include "siting/cell_tiles.h"
#include "siting/failure.h"
#include "siting/number_text.h"
#include "siting/parallel_run.h"
#include "siting/query_procedures.h"
#include "siting/search_expressions.h"
#include "siting/wind_cells.h"

// The proximity polygon of a line layer is never merged as a whole: the buffers of the lines
// near a group of wind cells (or a land-use polygon) are made for that group alone, on worker
// threads, and cut to it. Within the group that is the same area as the merged polygon's.

namespace md_query_functions2 {

namespace {

using engine::moShapeTypePolygon;

void prepareMap(Run& r, std::initializer_list<const char*> hidden) {
    HideLayers(r, hidden);
    r.feedback.layersChanged();
}

// The protected areas a "Best wind (all)" result loses: the first record whatever its kind,
// then every polygon, in record order.
struct ProtectedAreas {
    std::shared_ptr<const engine::GeoDataset> dataset;
    std::vector<int> records;
    std::unique_ptr<engine::ExtentIndex> index;

    explicit ProtectedAreas(const engine::MapLayer& layer) : dataset(layer.geoDataset()) {
        engine::Recordset all = layer.searchExpression(QStringLiteral("FeatureID") + " > -1");
        std::vector<engine::Rectangle> boxes;
        for (int rec : RecordsOf(all)) {
            if (!records.empty() && dataset->shape(rec).shapeType() != moShapeTypePolygon) continue;
            records.push_back(rec);
            boxes.push_back(dataset->shapeExtent(rec));
            dataset->shape(rec).settle();
        }
        index = std::make_unique<engine::ExtentIndex>(boxes);
    }

    // The cut less the areas it meets, one at a time; nothing once nothing is left.
    engine::Shape subtractFrom(engine::Shape cut) const {
        for (int p : index->query(cut.extent())) {
            const engine::Shape& area = dataset->shape(records[p]);
            if (!area.intersects(cut)) continue;
            cut = engine::polygonalPart(cut.difference(area));
            if (!cut) break;
        }
        return cut;
    }
};

}  // namespace

std::unique_ptr<engine::LineBuffers> create_line_buffers(Run& r, const QString& file, float km) {
    return siting::failingAs(
        " Error Source:md_query_functions2.create_line_buffers()",
        [&]() -> std::unique_ptr<engine::LineBuffers> {
            const auto layer = LayerOf(r, file);
            engine::Recordset lines =
                layer->searchExpression(QStringLiteral("FeatureID") + " > -1");
            const int m = lines.calculateStatistics("FeatureID").count;
            const double d = double(km) * 1000;
            std::vector<int> records = RecordsOf(lines);
            if (records.empty()) throw engine::EngineError("no line to buffer");
            if (m > 399 &&
                !r.feedback.confirm(
                    "This query may take few minutes to complete. Do you want to proceed?"))
                return {};
            // The lines are only gathered here: their buffers are made where the cells need them.
            for (size_t j = 1; j < records.size(); ++j) {
                r.feedback.yield();
                if (r.cancelled()) return {};
                r.feedback.caption("Creating " + layer->name + " Buffers: " +
                                   QString::number(j + 1) + " of " + QString::number(m));
            }
            return std::make_unique<engine::LineBuffers>(layer->geoDataset(), std::move(records),
                                                         d);
        });
}

void wind_with_roads(Run& r) {
    siting::failingAs(" Error Source:md_query_functions2.wind_with_roads()", [&] {
        prepareMap(r, {"37_subcountrybnd2.shp", "42_railroad.shp", "44_transmissionline.shp"});
        const auto zone = create_line_buffers(r, "43_roads.shp", r.parameters.roadsKm);
        if (!r.cancelled() && zone) Wind_Buffer_Overlay(r, *zone);
    });
}

void wind_with_transmission(Run& r) {
    siting::failingAs(" Error Source:md_query_functions2.wind_with_transmission()", [&] {
        prepareMap(r, {"37_subcountrybnd2.shp", "42_railroad.shp", "43_roads.shp"});
        const auto zone =
            create_line_buffers(r, "44_transmissionline.shp", r.parameters.transmissionKm);
        if (!r.cancelled() && zone) Wind_Buffer_Overlay(r, *zone);
    });
}

void wind_all(Run& r) {
    siting::failingAs(" Error Source:md_query_functions2.wind_all()", [&] {
        prepareMap(r, {"37_subcountrybnd2.shp", "42_railroad.shp", "43_roads.shp",
                       "44_transmissionline.shp"});
        const auto roadZone = create_line_buffers(r, "43_roads.shp", r.parameters.roadsKm);
        if (!roadZone || r.cancelled()) return;
        const auto lineZone =
            create_line_buffers(r, "44_transmissionline.shp", r.parameters.transmissionKm);
        if (!lineZone || r.cancelled()) return;
        if (!r.cancelled()) Wind_All_Overlay(r, Corridor{*roadZone, *lineZone});
    });
}

void Wind_Buffer_Overlay(Run& r, const engine::LineBuffers& zone) {
    r.feedback.caption("Overlaying...", true);
    std::shared_ptr<engine::MapLayer> windLayer;
    engine::Recordset wind;
    int n = 0;
    siting::failingAs("Error generated in while performing the query", [&] {
        windLayer = LayerOf(r, "20_wind.shp");
        wind = windLayer->searchExpression(CreateWindSelectExpression(r.parameters));
        n = wind.calculateStatistics("FeatureID").count;
    });
    r.result.fieldName = "WINDPWRD";
    r.result.coordinateSystem = windLayer->coordinateSystem();
    if (!siting::failingAs(" Error Source:md_query_functions2.Wind_Buffer_Overlay()", [&] {
            const WindCells cells(*windLayer, wind);
            // Neighbouring cells share the buffers of the lines near them.
            const std::vector<CellTile> tiles = TilesOf(cells.boxes());
            std::vector<engine::Shape> pieces(size_t(cells.count()));
            auto work = [&] {
                auto cutter = std::make_shared<engine::LineBuffers::Cutter>(zone);
                return [&, cutter](int t) {
                    const engine::Shape near = cutter->within(tiles[size_t(t)].box);
                    if (!near) return;
                    for (int k : tiles[size_t(t)].cells) {
                        const engine::Shape& cell = cells.shape(k);
                        if (cell.shapeType() != moShapeTypePolygon) continue;
                        leavingOutOnFailure(
                            r, [&] { pieces[size_t(k)] = engine::intersectCell(near, cell); });
                    }
                };
            };
            // The cells before the next tile's first one are all done: they are added in order.
            int added = 0;
            auto take = [&](int t) {
                const int upto = size_t(t) + 1 < tiles.size() ? tiles[size_t(t) + 1].cells.front()
                                                              : cells.count();
                for (; added < upto; ++added)
                    if (pieces[size_t(added)])
                        cells.addResult(r.result, added, std::move(pieces[size_t(added)]));
            };
            auto progress = [&](int) {
                if (added > 0)
                    r.feedback.caption("Overlaying... " + percentText(added - 1, n) + " finished");
            };
            return RunItems(r, int(tiles.size()), work, take, progress);
        }))
        return;
    r.feedback.caption("Overlaying... finished", true);
}

void Wind_All_Overlay(Run& r, const Corridor& corridor) {
    r.feedback.caption("Intersecting...", true);
    std::shared_ptr<engine::MapLayer> landLayer;
    engine::Recordset land;
    int m = 0;
    siting::failingAs(" Error Source:md_query_functions2.Wind_All_Overlay()", [&] {
        r.result.fieldName = "WINDPWRD";
        landLayer = LayerOf(r, "02_landuse.shp");
        land = landLayer->searchExpression(LandUseExpression(r.parameters));
        m = land.calculateStatistics("FeatureID").count;
    });
    siting::failingAs(" Error Source:md_query_functions2.Wind_All_Overlay()", [&] {
        const auto windLayer = LayerOf(r, "20_wind.shp");
        engine::Recordset wind =
            windLayer->searchExpression(CreateWindSelectExpression(r.parameters));
        const qint64 n = wind.calculateStatistics("FeatureID").count;
        r.result.coordinateSystem = windLayer->coordinateSystem();
        const std::shared_ptr<const engine::GeoDataset> lds = landLayer->geoDataset();
        const WindCells cells(*windLayer, wind);
        const std::vector<engine::Rectangle>& boxes = cells.boxes();
        const engine::ExtentIndex cellIndex(boxes);

        // The corridor cut into land-use pieces. A piece is only needed where wind cells in
        // the range lie, so each land-use polygon is cut within the box of the cells it meets;
        // roads first, then transmission lines, stopping as soon as nothing is left.
        const std::vector<int> landRecords = RecordsOf(land);
        for (int rec : landRecords) lds->shape(rec).settle();
        std::vector<engine::Shape> cut(landRecords.size());
        auto cutWork = [&] {
            auto roads = std::make_shared<engine::LineBuffers::Cutter>(corridor.roads);
            auto lines = std::make_shared<engine::LineBuffers::Cutter>(corridor.lines);
            return [&, roads, lines](int k) {
                const int rec = landRecords[size_t(k)];
                const engine::Shape& shape = lds->shape(rec);
                if (shape.shapeType() != moShapeTypePolygon) return;
                const engine::Rectangle& landBox = lds->shapeExtent(rec);
                engine::Rectangle near;
                for (int c : cellIndex.query(landBox)) near.unite(boxes[size_t(c)]);
                if (near.isEmpty()) return;
                near = engine::Rectangle(std::max(near.left(), landBox.left()),
                                         std::max(near.bottom(), landBox.bottom()),
                                         std::min(near.right(), landBox.right()),
                                         std::min(near.top(), landBox.top()));
                const engine::Shape nearRoads = roads->within(near);
                if (!nearRoads) return;
                const engine::Shape nearLines = lines->within(near);
                if (!nearLines) return;
                const engine::Shape both = engine::polygonalPart(nearRoads.intersect(nearLines));
                if (both) cut[size_t(k)] = engine::polygonalPart(both.intersect(shape));
            };
        };
        std::vector<engine::Shape> pieces;
        auto takePiece = [&](int k) {
            if (cut[size_t(k)]) pieces.push_back(std::move(cut[size_t(k)]));
        };
        auto cutProgress = [&](int taken) {
            if (taken > 0)
                r.feedback.caption("Intersecting... " + percentText(taken - 1, m) + " finished");
        };
        if (!RunItems(r, int(landRecords.size()), cutWork, takePiece, cutProgress)) return;
        if (!(n * qint64(pieces.size()) > 0)) return;

        std::unique_ptr<ProtectedAreas> protectedAreas;
        if (r.parameters.removeProtected)
            protectedAreas = std::make_unique<ProtectedAreas>(*LayerOf(r, "31_protectedarea.shp"));

        // Each piece with every wind cell it meets, in record order.
        std::vector<CellPieces> found(pieces.size());
        auto overlayWork = [&] {
            return [&](int i) {
                const engine::Shape& piece = pieces[size_t(i)];
                for (int c : cellIndex.query(piece.extent())) {
                    const engine::Shape& shape = cells.shape(c);
                    if (shape.shapeType() != moShapeTypePolygon) continue;
                    leavingOutOnFailure(r, [&] {
                        engine::Shape result = engine::intersectCell(piece, shape);
                        if (protectedAreas && result)
                            result = protectedAreas->subtractFrom(std::move(result));
                        if (result) found[size_t(i)].emplace_back(c, std::move(result));
                    });
                }
            };
        };
        auto takeFound = [&](int i) { AddCellPieces(r.result, cells, found[size_t(i)]); };
        const double count = double(pieces.size());
        auto overlayProgress = [&](int taken) {
            if (taken > 0)
                r.feedback.caption("Overlaying... " + percentText(taken - 1, count) + " finished");
        };
        if (!RunItems(r, int(pieces.size()), overlayWork, takeFound, overlayProgress)) return;
        r.feedback.caption("Overlaying... finished", true);
    });
}

}  // namespace md_query_functions2
