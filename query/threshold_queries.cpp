#include "dataset/dataset_loading.h"
#include "engine/map.h"
#include "query/number_text.h"
#include "query/progress.h"
#include "query/query_procedures.h"
#include "query/query_state.h"
#include "query/result_set.h"
#include "query/search_expressions.h"
#include "shell/error_report.h"
#include "shell/frmMain.h"

namespace md_query_functions2 {

namespace {

void threshold(frmMain& f, const QString& layerFile, const QString& field,
               const QString& expression, const char* failure) {
    try {
        HideLayers(f, {"37_subcountrybnd2.shp", "42_railroad.shp", "43_roads.shp",
                       "44_transmissionline.shp"});
        SetCaption(f, "Calculating...", true);
        if (expression.isEmpty()) throw engine::EngineError("no search expression");
        const auto layer = LayerOf(f, layerFile);
        engine::Recordset records = layer->searchExpression(expression);
        const int n = records.calculateStatistics("FeatureID").count;
        QueryState& state = queryState();
        state.cValues.clear();
        state.resultFieldName = field;
        state.resultCoordinateSystem = layer->coordinateSystem();
        const auto& ds = layer->geoDataset();
        const int column = ds->fieldIndex(field);
        for (int i = 0;; ++i, records.moveNext()) {
            if (records.eof()) {
                SetCaption(f, "Calculating... finished", true);
                return;
            }
            if (i % 50 == 0) YieldEvents();
            if (state.bCancelQuery) return;
            const engine::Shape& shape = ds->shape(records.record());
            if (shape.shapeType() == engine::moShapeTypePolygon)
                AddResult(shape, ds->value(records.record(), column).toDouble(), field);
            SetCaption(f, "Calculating... " + percentText(i, n) + " finished");
        }
    } catch (...) {
        md_functions::ErrorMessage(failure, 48);
    }
}

}  // namespace

std::shared_ptr<engine::MapLayer> LayerOf(frmMain& f, const QString& file) {
    return f.Map1->layer(md_functions::LayerIndexByFile(file));
}

void HideLayers(frmMain& f, std::initializer_list<const char*> files) {
    for (const char* file : files)
        if (md_functions::isLayerExist(QString::fromLatin1(file)))
            LayerOf(f, QString::fromLatin1(file))->visible = false;
}

std::vector<int> RecordsOf(engine::Recordset& records) {
    std::vector<int> out;
    out.reserve(records.count());
    for (records.moveFirst(); !records.eof(); records.moveNext()) out.push_back(records.record());
    records.moveFirst();
    return out;
}

void wind_class_x_or_better(frmMain& f) {
    threshold(f, "20_wind.shp", "WINDPWRD", CreateWindSelectExpression(f),
              " Error Source:md_query_functions2.wind_class_x_or_better()");
}

void solar_x_kwhm2_or_better(frmMain& f) {
    const QueryState& state = queryState();
    threshold(f, state.solarLayerFile, state.solarFieldName, CreateSolarSelectExpression(f),
              " Error Source:md_query_functions2.solar_x_kwhm2_or_better() ");
}

}  // namespace md_query_functions2
