#include "query/search_expressions.h"

#include <QComboBox>
#include <QListWidget>

#include "engine/types.h"
#include "query/number_text.h"
#include "query/query_catalogue.h"
#include "query/query_state.h"
#include "shell/error_report.h"
#include "shell/frmMain.h"

namespace md_query_functions2 {

namespace {

double toDouble(const QString& text) {
    double v = 0;
    if (!isNumber(text, &v)) throw engine::EngineError("not a number");
    return v;
}

}  // namespace

QString CreateWindSelectExpression(frmMain& f) {
    try {
        const double lower = toDouble(f.cboQueryDropDown->currentText());
        const QString maxText = f.cboQueryDropDown2->currentText();
        const double upper = maxText == "Max" ? 10000 : toDouble(maxText);
        return QStringLiteral("WINDPWRD") + " >= " + plainNumber(lower) + " AND " + "WINDPWRD" +
               " <= " + plainNumber(upper);
    } catch (...) {
        md_functions::ErrorMessage(
            " Error Source:md_query_functions2.CreateWindSelectExpression()", 48);
        return {};
    }
}

QString CreateSolarSelectExpression(frmMain& f) {
    try {
        const float lower = float(toDouble(f.cboQueryDropDown->currentText()));
        const float upper = float(toDouble(f.cboQueryDropDown2->currentText()));
        const QString& field = queryState().solarFieldName;
        return field + " >= " + plainNumber(lower) + " AND " + field + " <= " + plainNumber(upper);
    } catch (...) {
        md_functions::ErrorMessage(
            " Error Source:md_query_functions2.CreateSolarSelectExpression()", 48);
        return {};
    }
}

void GetSolarLayerChosen(frmMain& f) {
    try {
        const QString chosen = f.cboQueryDropDown3->currentText();
        for (const auto& r : md_functions::SolarResources()) {
            if (r.description == chosen) {
                queryState().solarLayerFile = r.layerFile;
                queryState().solarFieldName = r.fieldName;
                return;
            }
        }
    } catch (...) {
        md_functions::ErrorMessage(" Error Source:md_query_functions2.GetSolarLayerChosen()", 48);
    }
}

QString LandUseExpression(frmMain& f) {
    QString expression;
    for (int i = 0; i < f.lstQuery1->count(); ++i) {
        const QListWidgetItem* item = f.lstQuery1->item(i);
        if (!item->isSelected()) continue;
        // A quote inside a class name is doubled, as the expression syntax requires.
        QString text = item->text();
        text.replace(QLatin1Char('\''), QLatin1String("''"));
        expression += QStringLiteral("(") + "LAND_USE" + " = '" + text + "') OR ";
    }
    if (expression.size() < 4) throw engine::EngineError("no land use selected");
    expression.chop(4);
    return expression;
}

}  // namespace md_query_functions2
