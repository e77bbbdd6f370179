#include "print/frmPrint.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <stdexcept>

#include "dataset/symbology.h"
#include "engine/legend.h"
#include "engine/map.h"
#include "print/legend_images.h"
#include "print/page_layout.h"
#include "print/printer_choice.h"
#include "print/scale_bar_view.h"
#include "shell/dialog_service.h"
#include "shell/error_report.h"
#include "shell/frmMain.h"
#include "shell/twips.h"
#include "shell/window_registry.h"

namespace {

// Window layout, twips. The print map has the shape its image takes on the page (inside the
// frame), the scale bar box is as wide as the map so its bar measures the printed map, and the
// heading box has the shape of the heading on the page.
constexpr int kClientWidth = 9000, kClientHeight = 11175;
constexpr int kHeadingBox[] = {120, 120, 7200, 360};
constexpr int kMapBox[] = {120, 600, 7200, 5670};
constexpr int kScaleBarBox[] = {120, 6390, 7200, 540};
// The bar keeps to the upper part of its box: the legends overlap the box's lower part on the page.
constexpr int kScaleBarHeight = 360;
constexpr int kPictureTop = 7050, kPictureWidth = 2400, kPictureHeight = 4000;
constexpr int kPicture1Left = 120, kPicture4Left = 2640, kPicture3Left = 5160;
constexpr int kPrintButton[] = {7500, 120, 1320, 375};
constexpr int kCancelButton[] = {7500, 600, 1320, 375};

const QString kLegendCaption = QStringLiteral("ANNUAL AVERAGE SOLAR RESOURCES (KWH/M2/DAY)");

// Pictures grabbed from the window are taken at this multiple of the screen resolution, so the
// printed heading and scale bar stay sharp.
constexpr double kGrabScale = 4;

QRect box(const int (&b)[4]) { return shell::twipsRect(b[0], b[1], b[2], b[3]); }

void report(const QString& text) { md_functions::ErrorMessage(text, shell::iconWarning); }

QPixmap grabSharp(QWidget* widget) {
    QPixmap pixmap(widget->size() * kGrabScale);
    pixmap.setDevicePixelRatio(kGrabScale);
    pixmap.fill(Qt::white);
    widget->render(&pixmap);
    return pixmap;
}

void whiteBackground(QWidget* widget) {
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    widget->setPalette(palette);
}

QLabel* pictureBox(QWidget* parent, int left) {
    auto* label = new QLabel(parent);
    label->setGeometry(shell::twipsRect(left, kPictureTop, kPictureWidth, kPictureHeight));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    whiteBackground(label);
    return label;
}

engine::Map* hiddenMap(QWidget* parent) {
    auto* map = new engine::Map(parent);
    map->hide();
    return map;
}

}  // namespace

frmPrint::frmPrint(frmMain& owner) : QWidget(&owner, Qt::Window), main_(owner) {
    setWindowTitle(QStringLiteral("Print Map"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(shell::twipsToPixels(kClientWidth), shell::twipsToPixels(kClientHeight));

    pictHeadingEmbed = new QWidget(this);
    pictHeadingEmbed->setGeometry(box(kHeadingBox));
    txtHeading = new QLineEdit(pictHeadingEmbed);
    txtHeading->setGeometry(pictHeadingEmbed->rect());
    txtHeading->setFrame(false);
    pictHeadFromClipboard = new QLabel(this);
    pictHeadFromClipboard->hide();

    Map2 = new engine::Map(this);
    Map2->setGeometry(box(kMapBox));
    connect(Map2, &engine::Map::beforeLayerDraw, this, &frmPrint::Map2_BeforeLayerDraw);
    // The print map ends its own redraw, so the next one draws the results again.
    connect(Map2, &engine::Map::afterTrackingLayerDraw, this, [] { resultsDrawn = false; });
    Map3 = hiddenMap(this);
    Map5 = hiddenMap(this);
    Map6 = hiddenMap(this);

    pictEmbedScalebar = new QWidget(this);
    whiteBackground(pictEmbedScalebar);
    pictEmbedScalebar->setGeometry(box(kScaleBarBox));
    sbMapView = new print::ScaleBarView(pictEmbedScalebar);
    sbMapView->setGeometry(0, 0, pictEmbedScalebar->width(), shell::twipsToPixels(kScaleBarHeight));
    pictScalebarFromClipboard = new QLabel(this);
    pictScalebarFromClipboard->hide();

    legend1 = new engine::Legend(this);
    legend3 = new engine::Legend(this);
    legend4 = new engine::Legend(this);
    for (engine::Legend* l : {legend1, legend3, legend4}) l->hide();
    Picture1 = pictureBox(this, kPicture1Left);
    Picture4 = pictureBox(this, kPicture4Left);
    Picture3 = pictureBox(this, kPicture3Left);

    cmdPrint = new QPushButton(QStringLiteral("Print"), this);
    cmdPrint->setGeometry(box(kPrintButton));
    connect(cmdPrint, &QPushButton::clicked, this, &frmPrint::cmdPrint_Click);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setGeometry(box(kCancelButton));
    connect(Command2, &QPushButton::clicked, this, &frmPrint::Command2_Click);

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
        // Every legend copy follows the main map's first layer.
        layer->visible = main_.Map1->layer(0)->visible;
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
        l.legend->setMapSource(l.map);
        l.legend->loadLegend(true);
    }
    for (int k = 0; k < 3; ++k) {
        const auto& l = legends[k];
        legendPaths_[k] = print::saveLegendImage(*l.legend, QString::fromLatin1(l.file));
        if (legendPaths_[k].isEmpty())
            throw std::runtime_error("legend image not written");
        const QImage image(legendPaths_[k]);
        const QRectF shown = print::fitTopLeft(QSizeF(image.size()), QRectF(l.picture->rect()));
        l.picture->setPixmap(QPixmap::fromImage(
            image.scaled(shown.size().toSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
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
        pictScalebarFromClipboard->setPixmap(grabSharp(pictEmbedScalebar));
        txtHeading->clearFocus();  // the heading prints without its text cursor
        pictHeadFromClipboard->setPixmap(grabSharp(pictHeadingEmbed));

        QPrinter printer(QPrinter::HighResolution);
        if (!print::choosePrinter(printer, this)) return;
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
        update();
    } catch (...) {
        report(QStringLiteral(" Error in cmdPrint_Click function. Error Source:frmPrint. cmdPrint_Click()"));
    }
}

void frmPrint::Command2_Click() { close(); }

int frmPrint::ConvTwips2Pix(const QPaintDevice& device, double twips, int axis) {
    switch (axis) {
    case 0: return qint16(qRound(twips * device.logicalDpiX() / shell::kTwipsPerInch));
    case 1: return qint16(qRound(twips * device.logicalDpiY() / shell::kTwipsPerInch));
    default: return -1;
    }
}
