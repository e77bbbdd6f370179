#include "siting/result_set.h"

#include <algorithm>
#include <iterator>

#include "engine/projection.h"
#include "engine/renderer.h"
#include "siting/number_text.h"
#include "siting/query_descriptors.h"

namespace md_functions {

namespace {

using engine::rgb;

// Class colours by lower bound; a value equal to a bound belongs to the class above it.
constexpr double kWindBounds[] = {200, 300, 400, 500, 600, 800};
constexpr engine::ColorNumber kWindColours[] = {
    rgb(230, 230, 230), rgb(222, 184, 135), rgb(254, 172, 0), rgb(255, 110, 180),
    rgb(154, 50, 205),  rgb(255, 0, 0),     rgb(0, 0, 255)};
constexpr double kSolarBounds[] = {2, 2.5, 3, 3.5, 4, 4.5, 5, 5.5, 6, 6.5, 7, 7.5, 8, 8.5, 9};
constexpr engine::ColorNumber kSolarColours[] = {
    rgb(122, 97, 50),   rgb(184, 146, 75), rgb(224, 178, 92), rgb(252, 218, 154),
    rgb(237, 237, 166), rgb(230, 230, 83), rgb(255, 255, 0),  rgb(252, 223, 0),
    rgb(255, 171, 0),   rgb(237, 138, 0),  rgb(255, 94, 25),  rgb(247, 0, 0),
    rgb(207, 0, 0),     rgb(153, 0, 0),    rgb(115, 0, 0),    rgb(71, 0, 0)};

template <size_t N>
engine::ColorNumber classColour(double v, const double (&bounds)[N],
                                const engine::ColorNumber (&colours)[N + 1]) {
    size_t k = 0;
    while (k < N && v >= bounds[k]) ++k;
    return colours[k];
}

template <size_t N>
int rankOf(engine::ColorNumber colour, const engine::ColorNumber (&colours)[N]) {
    const auto it = std::find(std::begin(colours), std::end(colours), colour);
    return it == std::end(colours) ? -1 : int(it - std::begin(colours));
}

}  // namespace

void SetResultSymbolColor(const QString& fieldName, double value, engine::Symbol& symbol) {
    if (fieldName == "WINDPWRD")
        symbol.color = classColour(value, kWindBounds, kWindColours);
    else if (fieldName == "ANNDIR" || fieldName == "ANNTILT" || fieldName == "ANNGLO")
        symbol.color = classColour(value, kSolarBounds, kSolarColours);
}

int ResultClassRank(engine::ColorNumber colour) {
    const int wind = rankOf(colour, kWindColours);
    return wind >= 0 ? wind : rankOf(colour, kSolarColours);
}

}  // namespace md_functions

namespace md_query_functions2 {

std::vector<std::pair<engine::ColorNumber, double>> ClassSummary(
    const siting::QueryResult& result) {
    std::vector<std::pair<engine::ColorNumber, double>> summary;
    engine::Rectangle extent;
    for (const siting::ResultEntry& e : result.entries) extent.unite(e.shape.extent());
    // Areas in km2; geographic results are measured in an equal-area projection.
    const engine::AreaMeasure measure(result.coordinateSystem, extent);
    for (const siting::ResultEntry& e : result.entries) {
        const engine::ColorNumber c = e.symbol.color;
        const double a = measure.squareMetres(e.shape) / 1e6;
        auto it = std::find_if(summary.begin(), summary.end(),
                               [c](const auto& s) { return s.first == c; });
        if (it == summary.end())
            summary.emplace_back(c, a);
        else
            it->second += a;
    }
    return summary;
}

QString ClassDescription(const siting::Study& study, const QString& query,
                         const QString& solarResource, engine::ColorNumber colour) {
    QString description;
    const bool wind = siting::isWindQuery(query);
    if (!wind && query != "Best Solar X kWh/m2/day") return {};
    std::shared_ptr<engine::MapLayer> layer;
    if (wind) {
        if (!study.hasLayer("20_wind.shp")) return {};
        layer = study.layer("20_wind.shp");
    } else {
        for (int i = 0; i < study.layers().layerCount() && !layer; ++i)
            if (study.layers().layer(i)->name == solarResource) layer = study.layers().layer(i);
    }
    if (!layer) return {};
    const auto breaks = std::dynamic_pointer_cast<engine::ClassBreaksRenderer>(layer->renderer);
    if (!breaks) return {};
    const int n = breaks->breakCount();
    int found = -1;
    for (int i = 0; i <= n && found < 0; ++i)
        if (breaks->symbol(i).color == colour) found = i;
    auto text = [&](int i) {
        return wind ? plainNumber(breaks->breakValue(i))
                    : QString::number(breaks->breakValue(i), 'f', 1);
    };
    const QString subject = wind ? "Wind Power Density" : "Solar Resource";
    if (found < 0)
        description = wind ? "Wind Power Density < 200" : QString();
    else if (found == 0)
        description = subject + " < " + text(0);
    else if (found == n)
        description = subject + " >= " + text(n - 1);
    else
        description = subject + " >= " + text(found - 1) + (wind ? " and < " : " < ") + text(found);
    return description;
}

}  // namespace md_query_functions2
