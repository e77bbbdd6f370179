#include <QComboBox>
#include <QCheckBox>

#include "engine/map.h"
#include "engine/overlay.h"
#include "engine/projection.h"
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
using ShapeRefs = std::vector<const engine::Shape*>;

void prepareMap(frmMain& f, std::initializer_list<const char*> hidden) {
    HideLayers(f, hidden);
    f.Map1->refresh();
    f.repaint();
}

// Merges the shapes in batches of batchSize, each closed batch appended and the last, partly
// filled batch placed first; the caption reports each step.
std::vector<engine::Shape> mergeInBatches(frmMain& f, const std::vector<engine::Shape>& shapes,
                                          int batchSize) {
    std::vector<engine::Shape> merged;
    ShapeRefs batch;
    const QString of = " out of " + QString::number(shapes.size());
    for (size_t k = 0; k < shapes.size(); ++k) {
        if (int(batch.size()) == batchSize) {
            merged.push_back(engine::unionAll(batch));
            batch.clear();
        }
        batch.push_back(&shapes[k]);
        SetCaption(f, "Creating buffer polygon " + QString::number(k + 1) + of);
    }
    merged.insert(merged.begin(), engine::unionAll(batch));
    return merged;
}

}  // namespace

engine::Shape create_line_buffers(frmMain& f, const QString& file, float km) {
    try {
        QueryState& state = queryState();
        const auto layer = LayerOf(f, file);
        engine::Recordset lines = layer->searchExpression(QStringLiteral("FeatureID") + " > -1");
        const int m = lines.calculateStatistics("FeatureID").count;
        const double d = double(km) * 1000;
        const std::vector<int> records = RecordsOf(lines);
        if (records.empty()) throw engine::EngineError("no line to buffer");
        const auto& ds = layer->geoDataset();
        // Degrees are no distance: geographic lines are buffered in a local metric projection.
        const auto projection =
            engine::LocalProjection::forData(layer->coordinateSystem(), layer->extent());
        std::vector<engine::Shape> projected;
        if (projection) {
            projected.reserve(records.size());
            for (int rec : records) projected.push_back(projection->toMetric(ds->shape(rec)));
        }
        auto line = [&](size_t j) { return projection ? &projected[j] : &ds->shape(records[j]); };
        auto back = [&](engine::Shape s) { return projection ? projection->fromMetric(s) : s; };
        auto progress = [&](size_t j) {
            SetCaption(f, "Creating " + layer->name + " Buffers: " + QString::number(j) + " of " +
                              QString::number(m));
        };

        if (m <= 399) {
            // The buffers of the lines merged into one polygon, in one cascaded union.
            ShapeRefs all{line(0)};
            for (size_t j = 1; j < records.size(); ++j) {
                YieldEvents();
                if (state.bCancelQuery) return {};
                all.push_back(line(j));
                progress(j + 1);
            }
            return back(engine::bufferAll(all, d));
        }

        if (shell::dialogs().messageBox(
                "This query may take few minutes to complete. Do you want to proceed?",
                shell::mbYesNo) != shell::answerYes)
            return {};
        // Groups of 101 buffers; the last, partly filled group goes first.
        std::vector<engine::Shape> groups;
        ShapeRefs group{line(0)};
        for (size_t j = 1; j < records.size(); ++j) {
            YieldEvents();
            if (state.bCancelQuery) return {};
            if (group.size() == 101) {
                groups.push_back(engine::bufferAll(group, d));
                group.clear();
            }
            group.push_back(line(j));
            progress(j + 1);
        }
        groups.insert(groups.begin(), engine::bufferAll(group, d));
        // Batches of 11 group unions, then everything merged into one.
        const std::vector<engine::Shape> batches = mergeInBatches(f, groups, 11);
        ShapeRefs refs;
        for (const engine::Shape& b : batches) refs.push_back(&b);
        engine::Shape total = engine::unionAll(refs);
        for (size_t k = 2; k <= batches.size(); ++k)
            SetCaption(f, "Creating buffer polygon " + QString::number(k) + " out of " +
                              QString::number(batches.size()));
        return back(std::move(total));
    } catch (...) {
        md_functions::ErrorMessage(" Error Source:md_query_functions2.create_line_buffers()", 48);
        return {};
    }
}

void wind_with_roads(frmMain& f) {
    try {
        prepareMap(f, {"37_subcountrybnd2.shp", "42_railroad.shp", "44_transmissionline.shp"});
        const engine::Shape zone =
            create_line_buffers(f, "43_roads.shp", queryState().roadDistanceKm);
        if (!queryState().bCancelQuery && zone) Wind_Buffer_Overlay(f, zone);
    } catch (...) {
        md_functions::ErrorMessage(" Error Source:md_query_functions2.wind_with_roads()", 48);
    }
}

void wind_with_transmission(frmMain& f) {
    try {
        prepareMap(f, {"37_subcountrybnd2.shp", "42_railroad.shp", "43_roads.shp"});
        const engine::Shape zone = create_line_buffers(f, "44_transmissionline.shp",
                                                       queryState().transmissionDistanceKm);
        if (!queryState().bCancelQuery && zone) Wind_Buffer_Overlay(f, zone);
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
        const engine::Shape roadZone = create_line_buffers(f, "43_roads.shp", state.roadDistanceKm);
        if (!roadZone || state.bCancelQuery) return;
        const engine::Shape lineZone =
            create_line_buffers(f, "44_transmissionline.shp", state.transmissionDistanceKm);
        if (!lineZone || state.bCancelQuery) return;
        const engine::Shape corridor = engine::SubdividedShape(roadZone).intersect(lineZone);
        if (!state.bCancelQuery) Wind_All_Overlay(f, corridor);
    } catch (...) {
        md_functions::ErrorMessage(" Error Source:md_query_functions2.wind_all()", 48);
    }
}

void Wind_Buffer_Overlay(frmMain& f, const engine::Shape& zone) {
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
    const auto& wds = windLayer->geoDataset();
    const int column = wds->fieldIndex("WINDPWRD");
    // The proximity polygon is cut once into small indexed pieces, so each wind polygon is
    // intersected only with the few pieces it meets.
    std::unique_ptr<engine::SubdividedShape> pieces;
    try {
        pieces = std::make_unique<engine::SubdividedShape>(zone);
    } catch (...) {
    }
    int i = 0;
    for (int rec : RecordsOf(wind)) {
        YieldEvents();
        if (state.bCancelQuery) return;
        const engine::Shape& shape = wds->shape(rec);
        if (pieces && shape.shapeType() == moShapeTypePolygon) {
            try {
                const engine::Shape piece = pieces->intersect(shape);
                if (piece) AddResult(piece, wds->value(rec, column).toDouble(), "WINDPWRD");
            } catch (...) {
            }
        }
        SetCaption(f, "Overlaying... " + percentText(i, n) + " finished");
        ++i;
    }
    SetCaption(f, "Overlaying... finished", true);
}

void Wind_All_Overlay(frmMain& f, const engine::Shape& corridor) {
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
    std::vector<engine::Shape> pieces;
    try {
        const engine::SubdividedShape corridorPieces(corridor);
        const auto& lds = landLayer->geoDataset();
        int k = 0;
        for (int rec : RecordsOf(land)) {
            if (k % 50 == 0) YieldEvents();
            if (state.bCancelQuery) return;
            const engine::Shape& shape = lds->shape(rec);
            if (shape.shapeType() == moShapeTypePolygon) {
                try {
                    engine::Shape cut = corridorPieces.intersect(shape);
                    if (cut) pieces.push_back(std::move(cut));
                } catch (...) {
                }
            }
            SetCaption(f, "Intersecting... " + percentText(k, m) + " finished");
            ++k;
        }

        const auto windLayer = LayerOf(f, "20_wind.shp");
        engine::Recordset wind = windLayer->searchExpression(CreateWindSelectExpression(f));
        const qint64 n = wind.calculateStatistics("FeatureID").count;
        state.resultCoordinateSystem = windLayer->coordinateSystem();
        if (!(n * qint64(pieces.size()) > 0)) return;

        const auto& wds = windLayer->geoDataset();
        const int column = wds->fieldIndex("WINDPWRD");
        const std::vector<int> windRecords = RecordsOf(wind);
        std::vector<engine::Rectangle> boxes;
        for (int rec : windRecords) boxes.push_back(wds->shapeExtent(rec));
        const engine::ExtentIndex windIndex(boxes);

        // The protected areas to subtract: the first record whatever its kind, then polygons.
        const bool removeProtected = f.chkProtectedAreas->isChecked();
        std::vector<std::unique_ptr<engine::PreparedShape>> protectedAreas;
        std::unique_ptr<engine::ExtentIndex> protectedIndex;
        if (removeProtected) {
            const auto protectedLayer = LayerOf(f, "31_protectedarea.shp");
            engine::Recordset records =
                protectedLayer->searchExpression(QStringLiteral("FeatureID") + " > -1");
            const auto& pds = protectedLayer->geoDataset();
            std::vector<engine::Rectangle> protectedBoxes;
            for (int rec : RecordsOf(records)) {
                const engine::Shape& shape = pds->shape(rec);
                if (!protectedAreas.empty() && shape.shapeType() != moShapeTypePolygon) continue;
                protectedAreas.push_back(std::make_unique<engine::PreparedShape>(shape));
                protectedBoxes.push_back(shape.extent());
            }
            protectedIndex = std::make_unique<engine::ExtentIndex>(protectedBoxes);
        }

        int i = 0;
        for (const engine::Shape& piece : pieces) {
            YieldEvents();
            if (state.bCancelQuery) return;
            try {
                const engine::PreparedShape prepared(piece);
                for (int w : windIndex.query(piece.extent())) {
                    const engine::Shape& shape = wds->shape(windRecords[w]);
                    if (shape.shapeType() != moShapeTypePolygon) continue;
                    try {
                        engine::Shape cut;
                        if (prepared.contains(shape))
                            cut = shape;
                        else if (prepared.intersects(shape))
                            cut = engine::polygonalPart(piece.intersect(shape));
                        // Subtracting an area that the cut does not meet changes nothing, so
                        // only the protected areas whose extent meets it are tried, in order.
                        if (removeProtected && cut) {
                            for (int p : protectedIndex->query(cut.extent())) {
                                if (!protectedAreas[p]->intersects(cut)) continue;
                                cut = engine::polygonalPart(
                                    cut.difference(protectedAreas[p]->shape()));
                                if (!cut) break;
                            }
                        }
                        if (cut)
                            AddResult(cut, wds->value(windRecords[w], column).toDouble(),
                                      "WINDPWRD");
                    } catch (...) {
                    }
                }
            } catch (...) {
            }
            SetCaption(f, "Overlaying... " + percentText(i, double(pieces.size())) + " finished");
            ++i;
        }
        SetCaption(f, "Overlaying... finished", true);
    } catch (...) {
    }
}

}  // namespace md_query_functions2
