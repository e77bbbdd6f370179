#include <QCheckBox>
#include <QComboBox>

#include "engine/line_buffers.h"
#include "engine/map.h"
#include "engine/overlay.h"
#include "query/cell_tiles.h"
#include "query/number_text.h"
#include "query/parallel_run.h"
#include "query/progress.h"
#include "query/query_procedures.h"
#include "query/query_state.h"
#include "query/result_set.h"
#include "query/search_expressions.h"
#include "query/wind_cells.h"
#include "shell/dialog_service.h"
#include "shell/error_report.h"
#include "shell/frmMain.h"

// The proximity polygon of a line layer is never merged as a whole: the buffers of the lines
// near a group of wind cells (or a land-use polygon) are made for that group alone, on worker
// threads, and cut to it. Within the group that is the same area as the merged polygon's.

namespace md_query_functions2 {

namespace {

using engine::moShapeTypePolygon;

void prepareMap(frmMain& f, std::initializer_list<const char*> hidden) {
    HideLayers(f, hidden);
    f.Map1->refresh();
    f.repaint();
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

std::unique_ptr<engine::LineBuffers> create_line_buffers(frmMain& f, const QString& file,
                                                         float km) {
    try {
        QueryState& state = queryState();
        const auto layer = LayerOf(f, file);
        engine::Recordset lines = layer->searchExpression(QStringLiteral("FeatureID") + " > -1");
        const int m = lines.calculateStatistics("FeatureID").count;
        const double d = double(km) * 1000;
        std::vector<int> records = RecordsOf(lines);
        if (records.empty()) throw engine::EngineError("no line to buffer");
        if (m > 399 &&
            shell::dialogs().messageBox(
                "This query may take few minutes to complete. Do you want to proceed?",
                shell::mbYesNo) != shell::answerYes)
            return {};
        // The lines are only gathered here: their buffers are made where the cells need them.
        for (size_t j = 1; j < records.size(); ++j) {
            YieldEvents();
            if (state.bCancelQuery) return {};
            SetCaption(f, "Creating " + layer->name + " Buffers: " + QString::number(j + 1) +
                              " of " + QString::number(m));
        }
        return std::make_unique<engine::LineBuffers>(layer->geoDataset(), std::move(records), d);
    } catch (...) {
        md_functions::ErrorMessage(" Error Source:md_query_functions2.create_line_buffers()", 48);
        return {};
    }
}

void wind_with_roads(frmMain& f) {
    try {
        prepareMap(f, {"37_subcountrybnd2.shp", "42_railroad.shp", "44_transmissionline.shp"});
        const auto zone = create_line_buffers(f, "43_roads.shp", queryState().roadDistanceKm);
        if (!queryState().bCancelQuery && zone) Wind_Buffer_Overlay(f, *zone);
    } catch (...) {
        md_functions::ErrorMessage(" Error Source:md_query_functions2.wind_with_roads()", 48);
    }
}

void wind_with_transmission(frmMain& f) {
    try {
        prepareMap(f, {"37_subcountrybnd2.shp", "42_railroad.shp", "43_roads.shp"});
        const auto zone = create_line_buffers(f, "44_transmissionline.shp",
                                              queryState().transmissionDistanceKm);
        if (!queryState().bCancelQuery && zone) Wind_Buffer_Overlay(f, *zone);
    } catch (...) {
        md_functions::ErrorMessage(" Error Source:md_query_functions2.wind_with_transmission()",
                                   48);
    }
}

void wind_all(frmMain& f) {
    try {
        const QueryState& state = queryState();
        prepareMap(f, {"37_subcountrybnd2.shp", "42_railroad.shp", "43_roads.shp",
                       "44_transmissionline.shp"});
        const auto roadZone = create_line_buffers(f, "43_roads.shp", state.roadDistanceKm);
        if (!roadZone || state.bCancelQuery) return;
        const auto lineZone =
            create_line_buffers(f, "44_transmissionline.shp", state.transmissionDistanceKm);
        if (!lineZone || state.bCancelQuery) return;
        if (!state.bCancelQuery) Wind_All_Overlay(f, Corridor{*roadZone, *lineZone});
    } catch (...) {
        md_functions::ErrorMessage(" Error Source:md_query_functions2.wind_all()", 48);
    }
}

void Wind_Buffer_Overlay(frmMain& f, const engine::LineBuffers& zone) {
    SetCaption(f, "Overlaying...", true);
    std::shared_ptr<engine::MapLayer> windLayer;
    engine::Recordset wind;
    int n = 0;
    try {
        windLayer = LayerOf(f, "20_wind.shp");
        wind = windLayer->searchExpression(CreateWindSelectExpression(f));
        n = wind.calculateStatistics("FeatureID").count;
    } catch (...) {
        md_functions::ErrorMessage("Error generated in while performing the query", 48);
        return;
    }
    QueryState& state = queryState();
    state.cValues.clear();
    state.resultFieldName = "WINDPWRD";
    state.resultCoordinateSystem = windLayer->coordinateSystem();
    // From here on a failing step is skipped without a message.
    try {
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
                    try {
                        pieces[size_t(k)] = engine::intersectCell(near, cell);
                    } catch (...) {
                    }
                }
            };
        };
        // The cells before the next tile's first one are all done: they are added in order.
        int added = 0;
        auto take = [&](int t) {
            const int upto =
                size_t(t) + 1 < tiles.size() ? tiles[size_t(t) + 1].cells.front() : cells.count();
            for (; added < upto; ++added)
                if (pieces[size_t(added)]) cells.addResult(added, std::move(pieces[size_t(added)]));
        };
        auto progress = [&](int) {
            if (added > 0)
                SetCaption(f, "Overlaying... " + percentText(added - 1, n) + " finished");
        };
        if (!RunItems(int(tiles.size()), work, take, progress)) return;
    } catch (...) {
    }
    SetCaption(f, "Overlaying... finished", true);
}

void Wind_All_Overlay(frmMain& f, const Corridor& corridor) {
    SetCaption(f, "Intersecting...", true);
    QueryState& state = queryState();
    std::shared_ptr<engine::MapLayer> landLayer;
    engine::Recordset land;
    int m = 0;
    try {
        state.cValues.clear();
        state.resultFieldName = "WINDPWRD";
        landLayer = LayerOf(f, "02_landuse.shp");
        land = landLayer->searchExpression(LandUseExpression(f));
        m = land.calculateStatistics("FeatureID").count;
    } catch (...) {
        md_functions::ErrorMessage(" Error Source:md_query_functions2.Wind_All_Overlay()", 48);
        return;
    }
    // From here on a failing step is skipped without a message.
    try {
        const auto windLayer = LayerOf(f, "20_wind.shp");
        engine::Recordset wind = windLayer->searchExpression(CreateWindSelectExpression(f));
        const qint64 n = wind.calculateStatistics("FeatureID").count;
        state.resultCoordinateSystem = windLayer->coordinateSystem();
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
                near = engine::Rectangle(
                    std::max(near.left(), landBox.left()), std::max(near.bottom(), landBox.bottom()),
                    std::min(near.right(), landBox.right()), std::min(near.top(), landBox.top()));
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
                SetCaption(f, "Intersecting... " + percentText(taken - 1, m) + " finished");
        };
        if (!RunItems(int(landRecords.size()), cutWork, takePiece, cutProgress)) return;
        if (!(n * qint64(pieces.size()) > 0)) return;

        std::unique_ptr<ProtectedAreas> protectedAreas;
        if (f.chkProtectedAreas->isChecked())
            protectedAreas = std::make_unique<ProtectedAreas>(*LayerOf(f, "31_protectedarea.shp"));

        // Each piece with every wind cell it meets, in record order.
        std::vector<CellPieces> found(pieces.size());
        auto overlayWork = [&] {
            return [&](int i) {
                const engine::Shape& piece = pieces[size_t(i)];
                for (int c : cellIndex.query(piece.extent())) {
                    const engine::Shape& shape = cells.shape(c);
                    if (shape.shapeType() != moShapeTypePolygon) continue;
                    try {
                        engine::Shape result = engine::intersectCell(piece, shape);
                        if (protectedAreas && result)
                            result = protectedAreas->subtractFrom(std::move(result));
                        if (result) found[size_t(i)].emplace_back(c, std::move(result));
                    } catch (...) {
                    }
                }
            };
        };
        auto takeFound = [&](int i) { AddCellPieces(cells, found[size_t(i)]); };
        const double count = double(pieces.size());
        auto overlayProgress = [&](int taken) {
            if (taken > 0)
                SetCaption(f, "Overlaying... " + percentText(taken - 1, count) + " finished");
        };
        if (!RunItems(int(pieces.size()), overlayWork, takeFound, overlayProgress)) return;
        SetCaption(f, "Overlaying... finished", true);
    } catch (...) {
    }
}

}  // namespace md_query_functions2
