#include "print/frmPrint.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <stdexcept>

#include "dataset/dataset_loading.h"
#include "dataset/symbology.h"
#include "mapview/legend.h"
#include "mapview/map.h"
#include "print/aspect_box.h"
#include "print/legend_images.h"
#include "print/page_layout.h"
#include "print/page_pictures.h"
#include "print/picture_box.h"
#include "print/print_preview.h"
#include "print/scale_bar_view.h"
#include "feedback/dialog_service.h"
#include "feedback/error_report.h"
#include "shell/frmMain.h"
#include "shell/window_registry.h"

namespace {

constexpr double kTwipsPerInch = 1440;
// The designed height of a legend picture, twips: the legends' height on the page grows with it.
constexpr int kPictureHeight = 4000;

const QString kLegendCaption = QStringLiteral("ANNUAL AVERAGE SOLAR RESOURCES (KWH/M2/DAY)");

void report(const QString& text) { md_functions::ErrorMessage(text, feedback::iconWarning); }

void whiteBackground(QWidget* widget) {
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    widget->setPalette(palette);
}

engine::Map* hiddenMap(QWidget* parent) {
    auto* map = new engine::Map(parent);
    map->hide();
    return map;
}

}  // namespace

// The heading field on top, the print map in the shape it has on the page taking the room, the
// scale bar under it and the three legends side by side below; the buttons on the right.
frmPrint::frmPrint(frmMain& owner) : QWidget(&owner, Qt::Window), main_(owner) {
    setWindowTitle(QStringLiteral("Print Map"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* headingCaption = new QLabel(QStringLiteral("&Heading:"));
    pictHeadingEmbed = new QWidget;
    txtHeading = new QLineEdit;
    headingCaption->setBuddy(txtHeading);
    auto* headingLayout = new QHBoxLayout(pictHeadingEmbed);
    headingLayout->setContentsMargins(0, 0, 0, 0);
    headingLayout->addWidget(txtHeading);
    pictHeadFromClipboard = new QLabel(this);
    pictHeadFromClipboard->hide();

    Map2 = new engine::Map;
    connect(Map2, &engine::Map::beforeLayerDraw, this, &frmPrint::Map2_BeforeLayerDraw);
    // The print map ends its own redraw, so the next one draws the results again; its scale bar
    // follows its size and extent.
    connect(Map2, &engine::Map::afterTrackingLayerDraw, this, [this] {
        resultsDrawn = false;
        sbMapView->bar.mapExtent = Map2->extent();
        sbMapView->bar.pageExtent = QRectF(Map2->geometry());
        sbMapView->update();
    });
    const QRectF frame = print::kFrameRect;
    auto* mapBox = new print::AspectBox(Map2, frame.width() / frame.height());
    Map3 = hiddenMap(this);
    Map5 = hiddenMap(this);
    Map6 = hiddenMap(this);

    pictEmbedScalebar = new QWidget;
    whiteBackground(pictEmbedScalebar);
    sbMapView = new print::ScaleBarView;
    auto* scaleBarLayout = new QHBoxLayout(pictEmbedScalebar);
    scaleBarLayout->setContentsMargins(0, 0, 0, 0);
    scaleBarLayout->addWidget(sbMapView);
    pictScalebarFromClipboard = new QLabel(this);
    pictScalebarFromClipboard->hide();

    legend1 = new engine::Legend(this);
    legend3 = new engine::Legend(this);
    legend4 = new engine::Legend(this);
    for (engine::Legend* l : {legend1, legend3, legend4}) l->hide();
    Picture1 = new print::PictureBox;
    Picture4 = new print::PictureBox;
    Picture3 = new print::PictureBox;

    cmdPrint = new QPushButton(QStringLiteral("Print..."));
    connect(cmdPrint, &QPushButton::clicked, this, &frmPrint::cmdPrint_Click);
    Command2 = new QPushButton(QStringLiteral("Cancel"));
    connect(Command2, &QPushButton::clicked, this, &frmPrint::Command2_Click);

    auto* layout = new QGridLayout(this);
    auto* heading = new QHBoxLayout;
    heading->addWidget(headingCaption);
    heading->addWidget(pictHeadingEmbed, 1);
    layout->addLayout(heading, 0, 0);
    layout->addWidget(mapBox, 1, 0);
    layout->addWidget(pictEmbedScalebar, 2, 0);
    auto* legends = new QHBoxLayout;
    for (QLabel* picture : {Picture1, Picture4, Picture3}) {
        whiteBackground(picture);
        legends->addWidget(picture, 1);
    }
    layout->addLayout(legends, 3, 0);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdPrint);
    buttons->addWidget(Command2);
    buttons->addStretch(1);
    layout->addLayout(buttons, 0, 1, 4, 1);
    layout->setRowStretch(1, 3);
    layout->setRowStretch(3, 2);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &frmPrint::Command2_Click);

    // About 75 characters wide and a little taller, in the desktop's font, to begin with.
    resize(fontMetrics().averageCharWidth() * 75, fontMetrics().averageCharWidth() * 95);
    shell::registerWindow(this);
}

QString frmPrint::legendImagePath(int legendNumber) const {
    switch (legendNumber) {
    case 1: return legendPaths_[0];
    case 3: return legendPaths_[1];
    case 4: return legendPaths_[2];
    default: return {};
    }
}

void frmPrint::Form_Load() {
    try {
        bResourceLayerPlaced = false;
        const engine::Map& mainMap = *main_.Map1;
        for (int i = mainMap.layerCount() - 1; i >= 0; --i) {
            const engine::MapLayer& source = *mainMap.layer(i);
            // The copies share the main map's dataset in memory: the same data, not read again.
            auto layer = std::make_shared<engine::MapLayer>(source.geoDataset());
            layer->tag = source.tag;
            md_functions::SetLayerProperties(*layer, layer->tag, QString());
            Map2->addLayer(layer);
            layer->visible = source.visible;
            addLayersToOtherMaps(layer->tag, source.geoDataset());
        }
        Map2->setExtent(mainMap.extent());
        setupScalebar();
        saveAndShowLegends();
    } catch (...) {
        report(QStringLiteral(" Error in Form_Load function. Error Source:frmPrint.Form_Load()"));
    }
}

void frmPrint::addLayersToOtherMaps(const QString& layerName,
                                    const std::shared_ptr<engine::GeoDataset>& dataset) {
    static const QStringList terrain{"01_elevation.shp", "02_landuse.shp"};
    static const QStringList solar{"11_solar_direct.shp", "12_solar_tilt.shp",
                                   "13_solar_direct.shp", "14_solar_glo.shp",
                                   "15_solar_direct.shp", "15_solar_glo.shp",
                                   "16_solar_tilt.shp",  "17_solar_direct.shp",
                                   "18_solar_tilt.shp"};
    static const QStringList base{"30_lakes.shp",          "31_protectedarea.shp",
                                  "36_subcountrybnd3.shp", "37_subcountrybnd2.shp",
                                  "38_subcountrybnd1.shp", "39_countryboundary.shp",
                                  "40_rivers.shp",         "42_railroad.shp",
                                  "43_roads.shp",          "44_transmissionline.shp",
                                  "50_protectedarea.shp",  "51_powerplant.shp",
                                  "52_facilities.shp",     "53_airports.shp",
                                  "59_cities.shp"};
    try {
        auto layer = std::make_shared<engine::MapLayer>(dataset);
        layer->tag = layerName;
        md_functions::SetLayerProperties(*layer, layerName, kLegendCaption);

        engine::Map* destination = nullptr;
        if (terrain.contains(layerName)) {
            destination = Map5;
        } else if (solar.contains(layerName)) {
            if (!bResourceLayerPlaced) destination = Map6;  // one solar layer at most
            bResourceLayerPlaced = true;
        } else if (layerName == QLatin1String("20_wind.shp")) {
            destination = Map6;
            bResourceLayerPlaced = true;
        } else if (base.contains(layerName)) {
            destination = Map3;
        }
        if (!destination) return;
        // A legend lists what the page shows: each copy is shown as its layer is.
        const int source = md_functions::LayerIndexByFile(layerName);
        layer->visible = source >= 0 && source < main_.Map1->layerCount()
                             ? main_.Map1->layer(source)->visible
                             : main_.Map1->layer(0)->visible;
        destination->addLayer(layer);
    } catch (...) {
        report(QStringLiteral(
            " Error in addLayersToOtherMaps function. Error Source:frmPrint.addLayersToOtherMaps()"));
    }
}

void frmPrint::setupScalebar() {
    try {
        engine::ScaleBar& bar = sbMapView->bar;
        bar.mapExtent = Map2->extent();
        bar.pageExtent = QRectF(Map2->geometry());
        bar.showBackground = true;
        bar.backColor = QColor(255, 255, 255);
        bar.barColor1 = QColor(128, 128, 128);
        bar.barColor2 = QColor(192, 192, 255);
        bar.style = 3;
        bar.font = QFont(QStringLiteral("Arial Narrow"), 8);  // another face when it is missing
        bar.mapUnits = print::mapUnitsOf(*main_.Map1);
        bar.barWidthRatio = 0.6;
        bar.scaleBarUnits = 3;
        sbMapView->updateGeometry();  // its height follows the bar's font
        sbMapView->update();
    } catch (...) {
        report(QStringLiteral(" Error in setUpScalebar function. Error Source:frmPrint.setupScalebar()"));
    }
}

void frmPrint::saveAndShowLegends() {
    const struct {
        engine::Legend* legend;
        engine::Map* map;
        const char* file;
        QLabel* picture;
    } legends[] = {{legend1, Map3, "LegendBmp1.bmp", Picture1},
                   {legend3, Map5, "LegendBmp3.bmp", Picture3},
                   {legend4, Map6, "LegendBmp4.bmp", Picture4}};
    for (const auto& l : legends) {
        l.legend->setPrintStyle(true);
        l.legend->setMapSource(l.map);
        l.legend->loadLegend(true);
    }
    for (int k = 0; k < 3; ++k) {
        const auto& l = legends[k];
        legendPaths_[k] = print::saveLegendImage(*l.legend, QString::fromLatin1(l.file));
        if (legendPaths_[k].isEmpty())
            throw std::runtime_error("legend image not written");
        l.picture->setPixmap(QPixmap::fromImage(QImage(legendPaths_[k])));
    }
}

void frmPrint::Map2_BeforeLayerDraw() {
    try {
        if (resultsDrawn) return;
        if (main_.hooks.drawQueryResults) main_.hooks.drawQueryResults(*Map2);
        resultsDrawn = true;
    } catch (...) {
        report(QStringLiteral(
            " Error in Map2_BeforeLayerDraw function. Error Source:frmPrint.Map2_BeforeLayerDraw()"));
    }
}

void frmPrint::cmdPrint_Click() {
    try {
        const engine::Rectangle extent = Map2->extent();
        const QRectF mapImage = print::mapImageRect(extent.width(), extent.height());
        pictScalebarFromClipboard->setPixmap(print::scaleBarPicture(sbMapView->bar, mapImage));
        pictHeadFromClipboard->setPixmap(
            print::headingPicture(txtHeading->text(), txtHeading->font()));

        QPrinter printer(QPrinter::HighResolution);
        print::previewAndPrint(printer, this, [this](QPrinter& target) { printPage(target); });
        update();
    } catch (...) {
        report(QStringLiteral(
            " Error in cmdPrint_Click function. Error Source:frmPrint. cmdPrint_Click()"));
    }
}

void frmPrint::printPage(QPrinter& printer) {
    try {
        QPainter painter;
        if (!painter.begin(&printer)) throw std::runtime_error("the printer cannot start");
        print::PagePictures pictures;
        pictures.heading = pictHeadFromClipboard->pixmap();
        pictures.scaleBar = pictScalebarFromClipboard->pixmap();
        pictures.legend1 = QImage(legendPaths_[0]);
        pictures.legend3 = QImage(legendPaths_[1]);
        pictures.legend4 = QImage(legendPaths_[2]);
        pictures.h = ConvTwips2Pix(*this, kPictureHeight, 1);
        print::composePage(painter, *Map2, pictures);
        painter.end();
    } catch (...) {
        report(QStringLiteral(" Error in cmdPrint_Click function. Error Source:frmPrint. cmdPrint_Click()"));
    }
}

void frmPrint::Command2_Click() { close(); }

int frmPrint::ConvTwips2Pix(const QPaintDevice& device, double twips, int axis) {
    switch (axis) {
        case 0:
            return qint16(qRound(twips * device.logicalDpiX() / kTwipsPerInch));
        case 1:
            return qint16(qRound(twips * device.logicalDpiY() / kTwipsPerInch));
        default:
            return -1;
    }
}
