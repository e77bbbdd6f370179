#include "info/frmInfo.h"

#include <QBoxLayout>
#include <QEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

#include "dataset/dataset_loading.h"
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
    show();
    raise();
    activateWindow();
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
    if (!text.isEmpty()) text += kCrLf + kCrLf;

    // Points and lines are found near the click, within a share of the visible width.
    const float tolerance = float(map.extent().width() / 300);

    // In drawing order, bottom layer first: the wind grid is reported before the roads over it.
    for (int i = map.layerCount() - 1; i >= 0; --i) {
        const engine::MapLayer& layer = *map.layer(i);
        if (!layer.visible ||
            layer.tag.toUpper() == QStringLiteral("39_countryboundary.shp").toUpper())
            continue;
        const double distance = layer.shapeType() == engine::moShapeTypePolygon ? 0 : tolerance;
        engine::Recordset rs = layer.searchByDistance(point, distance, QString());
        if (rs.eof()) continue;

        bSortFields = false;
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
