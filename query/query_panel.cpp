#include "query/query_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "dataset/dataset_loading.h"
#include "feedback/error_report.h"
#include "mapview/map.h"
#include "query/query_catalogue.h"
#include "shell/frmMain.h"
#include "shell/panel_controls.h"
#include "siting/number_text.h"
#include "siting/query_defaults.h"
#include "siting/query_descriptors.h"
#include "siting/study.h"

namespace md_functions {

namespace {

using Row = shell::PanelRow;
constexpr Row kMinRow = shell::kPanelMinRow, kMaxRow = shell::kPanelMaxRow,
              kFirstDistanceRow = shell::kPanelFirstDistanceRow,
              kProtectedRow = shell::kPanelProtectedRow,
              kListCaptionRow = shell::kPanelListCaptionRow, kListRow = shell::kPanelListRow,
              kEndRow = shell::kPanelEndRow;
constexpr int kBoxColumn = shell::kPanelBoxColumn, kCaptionColumn = shell::kPanelCaptionColumn,
              kDropDownColumn = shell::kPanelDropDownColumn, kColumns = shell::kPanelColumns;

void show(frmMain& f, QWidget* c, int row, int column, int columnSpan = 1) {
    f.panelGrid->removeWidget(c);
    f.panelGrid->addWidget(c, row, column, 1, columnSpan);
    c->show();
}

void label(frmMain& f, int i, const QString& caption, int row, int column, int columnSpan) {
    f.lblQuery1[i]->setText(caption);
    show(f, f.lblQuery1[i], row, column, columnSpan);
}

// A caption of a drop-down, left of it.
void rangeLabel(frmMain& f, int i, const QString& caption, Row row) {
    label(f, i, caption, row, kBoxColumn, kDropDownColumn);
}

// A caption of a number box, right of it.
void distanceLabel(frmMain& f, int i, const QString& caption, Row row) {
    label(f, i, caption, row, kCaptionColumn, kColumns - kCaptionColumn);
}

void rangeDropDowns(frmMain& f) {
    show(f, f.cboQueryDropDown, kMinRow, kDropDownColumn);
    show(f, f.cboQueryDropDown2, kMaxRow, kDropDownColumn);
}

// The list (or drop-down) under its caption, across the panel; a list takes the panel's room.
void choiceList(frmMain& f, QWidget* list, const QString& caption) {
    label(f, 4, caption, kListCaptionRow, kBoxColumn, kColumns);
    show(f, list, kListRow, kBoxColumn, kColumns);
    if (list == f.lstQuery1) {
        f.panelGrid->setRowStretch(kListRow, 1);
        f.panelGrid->setRowStretch(kEndRow, 0);
    }
}

// "2" unless the box already holds a number.
void keepNumberOr2(QLineEdit* box) {
    if (!md_query_functions2::isNumber(box->text())) box->setText("2");
}

// The values of a range in its two drop-downs, and the ones shown at first.
void offer(QComboBox* lo, QComboBox* hi, const siting::RangeChoices& choices) {
    lo->addItems(choices.minimums);
    hi->addItems(choices.maximums);
    lo->setCurrentIndex(choices.minimum);
    hi->setCurrentIndex(choices.maximum);
}

}  // namespace

void SetQueryInputControls(frmMain& f) {
    md_functions::reportingFailure(" Error Source:md_functions.SetQueryInputControls()", [&] {
        const QList<QWidget*> controls = {
            f.txtQuery1[1],     f.txtQuery1[2],      f.lblQuery1[0],     f.lblQuery1[1],
            f.lblQuery1[2],     f.lblQuery1[3],      f.lblQuery1[4],     f.lblQuery1[5],
            f.lstQuery1,        f.chkProtectedAreas, f.cboQueryDropDown, f.cboQueryDropDown2,
            f.cboQueryDropDown3};
        for (QWidget* c : controls) {
            c->hide();
            f.panelGrid->removeWidget(c);
        }
        // Without a list, the room left over stays below the controls.
        f.panelGrid->setRowStretch(kListRow, 0);
        f.panelGrid->setRowStretch(kEndRow, 1);

        const siting::QueryDescriptor* query = siting::FindQuery(f.cboSelectQuery->currentText());
        if (query && !query->parameters.empty()) {
            using siting::Parameter;
            const bool solar = query->has(Parameter::SolarRange);
            const bool twoDistances =
                query->has(Parameter::RoadsKm) && query->has(Parameter::TransmissionKm);
            rangeLabel(f, 0, solar ? "Min Solar Resource" : "Min Wind Power Density:", kMinRow);
            // With two distances the second caption row beside the boxes is taken.
            rangeLabel(f, twoDistances ? 3 : 1,
                       solar ? "Max Solar Resource" : "Max Wind Power Density:", kMaxRow);
            int distanceRow = kFirstDistanceRow;
            for (const siting::ParameterSpec& p : query->parameters) {
                if (p.kind != Parameter::RoadsKm && p.kind != Parameter::TransmissionKm) continue;
                // The last distance takes the lower box.
                const int box = twoDistances && distanceRow == kFirstDistanceRow ? 1 : 2;
                show(f, f.txtQuery1[box], distanceRow, kBoxColumn);
                if (p.keepTyped)
                    keepNumberOr2(f.txtQuery1[box]);
                else
                    f.txtQuery1[box]->setText(siting::kDefaultDistance);
                distanceLabel(f, box, p.caption, Row(distanceRow));
                ++distanceRow;
            }
            SetQueryListbox(f);
            rangeDropDowns(f);
            if (query->has(Parameter::LandUses))
                choiceList(f, f.lstQuery1, "Choose which land uses are suitable:");
            if (const siting::ParameterSpec* p = query->parameter(Parameter::RemoveProtected)) {
                // The check box with its caption on a row of its own, clear of the distances.
                distanceLabel(f, 5, p->caption, kProtectedRow);
                show(f, f.chkProtectedAreas, kProtectedRow, kBoxColumn);
            }
            if (query->has(Parameter::SolarResource))
                choiceList(f, f.cboQueryDropDown3, "Choose which solar resource:");
        }
        f.UpdateInterface();
    });
}

void SetQueryListbox(frmMain& f) {
    md_functions::reportingFailure(" Error Source:md_functions.SetQueryListbox()", [&] {
        const siting::QueryDescriptor* query = siting::FindQuery(f.cboSelectQuery->currentText());
        if (!query) return;
        if (query->has(siting::Parameter::WindRange)) FillWindDensityDropDowns(f);
        if (query->has(siting::Parameter::LandUses)) FillLandUseDropDown(f);
        if (query->has(siting::Parameter::SolarResource)) {
            QComboBox* resources = f.cboQueryDropDown3;
            QComboBox* lo = f.cboQueryDropDown;
            QComboBox* hi = f.cboQueryDropDown2;
            const QSignalBlocker block(resources);
            resources->clear();
            const siting::Study& study = *siting::Study::of(f);
            const QStringList offered = siting::OfferedSolarResources(study);
            resources->addItems(offered);
            lo->clear();
            hi->clear();
            offer(lo, hi, siting::SolarRangeChoices(study, offered));
            SkipNextSolarCheck();
            resources->setCurrentIndex(0);
            query::cboQueryDropDown3_Click(f);
        }
    });
}

void FillWindDensityDropDowns(frmMain& f) {
    md_functions::reportingFailure(" Error Source:md_functions.FillWindDensityDropDowns()", [&] {
        QComboBox* lo = f.cboQueryDropDown;
        QComboBox* hi = f.cboQueryDropDown2;
        lo->clear();
        hi->clear();
        offer(lo, hi, siting::WindRangeChoices(*siting::Study::of(f)));
    });
}

void FillLandUseDropDown(frmMain& f) {
    md_functions::reportingFailure(" Error Source:md_functions.FillLandUseDropDown()", [&] {
        f.lstQuery1->clear();
        f.lstQuery1->addItems(siting::LandUses(*siting::Study::of(f)));
    });
}

}  // namespace md_functions
