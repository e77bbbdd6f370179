#include "query/input_validation.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include "query/number_text.h"
#include "shell/error_report.h"
#include "shell/frmMain.h"

namespace md_functions {

namespace {

using md_query_functions2::isNumber;
using md_query_functions2::isSingle;

bool fault(const QString& message, QWidget* focus = nullptr) {
    DisplayError(message);
    if (focus) focus->setFocus();
    return false;
}

bool distanceOutOfRange(float d) { return d < float(0.001) || d > 25; }

}  // namespace

bool CheckInputs(frmMain& f) {
    try {
        const QString name = f.cboSelectQuery->currentText();
        const QString key = name.trimmed().toUpper();
        if (key == QStringLiteral("No Query (Base Map)").toUpper()) return true;

        const QString minText = f.cboQueryDropDown->currentText();
        const QString maxText = f.cboQueryDropDown2->currentText();
        double lo = 0, hi = 0;
        if (key == QStringLiteral("Best Solar X kWh/m2/day").toUpper()) {
            if (!isNumber(minText, &lo))
                return fault("Please enter a numeric value for Min. Solar Resource");
            if (!isNumber(maxText, &hi))
                return fault("Please enter a numeric value for Max. Solar Resourcey");
            if (!(hi > lo)) return fault("Max. Solar Resource should be > Min. Solar Resource");
            if (lo > 10 || lo < 0) return fault("Min. Solar Resource should be >= 0 and <= 10");
            if (hi > 10 || hi < 0) return fault("Max. Solar Resource should be >= 0 and <= 10");
        } else {
            if (!isNumber(minText, &lo))
                return fault("Please enter a numeric value for Min. Wind Power Density");
            if (maxText.trimmed() == "Max")
                hi = 10000;
            else if (!isNumber(maxText, &hi))
                return fault("Please enter a numeric value for Max. Wind Power Density");
            if (!(hi > lo))
                return fault("Max. Wind Power Density should be > Min. Wind Power Density");
            if (lo > 10000 || lo < 0)
                return fault(QStringLiteral("Min. Wind Power Density should be >= 0 and ") +
                             "10000");
            if (hi < 0 || hi > 10000)
                return fault(QStringLiteral("Max. Wind Power Density should be >= 0 and ") +
                             "10000");
        }

        if (name == "Best wind + land use") {
            if (f.lstQuery1->selectedItems().isEmpty()) return fault("Please select a land use.");
            return true;
        }
        if (name == "Best wind + roads" || name == "Best wind + transmission") {
            float d = 0;
            if (!isSingle(f.txtQuery1[2]->text(), &d))
                return fault("Please enter a number for proximity value.");
            if (distanceOutOfRange(d))
                return fault("Proximity value must be >=0.001 and <= 25km.");
            return true;
        }
        if (name == "Best wind (all)") {
            float d = 0;
            QLineEdit* transmission = f.txtQuery1[1];
            QLineEdit* roads = f.txtQuery1[2];
            if (!isSingle(transmission->text(), &d))
                return fault("Please enter a number for proximity value.", transmission);
            if (distanceOutOfRange(d))
                return fault("Proximity to transmission must be >=0.001 and <= 25km.",
                             transmission);
            if (!isSingle(roads->text(), &d))
                return fault("Please enter a number for proximity value.", roads);
            if (distanceOutOfRange(d))
                return fault("Proximity to roads must be >=0.001 and <= 25km.", roads);
            if (f.lstQuery1->selectedItems().isEmpty()) return fault("Please select a land use.");
        }
        return true;
    } catch (...) {
        ErrorMessage(" Error while validating input parameters. Error Source:md_functions.CheckInputs()",
                     48);
        return false;
    }
}

}  // namespace md_functions
