// The main window's right-hand column, top to bottom: the query list, the start-up picture (in
// its place after the first query, the parameter panel or the legend panel), the buttons, the
// status label and the visible-layers line.
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/artwork.h"
#include "shell/frmMain.h"

QWidget* frmMain::createColumn() {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);

    lblSelectQuery = new QLabel(QStringLiteral("Select Query:"), column);
    cboSelectQuery = new QComboBox(column);
    cboSelectQuery->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lblSelectQuery->setBuddy(cboSelectQuery);
    needsDataset(cboSelectQuery, QStringLiteral("The siting question to answer on the map"));
    layout->addWidget(lblSelectQuery);
    layout->addWidget(cboSelectQuery);

    // The start-up picture and the panels that replace it share the room that grows.
    fraStartUpImage = new shell::LandscapePicture(QStringLiteral("Pallix"), column);
    fraStartUpImage->setMinimumSize(160, 120);
    fraStartUpImage->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(fraStartUpImage, 1);
    layout->addWidget(createEditLegend(column), 1);

    auto* buttonRow = new QHBoxLayout;
    cmdChangeLayers = new QPushButton(QStringLiteral("Change Layers..."), column);
    cmdShowData = new QPushButton(QStringLiteral("Results Table"), column);
    cmdChangeLayers->setToolTip(QStringLiteral("Choose which layers the map shows"));
    cmdShowData->setToolTip(QStringLiteral("The areas of the last query by class"));
    cmdShowData->setVisible(false);
    buttonRow->addWidget(cmdChangeLayers);
    buttonRow->addWidget(cmdShowData);
    layout->addLayout(buttonRow);
    connect(cmdChangeLayers, &QPushButton::clicked, this, &frmMain::cmdChangeLayers_Click);

    cmdUpdateMap = new QPushButton(QStringLiteral("Update Map"), column);
    // Only the weight is set, so the size still follows the desktop's font.
    QFont bold;
    bold.setBold(true);
    cmdUpdateMap->setFont(bold);
    layout->addWidget(cmdUpdateMap);
    needsDataset(cmdUpdateMap,
                 QStringLiteral("Run the chosen query and draw its areas on the map"));

    lblWorking = new QLabel(QStringLiteral("Creating Map..."), column);
    lblWorking->setWordWrap(true);
    lblWorking->setVisible(false);
    layout->addWidget(lblWorking);

    lblLayersCaption = new QLabel(QStringLiteral("Layers currently displayed"), column);
    lblLayersCaption->setFont(bold);
    lblLayersCurrentlyDisplayed = new QLabel(column);
    lblLayersCurrentlyDisplayed->setWordWrap(true);
    lblLayersCurrentlyDisplayed->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(lblLayersCaption);
    layout->addWidget(lblLayersCurrentlyDisplayed);
    return column;
}
