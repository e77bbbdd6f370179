// The main window's panel switch ("Edit Map" / "Show Map legend") with the parameter panel and
// the legend panel it switches between, and the visible-layers line.
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "feedback/error_report.h"
#include "shell/frmMain.h"

using md_functions::ErrorMessage;

QWidget* frmMain::createEditLegend(QWidget* column) {
    fraEditLegend = new QWidget(column);
    auto* editLegend = new QVBoxLayout(fraEditLegend);
    editLegend->setContentsMargins(0, 0, 0, 0);
    auto* switchRow = new QHBoxLayout;
    auto* panels = new QButtonGroup(this);
    const char* panelCaptions[2] = {"Edit Map", "Show Map legend"};
    for (int i = 0; i < 2; ++i) {
        optEditLegend[i] = new QRadioButton(QString::fromLatin1(panelCaptions[i]), fraEditLegend);
        panels->addButton(optEditLegend[i], i);
        switchRow->addWidget(optEditLegend[i]);
        connect(optEditLegend[i], &QRadioButton::clicked, this,
                [this, i] { optEditLegend_Click(i); });
    }
    optEditLegend[0]->setChecked(true);
    switchRow->addStretch(1);
    editLegend->addLayout(switchRow);

    // The two panels take turns in one place, which takes the room the column gains.
    auto* stack = new QGridLayout;
    fraEdit = new QGroupBox(fraEditLegend);
    fraEdit->setFlat(true);
    auto* editLayout = new QVBoxLayout(fraEdit);
    editLayout->setContentsMargins(0, 0, 0, 0);
    editLayout->addWidget(createQueryPanel(fraEdit));
    stack->addWidget(fraEdit, 0, 0);

    fraLegend = new QGroupBox(fraEditLegend);
    auto* legendLayout = new QVBoxLayout(fraLegend);
    legendLayout->setContentsMargins(2, 2, 2, 2);
    auto* legendScroll = new QScrollArea(fraLegend);
    legendScroll->setWidgetResizable(true);
    legendScroll->setFrameShape(QFrame::NoFrame);
    legend = new engine::Legend;
    legendScroll->setWidget(legend);
    legendLayout->addWidget(legendScroll);
    fraLegend->setVisible(false);
    stack->addWidget(fraLegend, 0, 0);
    // The parameter panel keeps its room behind the legend, so the column keeps its width as
    // the user switches. The legend scrolls instead of widening the column for long names.
    QSizePolicy editPolicy = fraEdit->sizePolicy();
    editPolicy.setRetainSizeWhenHidden(true);
    fraEdit->setSizePolicy(editPolicy);
    editLegend->addLayout(stack, 1);
    fraEditLegend->setVisible(false);
    connect(legend, &engine::Legend::afterSetLayerVisible, this,
            [this](int, bool) { legend_AfterSetLayerVisible(); });
    return fraEditLegend;
}

void frmMain::EditOrLegend(int index) {
    md_functions::reportingFailure(
        QStringLiteral(" Error while selecting edit map/legend option. Error "
                       "Source:frMain.EditOrLegend()"),
        [&] {
            fraEdit->setVisible(index == 0);
            fraLegend->setVisible(index == 1);
        });
}

void frmMain::optEditLegend_Click(int index) {
    md_functions::reportingFailure(
        QStringLiteral(" Error while selecting edit map/legend option. Error "
                       "Source:frmMain.optEditLegend_Click()"),
        [&] {
            if (bStartUpImageShown) return;
            EditOrLegend(index);
        });
}

void frmMain::legend_AfterSetLayerVisible() {
    md_functions::reportingFailure(
        QStringLiteral(" Error while changing the layer visibility from legend panel. "
                       "Error Source:frmMain.legend_AfterSetLayerVisible()"),
        [&] {
            resultsDrawn = false;
            Map1->refresh();
        });
}

void frmMain::Fill_lblLayersCurrentlyDisplayed() {
    md_functions::reportingFailure(
        QStringLiteral(" Error while filling Layer list label. Error "
                       "Source:frmMain.Fill_lblLayersCurrentlyDisplayed()"),
        [&] {
            if (Map1->layerCount() == 0) {
                lblLayersCurrentlyDisplayed->setText(QStringLiteral("- No layers found -"));
                return;
            }
            QString text;
            for (int i = 0; i < Map1->layerCount(); ++i) {
                const auto& layer = Map1->layer(i);
                if (layer->visible) text += layer->name + QStringLiteral("; ");
            }
            lblLayersCurrentlyDisplayed->setText(text);
        });
}
