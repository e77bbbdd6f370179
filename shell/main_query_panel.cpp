// The main window's query parameter panel: its controls, made hidden. Which of them a query
// shows, and in which row of the panel's grid, is the query set-up's business
// (query/query_panel.cpp).
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>

#include "shell/frmMain.h"
#include "shell/panel_controls.h"
#include "siting/query_defaults.h"
#include "siting/query_descriptors.h"

QWidget* frmMain::createQueryPanel(QWidget* parent) {
    fraEditQueryParameters = new QGroupBox(parent);
    QWidget* panel = fraEditQueryParameters;
    panelGrid = new QGridLayout(panel);
    // Captions take the width that is left beside the number boxes and drop-downs.
    panelGrid->setColumnStretch(1, 1);

    for (int i = 0; i < 6; ++i) {
        lblQuery1[i] = i == 5 ? new shell::CheckBoxCaption(panel) : new QLabel(panel);
        lblQuery1[i]->setVisible(false);
    }
    lblQuery1[5]->setText(QStringLiteral("remove protected areas "));

    for (int i = 1; i <= 2; ++i) {
        txtQuery1[i] = new shell::NumberBox(siting::kStartDistance, panel);
        txtQuery1[i]->setVisible(false);
    }

    cboQueryDropDown = new QComboBox(panel);
    cboQueryDropDown2 = new QComboBox(panel);
    // The solar resource list holds the longest texts of any panel; its room is kept in every
    // panel (hidden, in the list's row), so the column is as wide for a wind query as for a
    // solar one.
    QStringList solarResources;
    for (const siting::SolarResource& r : siting::SolarResources())
        solarResources << r.description;
    cboQueryDropDown3 = new shell::CatalogueBox(solarResources, panel);
    QSizePolicy keepRoom = cboQueryDropDown3->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    cboQueryDropDown3->setSizePolicy(keepRoom);
    for (QComboBox* c : {cboQueryDropDown, cboQueryDropDown2}) {
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setMinimumContentsLength(5);
    }
    for (QComboBox* c : {cboQueryDropDown, cboQueryDropDown2}) {
        c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        c->setVisible(false);
    }
    cboQueryDropDown3->setVisible(false);
    panelGrid->addWidget(cboQueryDropDown3, shell::kPanelListRow, shell::kPanelBoxColumn, 1,
                         shell::kPanelColumns);

    lstQuery1 = new shell::FittedList(6, panel);
    lstQuery1->setSelectionMode(QAbstractItemView::MultiSelection);
    lstQuery1->setVisible(false);

    chkProtectedAreas = new QCheckBox(panel);
    chkProtectedAreas->setChecked(true);
    chkProtectedAreas->setVisible(false);
    // Only the box itself: its caption is a label beside it that ticks it too.
    chkProtectedAreas->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    lblQuery1[5]->setBuddy(chkProtectedAreas);

    // The user's own edits (not the program's) clear a red message about the inputs.
    for (int i = 1; i <= 2; ++i)
        connect(txtQuery1[i], &QLineEdit::textEdited, this, &frmMain::clearInputProblem);
    for (QComboBox* c : {cboQueryDropDown, cboQueryDropDown2}) {
        connect(c->lineEdit(), &QLineEdit::textEdited, this, &frmMain::clearInputProblem);
        connect(c, &QComboBox::activated, this, &frmMain::clearInputProblem);
    }
    connect(cboQueryDropDown3, &QComboBox::activated, this, &frmMain::clearInputProblem);
    connect(lstQuery1, &QListWidget::itemSelectionChanged, this, &frmMain::clearInputProblem);
    return panel;
}

void frmMain::clearInputProblem() {
    if (lblWorking->isHidden() || lblWorking->palette().color(QPalette::WindowText) != Qt::red)
        return;
    lblWorking->clear();
    lblWorking->hide();
}
