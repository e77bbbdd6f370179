#include "siting/failure.h"
#include "siting/number_text.h"
#include "siting/query_descriptors.h"
#include "siting/query_procedures.h"
#include "siting/search_expressions.h"

namespace md_query_functions2 {

namespace {

void threshold(Run& r, const QString& layerFile, const QString& field, const QString& expression,
               const char* failure) {
    siting::failingAs(failure, [&] {
        HideLayers(r, {"37_subcountrybnd2.shp", "42_railroad.shp", "43_roads.shp",
                       "44_transmissionline.shp"});
        r.feedback.caption("Calculating...", true);
        if (expression.isEmpty()) throw engine::EngineError("no search expression");
        const auto layer = LayerOf(r, layerFile);
        engine::Recordset records = layer->searchExpression(expression);
        const int n = records.calculateStatistics("FeatureID").count;
        r.result.fieldName = field;
        r.result.coordinateSystem = layer->coordinateSystem();
        const auto& ds = layer->geoDataset();
        const int column = ds->fieldIndex(field);
        for (int i = 0;; ++i, records.moveNext()) {
            if (records.eof()) {
                r.feedback.caption("Calculating... finished", true);
                return;
            }
            if (i % 50 == 0) r.feedback.yield();
            if (r.cancelled()) return;
            const engine::Shape& shape = ds->shape(records.record());
            if (shape.shapeType() == engine::moShapeTypePolygon)
                r.result.add(shape, ds->value(records.record(), column).toDouble());
            r.feedback.caption("Calculating... " + percentText(i, n) + " finished");
        }
    });
}

}  // namespace

std::shared_ptr<engine::MapLayer> LayerOf(Run& r, const QString& file) {
    return r.study.layer(file);
}

void HideLayers(Run& r, std::initializer_list<const char*> files) {
    for (const char* file : files)
        if (r.study.hasLayer(QString::fromLatin1(file)))
            LayerOf(r, QString::fromLatin1(file))->visible = false;
}

std::vector<int> RecordsOf(engine::Recordset& records) {
    std::vector<int> out;
    out.reserve(records.count());
    for (records.moveFirst(); !records.eof(); records.moveNext()) out.push_back(records.record());
    records.moveFirst();
    return out;
}

void wind_class_x_or_better(Run& r) {
    threshold(r, "20_wind.shp", "WINDPWRD", CreateWindSelectExpression(r.parameters),
              " Error Source:md_query_functions2.wind_class_x_or_better()");
}

void solar_x_kwhm2_or_better(Run& r) {
    const siting::SolarResource* chosen = siting::FindSolarResource(r.parameters.solarResource);
    const QString layerFile = chosen ? chosen->layerFile : QString();
    const QString field = chosen ? chosen->fieldName : QString();
    threshold(r, layerFile, field, CreateSolarSelectExpression(r.parameters, field),
              " Error Source:md_query_functions2.solar_x_kwhm2_or_better() ");
}

}  // namespace md_query_functions2
