#include "shell/frmShowLayersDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "feedback/error_report.h"
#include "shell/frmMain.h"

frmShowLayersDialog::frmShowLayersDialog(int checkBoxes, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Change Layers"));
    setModal(true);

    auto* outer = new QVBoxLayout(this);
    lblInstruction = new QLabel(
        QStringLiteral("Click each layer you wish to display on the map, then click Update Map."),
        this);
    lblInstruction->setWordWrap(true);
    outer->addWidget(lblInstruction);

    // Two columns, so that a full dataset fits on a small screen.
    auto* grid = new QGridLayout;
    const int perColumn = (checkBoxes + 1) / 2;
    for (int i = 0; i < checkBoxes; ++i) {
        auto* box = new QCheckBox(QStringLiteral("Check1"), this);
        chkShowLayers.push_back(box);
        grid->addWidget(box, i % perColumn, i / perColumn);
    }
    grid->setRowStretch(perColumn, 1);
    outer->addLayout(grid, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    OKButton = new QPushButton(QStringLiteral("Update Map"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    OKButton->setDefault(true);
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    outer->addLayout(buttons);

    connect(OKButton, &QPushButton::clicked, this, &frmShowLayersDialog::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmShowLayersDialog::CancelButton_Click);
}

void frmShowLayersDialog::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    Form_Activate();
}

void frmShowLayersDialog::hideEvent(QHideEvent* e) {
    QDialog::hideEvent(e);
    Form_Deactivate();
}

void frmShowLayersDialog::Form_Activate() {
    md_functions::reportingFailure(QStringLiteral(" Error while activating layer list form. Error "
                                                  "Source:frmShowLayersDialog.Form_Activate()"),
                                   [&] {
                                       const frmMain* form = frmMain::instance();
                                       if (!form) throw std::logic_error("no main window");
                                       const engine::Map& map = *form->Map1;
                                       for (size_t i = 0; i < chkShowLayers.size(); ++i) {
                                           QCheckBox* box = chkShowLayers[i];
                                           const bool present = int(i) < map.layerCount();
                                           box->setVisible(present);
                                           if (present) {
                                               const auto& layer = map.layer(int(i));
                                               box->setText(layer->name);
                                               box->setChecked(layer->visible);
                                           }
                                       }
                                       adjustSize();
                                   });
}

void frmShowLayersDialog::Form_Deactivate() {
    md_functions::reportingFailure(
        QStringLiteral(" Error while deactivating layer list form. Error "
                       "Source:frmShowLayersDialog.Form_Deactivate()"),
        [&] {
            if (frmMain* form = frmMain::instance()) form->UpdateInterface();
        });
}

void frmShowLayersDialog::OKButton_Click() {
    md_functions::reportingFailure(
        QStringLiteral(" Error while accepting new set of layer list. Error "
                       "Source:frmShowLayersDialog.OKButton_Click()"),
        [&] {
            frmMain* form = frmMain::instance();
            if (!form) throw std::logic_error("no main window");
            resultsDrawn = false;
            engine::Map& map = *form->Map1;
            for (size_t i = 0; i < chkShowLayers.size(); ++i) {
                QCheckBox* box = chkShowLayers[i];
                if (!box->isVisibleTo(this) || int(i) >= map.layerCount()) continue;
                map.layer(int(i))->visible = box->checkState() != Qt::Unchecked;
            }
            map.refresh();
            hide();
        });
}

void frmShowLayersDialog::CancelButton_Click() {
    md_functions::reportingFailure(
        QStringLiteral(" Error while cancelling the layer list form. Error "
                       "Source:frmShowLayersDialog.CancelButton_Click()"),
        [&] { hide(); });
}
