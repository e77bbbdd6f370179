#include "info/frmInfo.h"

#include <QBoxLayout>
#include <QEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QToolBar>
#include <optional>

#include "dataset/dataset_loading.h"
#include "engine/projection.h"
#include "info/info_fields.h"
#include "mapview/map.h"
#include "feedback/dialog_service.h"
#include "feedback/error_report.h"
#include "shell/frmMain.h"
#include "shell/window_registry.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString valueText(const QVariant& v) { return v.isNull() ? QString() : v.toString(); }

engine::MapLayer& layerOf(const engine::Map& map, const QString& fileName) {
    return *map.layer(md_functions::LayerIndexByFile(fileName));
}

}  // namespace

frmInfo::frmInfo(frmMain& owner) : QWidget(&owner, Qt::Window), main_(owner) {
    setWindowTitle(QStringLiteral("Map Information"));

    // The report fills the window and can be read, selected and copied, not typed into; OK
    // stands below it on the right.
    txtInfo = new QPlainTextEdit;
    txtInfo->setObjectName(QStringLiteral("txtInfo"));
    txtInfo->setReadOnly(true);
    txtInfo->setLineWrapMode(QPlainTextEdit::NoWrap);  // scroll bars both ways
    txtInfo->setPlainText(QStringLiteral("Information from all layers"));

    OKButton = new QPushButton(QStringLiteral("OK"));
    OKButton->setObjectName(QStringLiteral("OKButton"));
    connect(OKButton, &QPushButton::clicked, this, &frmInfo::OKButton_Click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtInfo, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    layout->addLayout(buttons);

    // Escape answers as OK does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &frmInfo::OKButton_Click);

    // About 60 characters by 36 lines of the desktop's font to begin with.
    resize(fontMetrics().averageCharWidth() * 60, fontMetrics().lineSpacing() * 36);
    shell::registerWindow(this);
}

void frmInfo::showReport() {
    // The window system may refuse to activate the window, so the click builds the report
    // itself; the activation that normally follows need not build it again.
    Form_Activate();
    builtForClick_ = true;
    if (!isVisible()) placeBesideTools();
    show();
    raise();
    activateWindow();
}

// Over the right of the main window, below its tool strip, so that the next click on a tool
// reaches the tool; always on the screen.
void frmInfo::placeBesideTools() {
    QRect area = main_.screen() ? main_.screen()->availableGeometry() : QRect();
    const QRect strip(main_.Toolbar1->mapToGlobal(QPoint()), main_.Toolbar1->size());
    const QSize frame = frameGeometry().size().expandedTo(size());
    QPoint at(main_.frameGeometry().right() - frame.width(), strip.bottom() + 8);
    if (!area.isEmpty()) {
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - frame.width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - frame.height())));
        // A short screen: the window gives up height rather than covering the strip.
        if (at.y() <= strip.bottom()) {
            at.setY(strip.bottom() + 8);
            resize(width(), std::max(minimumSizeHint().height(), area.bottom() - at.y() - 40));
        }
    }
    move(at);
}

bool frmInfo::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        if (builtForClick_)
            builtForClick_ = false;
        else
            Form_Activate();  // returning to the window rebuilds from the last click
    } else if (e->type() == QEvent::WindowDeactivate || e->type() == QEvent::Hide) {
        builtForClick_ = false;
    }
    return QWidget::event(e);
}

void frmInfo::Form_Activate() {
    try {
        report_ = buildReport();
        txtInfo->setPlainText(report_);
    } catch (...) {
        md_functions::ErrorMessage(
            QStringLiteral("Error while Trying to activate Info Form. Error Source:frmInfo.Form_Activate()"),
            feedback::iconWarning);
    }
}

QString frmInfo::emptyPointText(const engine::Map& map, const engine::Shape& point) const {
    const int index = md_functions::isLayerExist(QStringLiteral("39_countryboundary.shp"))
                          ? md_functions::LayerIndexByFile(QStringLiteral("39_countryboundary.shp"))
                          : -1;
    if (index >= 0 && map.layer(index)->visible) {
        const engine::MapLayer& country = *map.layer(index);
        engine::Recordset rs = country.searchByDistance(point, 0, QString());
        if (!rs.eof()) {
            QString text = country.name + kCrLf;
            for (int f = 0; f < rs.fieldCount(); ++f)
                if (rs.fieldName(f).toUpper() != QStringLiteral("SHAPE"))
                    text += rs.fieldName(f) + QStringLiteral(": ") + valueText(rs.value(f)) + kCrLf;
            return text + kCrLf;
        }
    }
    return QStringLiteral("No shown layer has a feature at this point.") + kCrLf;
}

QString frmInfo::buildReport() {
    const engine::Map& map = *main_.Map1;
    const engine::Point clicked = map.toMapPoint(main_.giX, main_.giY);
    const engine::Shape point = engine::Shape::point(clicked.x, clicked.y);
    QString text;

    if (md_functions::isLayerExist(QStringLiteral("14_solar_glo.shp"))) {
        engine::Recordset rs =
            layerOf(map, QStringLiteral("14_solar_glo.shp")).searchByDistance(point, 0);
        if (!rs.eof())
            text = QStringLiteral("Latitude: ") + valueText(rs.value(QStringLiteral("LAT"))) +
                   QStringLiteral(", ") + QStringLiteral("Longitude: ") +
                   valueText(rs.value(QStringLiteral("LON")));
    }
    if (md_functions::isLayerExist(QStringLiteral("01_elevation.shp"))) {
        engine::Recordset rs =
            layerOf(map, QStringLiteral("01_elevation.shp")).searchByDistance(point, 0);
        if (!rs.eof()) {
            if (!text.isEmpty()) text += QStringLiteral(", ");
            text += QStringLiteral("Elevation: ") + valueText(rs.value(QStringLiteral("ELEV_M")));
        }
    }
    // Without the solar grid's coordinates the point's own are given, from the map's system.
    const bool gridCoordinates = text.startsWith(QStringLiteral("Latitude: "));
    std::optional<engine::Point> degrees;
    if (!gridCoordinates) {
        for (int i = 0; i < map.layerCount() && !degrees; ++i)
            if (const auto& cs = map.layer(i)->coordinateSystem())
                degrees = engine::longitudeLatitude(*cs, clicked);
        if (degrees) {
            if (!text.isEmpty()) text += QStringLiteral(", ");
            text += QStringLiteral("Latitude: ") + QString::number(degrees->y, 'f', 4) +
                    QStringLiteral(", Longitude: ") + QString::number(degrees->x, 'f', 4);
        }
    }
    if (!text.isEmpty()) text += kCrLf + kCrLf;

    // Points and lines are found near the click, within a share of the visible width.
    const float tolerance = float(map.extent().width() / 300);

    // In drawing order, bottom layer first: the wind grid is reported before the roads over it.
    int blocks = 0;
    for (int i = map.layerCount() - 1; i >= 0; --i) {
        const engine::MapLayer& layer = *map.layer(i);
        if (!layer.visible ||
            layer.tag.toUpper() == QStringLiteral("39_countryboundary.shp").toUpper())
            continue;
        const double distance = layer.shapeType() == engine::moShapeTypePolygon ? 0 : tolerance;
        engine::Recordset rs = layer.searchByDistance(point, distance, QString());
        if (rs.eof()) continue;

        bSortFields = false;
        ++blocks;
        text += layer.name + kCrLf;
        for (; !rs.eof(); rs.moveNext()) {
            dictFieldValues.clear();
            for (int f = 0; f < rs.fieldCount(); ++f) {
                const QString name = rs.fieldName(f);
                const QString upper = name.toUpper();
                if (!isShowValue(layer.tag, upper)) continue;
                const QString value = valueText(rs.value(f));
                if (bSortFields) {
                    if (!dictFieldValues.contains(upper)) dictFieldValues.insert(upper, value.toUpper());
                } else {
                    text += name + QStringLiteral(": ") + value + kCrLf;
                }
            }
            if (bSortFields) text += sortBasedOnFieldNames(layer.tag);
            text += kCrLf;
            if (layer.tag == QStringLiteral("25_hydro.shp")) break;  // the first feature only
        }
    }
    // A click where no other shown layer has anything still says where it is: in which country,
    // or that nothing shown lies there.
    if (blocks == 0 && degrees) text += emptyPointText(map, point);
    return text;
}

bool frmInfo::isShowValue(const QString& layerFile, const QString& fieldNameUpper) {
    if (fieldNameUpper == QStringLiteral("SHAPE")) return false;
    const info::LayerFields& fields = info::fieldsOf(layerFile);
    if (fields.style == info::FieldStyle::None) return false;
    bSortFields = fields.style == info::FieldStyle::Ordered;
    return fields.names.contains(fieldNameUpper, Qt::CaseInsensitive);
}

QString frmInfo::sortBasedOnFieldNames(const QString& layerFile) const {
    const info::LayerFields& fields = info::fieldsOf(layerFile);
    if (fields.style != info::FieldStyle::Ordered) return {};
    return sortAndMakeOutputString(fields.names);
}

QString frmInfo::sortAndMakeOutputString(const QStringList& names) const {
    QString lines;
    for (const QString& name : names) {
        const QString key = name.toUpper();
        const auto it = dictFieldValues.constFind(key);
        if (it == dictFieldValues.constEnd()) continue;
        lines += key + QStringLiteral(" : ") + *it + info::unitSuffix(key) + kCrLf;
    }
    return lines;
}

void frmInfo::OKButton_Click() {
    txtInfo->clear();
    hide();
}
