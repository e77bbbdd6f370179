// The main window's right-hand column, top to bottom: the query list, the start-up picture (in
// its place after the first query, the parameter panel or the legend panel), the status label,
// the buttons and the visible-layers line. The column keeps its width from one query panel to
// the next, and the buttons stay where the user last pressed them.
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "shell/artwork.h"
#include "shell/frmMain.h"

namespace {

// Lines of text the visible-layers line has room for.
constexpr int kLayerLines = 2;

// A scroll area exactly `lines` lines of its label tall.
class LinesArea : public QScrollArea {
  public:
    LinesArea(QLabel* label, int lines) : label_(label), lines_(lines) {
        setWidget(label);
        setWidgetResizable(true);
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    QSize sizeHint() const override { return {QScrollArea::sizeHint().width(), height_()}; }
    QSize minimumSizeHint() const override { return {40, height_()}; }

  private:
    int height_() const {
        return lines_ * label_->fontMetrics().lineSpacing() + 2 * frameWidth();
    }
    QLabel* label_;
    int lines_;
};

}  // namespace

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

    // The start-up picture and the panels that replace it take turns in the room that grows;
    // the panels keep theirs while the picture is shown, so the first query widens nothing.
    auto* stack = new QGridLayout;
    fraStartUpImage = new shell::LandscapePicture(QStringLiteral("Pallix"), column);
    fraStartUpImage->setMinimumSize(160, 120);
    fraStartUpImage->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    stack->addWidget(fraStartUpImage, 0, 0);
    QWidget* panels = createEditLegend(column);
    QSizePolicy panelsPolicy = panels->sizePolicy();
    panelsPolicy.setRetainSizeWhenHidden(true);
    panels->setSizePolicy(panelsPolicy);
    stack->addWidget(panels, 0, 0);
    layout->addLayout(stack, 1);

    // The status label stands over the buttons: coming and going it only takes room from the
    // panel above it, and the buttons stay where the user last pressed them.
    lblWorking = new QLabel(QStringLiteral("Creating Map..."), column);
    lblWorking->setWordWrap(true);
    lblWorking->setVisible(false);
    layout->addWidget(lblWorking);

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


    lblLayersCaption = new QLabel(QStringLiteral("Layers currently displayed"), column);
    lblLayersCaption->setFont(bold);
    lblLayersCurrentlyDisplayed = new QLabel;
    lblLayersCurrentlyDisplayed->setWordWrap(true);
    lblLayersCurrentlyDisplayed->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(lblLayersCaption);
    // A long list scrolls in its room rather than pushing the buttons up.
    layout->addWidget(new LinesArea(lblLayersCurrentlyDisplayed, kLayerLines));
    return column;
}
