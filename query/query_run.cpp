#include "query/query_run.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <atomic>

#include "feedback/dialog_service.h"
#include "feedback/error_report.h"
#include "query/progress.h"
#include "shell/frmMain.h"
#include "siting/input_validation.h"
#include "siting/query_descriptors.h"
#include "siting/study.h"

namespace query {

namespace {

// Set by a "Cancel" press, read by the run in progress.
std::atomic<bool> cancelRequested{false};

// The box a distance is typed into: with two distances the first takes the upper box.
QLineEdit* distanceBox(const frmMain& f, siting::Parameter p) {
    const siting::QueryDescriptor* q = siting::FindQuery(f.cboSelectQuery->currentText());
    const bool both =
        q && q->has(siting::Parameter::RoadsKm) && q->has(siting::Parameter::TransmissionKm);
    return f.txtQuery1[p == siting::Parameter::TransmissionKm && both ? 1 : 2];
}

}  // namespace

siting::ParameterInput PanelInput(const frmMain& f) {
    siting::ParameterInput in;
    in.minimum = f.cboQueryDropDown->currentText();
    in.maximum = f.cboQueryDropDown2->currentText();
    in.roadsKm = distanceBox(f, siting::Parameter::RoadsKm)->text();
    in.transmissionKm = distanceBox(f, siting::Parameter::TransmissionKm)->text();
    for (int i = 0; i < f.lstQuery1->count(); ++i)
        if (f.lstQuery1->item(i)->isSelected()) in.landUses << f.lstQuery1->item(i)->text();
    in.removeProtected = f.chkProtectedAreas->isChecked();
    in.solarResource = f.cboQueryDropDown3->currentText();
    return in;
}

void cmdUpdateMap_Click(frmMain& f) {
    md_functions::reportingFailure(
        " Error while trying to run the query and updata map. Error "
        "Source:frmMain.cmdUpdateMap_Click()",
        [&] {
            resultsDrawn = false;
            siting::Study& study = *siting::Study::of(f);
            const siting::QueryDescriptor* query =
                siting::FindQuery(f.cboSelectQuery->currentText());
            if (!query) return;
            const siting::ParameterInput input = PanelInput(f);
            // What the chosen query needs, and nothing else: another query's solar resource is not
            // asked for.
            QString message;
            siting::QueryParameters available;
            available.solarResource = input.solarResource;
            if (!study.isAvailable(*query, available, &message)) {
                md_functions::DisplayError(message);
                return;
            }
            f.cmdShowData->hide();
            if (f.cmdUpdateMap->text() != "Update Map") {
                cancelRequested = true;
                return;
            }
            cancelRequested = false;
            const md_functions::InputCheck check = md_functions::CheckInputs(*query, input);
            if (!check.parameters) {
                md_functions::DisplayError(check.fault);
                if (check.focus) distanceBox(f, *check.focus)->setFocus();
                return;
            }
            f.setWorkingColor(QColor(0, 0, 255));
            f.ControlEnable(false);
            f.repaint();
            md_query_functions2::WindowFeedback feedback(f);
            study.run(*query, *check.parameters, feedback, cancelRequested);
            f.cmdShowData->setVisible(study.hasCompleteResult());
            // Areas left short, or resting on a guessed coordinate system, are said to be.
            if (const QString notice = study.runNotice(*query, *check.parameters);
                study.result() && !notice.isEmpty())
                feedback::dialogs().messageBox(notice);
            f.legend->clear();
            f.legend->loadLegend(true);
            f.ControlEnable(true);
            resultsDrawn = false;
            f.Map1->refresh();
            f.repaint();
            resultsDrawn = false;
        });
}

}  // namespace query
