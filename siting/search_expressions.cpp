#include "siting/search_expressions.h"

#include "engine/types.h"
#include "siting/number_text.h"

namespace md_query_functions2 {

QString CreateWindSelectExpression(const siting::QueryParameters& p) {
    return QStringLiteral("WINDPWRD") + " >= " + plainNumber(p.minimum) + " AND " + "WINDPWRD" +
           " <= " + plainNumber(p.maximum);
}

QString CreateSolarSelectExpression(const siting::QueryParameters& p, const QString& field) {
    const float lower = float(p.minimum);
    const float upper = float(p.maximum);
    return field + " >= " + plainNumber(lower) + " AND " + field + " <= " + plainNumber(upper);
}

QString LandUseExpression(const siting::QueryParameters& p) {
    QString expression;
    for (QString text : p.landUses) {
        // A quote inside a class name is doubled, as the expression syntax requires.
        text.replace(QLatin1Char('\''), QLatin1String("''"));
        expression += QStringLiteral("(") + "LAND_USE" + " = '" + text + "') OR ";
    }
    if (expression.size() < 4) throw engine::EngineError("no land use selected");
    expression.chop(4);
    return expression;
}

}  // namespace md_query_functions2
