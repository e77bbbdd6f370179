#pragma once
// The "Print Map" window: a copy of the main map with legends by layer group, a heading and a
// scale bar, printed as one page.

#include <QString>
#include <QWidget>
#include <memory>

#include "engine/geo_dataset.h"

class QLabel;
class QLineEdit;
class QPaintDevice;
class QPrinter;
class QPushButton;
class frmMain;

namespace engine {
class Legend;
class Map;
}  // namespace engine

namespace print {
class ScaleBarView;
}

class frmPrint : public QWidget {
    Q_OBJECT
public:
    explicit frmPrint(frmMain& owner);

    engine::Map* Map2 = nullptr;  // the print map
    engine::Map* Map3 = nullptr;  // hidden legend maps: base and infrastructure layers,
    engine::Map* Map5 = nullptr;  // elevation and land use,
    engine::Map* Map6 = nullptr;  // the resource layer
    engine::Legend* legend1 = nullptr;
    engine::Legend* legend3 = nullptr;
    engine::Legend* legend4 = nullptr;
    QLabel* Picture1 = nullptr;  // the legend pictures, each shown fitted to its box
    QLabel* Picture3 = nullptr;
    QLabel* Picture4 = nullptr;
    QWidget* pictHeadingEmbed = nullptr;
    QLineEdit* txtHeading = nullptr;
    QLabel* pictHeadFromClipboard = nullptr;
    QWidget* pictEmbedScalebar = nullptr;
    print::ScaleBarView* sbMapView = nullptr;
    QLabel* pictScalebarFromClipboard = nullptr;
    QPushButton* cmdPrint = nullptr;  // "Print...": the print preview, then the printer
    QPushButton* Command2 = nullptr;  // "Cancel"

    // Where the legend images were written (the program's directory, or the cache directory).
    QString legendImagePath(int legendNumber) const;

    void Form_Load();
    void cmdPrint_Click();
    void Command2_Click();
    void Map2_BeforeLayerDraw();
    void addLayersToOtherMaps(const QString& layerName,
                              const std::shared_ptr<engine::GeoDataset>& dataset);
    void setupScalebar();
    // A measure in twips in pixels of the device: axis 0 horizontal, 1 vertical, else -1.
    static int ConvTwips2Pix(const QPaintDevice& device, double twips, int axis);

private:
    void saveAndShowLegends();
    // Draws the page on the printer; a printer that cannot start is reported.
    void printPage(QPrinter& printer);

    frmMain& main_;
    bool bResourceLayerPlaced = false;
    QString legendPaths_[3];  // LegendBmp1, LegendBmp3, LegendBmp4
};
