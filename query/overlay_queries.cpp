#include "engine/map.h"
#include "engine/overlay.h"
#include "query/number_text.h"
#include "query/progress.h"
#include "query/query_procedures.h"
#include "query/query_state.h"
#include "query/result_set.h"
#include "query/search_expressions.h"
#include "shell/dialog_service.h"
#include "shell/error_report.h"
#include "shell/frmMain.h"

namespace md_query_functions2 {

namespace {

using engine::moShapeTypePolygon;

void prepareMap(frmMain& f) {
    HideLayers(f, {"37_subcountrybnd2.shp", "42_railroad.shp", "43_roads.shp",
                   "44_transmissionline.shp"});
    f.Map1->refresh();
    f.repaint();
}

void startResults(const engine::MapLayer& wind) {
    QueryState& state = queryState();
    state.cValues.clear();
    state.resultFieldName = "WINDPWRD";
    state.resultCoordinateSystem = wind.coordinateSystem();
}

}  // namespace

void wind_minus_protected_areas(frmMain& f) {
    try {
        prepareMap(f);
        Wind_Protected_Overlay(f);
    } catch (...) {
        md_functions::ErrorMessage(" Error Source:md_query_functions2.wind_minus_protected_areas()",
                                   48);
    }
}

void wind_with_land_use(frmMain& f) {
    try {
        prepareMap(f);
        Wind_Landuse_Overlay(f);
    } catch (...) {
        md_functions::ErrorMessage(" Error Source:md_query_functions2.wind_with_land_use()", 48);
    }
}

void Wind_Protected_Overlay(frmMain& f) {
    SetCaption(f, "Overlaying...", true);
    std::shared_ptr<engine::MapLayer> protectedLayer, windLayer;
    engine::Recordset protectedRecords, wind;
    int n = 0;
    try {
        protectedLayer = LayerOf(f, "31_protectedarea.shp");
        protectedRecords = protectedLayer->searchExpression(QStringLiteral("FeatureID") + " > -1");
        windLayer = LayerOf(f, "20_wind.shp");
        wind = windLayer->searchExpression(CreateWindSelectExpression(f));
        n = wind.calculateStatistics("FeatureID").count;
        startResults(*windLayer);
    } catch (...) {
        md_functions::ErrorMessage("Error generated in while performing the query", 48);
        return;
    }
    QueryState& state = queryState();
    // From here on a failing step is skipped without a message.
    const auto& pds = protectedLayer->geoDataset();
    std::vector<const engine::Shape*> areas;
    bool first = true;
    for (int rec : RecordsOf(protectedRecords)) {
        const engine::Shape& shape = pds->shape(rec);
        if (first || shape.shapeType() == moShapeTypePolygon) {
            areas.push_back(&shape);
        } else {
            const int nameField = pds->fieldIndex("name");
            if (nameField >= 0)
                shell::dialogs().messageBox(pds->value(rec, nameField).toString() +
                                            " is not a polygon type");
        }
        first = false;
    }
    std::unique_ptr<engine::SubdividedShape> protectedUnion;
    try {
        // One cascaded union of all protected areas gives the same area as merging them one by
        // one.
        const engine::Shape merged = engine::unionAll(areas);
        if (merged.shapeType() == moShapeTypePolygon)
            protectedUnion = std::make_unique<engine::SubdividedShape>(merged);
    } catch (...) {
    }
    const auto& wds = windLayer->geoDataset();
    const int column = wds->fieldIndex("WINDPWRD");
    int i = 1;
    for (int rec : RecordsOf(wind)) {
        YieldEvents();
        if (state.bCancelQuery) return;
        const engine::Shape& shape = wds->shape(rec);
        if (protectedUnion && shape.shapeType() == moShapeTypePolygon) {
            try {
                const engine::Shape piece = protectedUnion->subtractFrom(shape);
                if (piece) AddResult(piece, wds->value(rec, column).toDouble(), "WINDPWRD");
            } catch (...) {
            }
        }
        SetCaption(f, "Overlaying... " + percentText(i, n) + " finished");
        ++i;
    }
    SetCaption(f, "Overlaying... finished", true);
}

void Wind_Landuse_Overlay(frmMain& f) {
    SetCaption(f, "Overlaying...", true);
    int i = 0;
    const int j = 0;  // the inner counter, for the failure report
    std::shared_ptr<engine::MapLayer> landLayer, windLayer;
    engine::Recordset land, wind;
    qint64 m = 0, n = 0;
    try {
        landLayer = LayerOf(f, "02_landuse.shp");
        land = landLayer->searchExpression(LandUseExpression(f));
        m = land.calculateStatistics("FeatureID").count;
        windLayer = LayerOf(f, "20_wind.shp");
        wind = windLayer->searchExpression(CreateWindSelectExpression(f));
        n = wind.calculateStatistics("FeatureID").count;
        startResults(*windLayer);
    } catch (...) {
        md_functions::ErrorMessage(" Error Source:md_query_functions2.Wind_Landuse_Overlay()" +
                                       QString::number(i) + "--" + QString::number(j),
                                   48);
        return;
    }
    if (!(m * n > 0)) return;
    QueryState& state = queryState();
    i = 1;
    const auto& lds = landLayer->geoDataset();
    const auto& wds = windLayer->geoDataset();
    const int column = wds->fieldIndex("WINDPWRD");
    const std::vector<int> windRecords = RecordsOf(wind);
    std::vector<engine::Rectangle> boxes;
    boxes.reserve(windRecords.size());
    for (int rec : windRecords) boxes.push_back(wds->shapeExtent(rec));
    const engine::ExtentIndex windIndex(boxes);
    for (int landRec : RecordsOf(land)) {
        YieldEvents();
        if (state.bCancelQuery) return;
        const engine::Shape& landShape = lds->shape(landRec);
        if (landShape.shapeType() == moShapeTypePolygon) {
            try {
                const engine::PreparedShape prepared(landShape);
                // Only wind polygons whose extent meets the land-use polygon can give a piece;
                // they are visited in record order, as the full pair loop would.
                for (int k : windIndex.query(lds->shapeExtent(landRec))) {
                    const engine::Shape& w = wds->shape(windRecords[k]);
                    if (w.shapeType() != moShapeTypePolygon) continue;
                    try {
                        engine::Shape piece;
                        if (prepared.contains(w))
                            piece = w;
                        else if (prepared.intersects(w))
                            piece = engine::polygonalPart(landShape.intersect(w));
                        if (piece)
                            AddResult(piece, wds->value(windRecords[k], column).toDouble(),
                                      "WINDPWRD");
                    } catch (...) {
                    }
                }
            } catch (...) {
            }
        }
        SetCaption(f, "Overlaying... " + percentText(i, m) + " finished");
        ++i;
    }
    SetCaption(f, "Overlaying... finished", true);
}

}  // namespace md_query_functions2
