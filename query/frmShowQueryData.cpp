#include "query/frmShowQueryData.h"

#include <QCloseEvent>

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "dataset/dataset_loading.h"
#include "engine/map.h"
#include "engine/projection.h"
#include "engine/renderer.h"
#include "query/number_text.h"
#include "query/query_catalogue.h"
#include "query/query_state.h"
#include "shell/dialog_service.h"
#include "shell/error_report.h"
#include "shell/frmMain.h"
#include "shell/twips.h"

namespace {

constexpr int kRowPitch = 360;  // twips between rows
constexpr int kTop = 120;

void colourSwatch(QFrame* swatch, engine::ColorNumber colour, int border) {
    swatch->setStyleSheet(QStringLiteral("background-color: %1; border: %2px solid black;")
                              .arg(engine::toQColor(colour).name())
                              .arg(border));
}

}  // namespace

frmShowQueryData::frmShowQueryData(frmMain& owner) : QWidget(&owner, Qt::Window), owner_(owner) {
    setObjectName("frmShowQueryData");
    setWindowTitle("Query Results");
    resize(shell::twipsToPixels(7100), shell::twipsToPixels(kTop * 2 + kRows * kRowPitch));
    for (int i = 0; i < kRows; ++i) {
        const int top = kTop + i * kRowPitch;
        shpLayerColor[i] = new QFrame(this);
        shpLayerColor[i]->setGeometry(shell::twipsRect(120, top, 255, 255));
        lblArea[i] = new QLabel(this);
        lblArea[i]->setGeometry(shell::twipsRect(480, top, 1800, 255));
        lblArea[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblDescription[i] = new QLabel(this);
        lblDescription[i]->setGeometry(shell::twipsRect(2400, top, 4560, 255));
        for (QWidget* w : {static_cast<QWidget*>(shpLayerColor[i]),
                           static_cast<QWidget*>(lblArea[i]),
                           static_cast<QWidget*>(lblDescription[i])})
            w->hide();
    }
}

frmShowQueryData& frmShowQueryData::of(frmMain& owner) {
    if (auto* existing = owner.findChild<frmShowQueryData*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new frmShowQueryData(owner);
}

bool frmShowQueryData::event(QEvent* e) {
    // Filled when shown and at every later activation. The activation that follows a show is
    // the same moment and is skipped (the window system may or may not report it), and the
    // message box of a fill must not start another fill.
    const bool shown = e->type() == QEvent::Show;
    if ((shown || e->type() == QEvent::WindowActivate) && !filling_) {
        if (!shown && justShown_) {
            justShown_ = false;
        } else {
            justShown_ = shown;
            filling_ = true;
            md_query_functions2::UpdateQueryDataForm(owner_, *this);
            filling_ = false;
        }
    }
    return QWidget::event(e);
}

void frmShowQueryData::closeEvent(QCloseEvent* e) {
    Form_Unload();
    QWidget::closeEvent(e);
}

void frmShowQueryData::Form_Unload() {
    try {
        for (int i = 0; i < kRows; ++i) {
            shpLayerColor[i]->hide();
            lblArea[i]->hide();
            lblDescription[i]->hide();
        }
        owner_.UpdateInterface();
    } catch (...) {
        md_functions::ErrorMessage(
            " Error while dunloading results table. Error Source:frmShowQueryData.Form_Unload()",
            48);
    }
}

namespace md_query_functions2 {

std::vector<std::pair<engine::ColorNumber, double>> ClassSummary() {
    const QueryState& state = queryState();
    std::vector<std::pair<engine::ColorNumber, double>> summary;
    engine::Rectangle extent;
    for (const engine::Shape& s : state.cShapes) extent.unite(s.extent());
    // Areas in km2; geographic results are measured in an equal-area projection.
    const engine::AreaMeasure measure(state.resultCoordinateSystem, extent);
    for (size_t k = 0; k < state.cShapes.size(); ++k) {
        try {
            const engine::ColorNumber c = state.cSymbols[k].color;
            const double a = measure.squareMetres(state.cShapes[k]) / 1e6;
            auto it = std::find_if(summary.begin(), summary.end(),
                                   [c](const auto& e) { return e.first == c; });
            if (it == summary.end())
                summary.emplace_back(c, a);
            else
                it->second += a;
        } catch (...) {
        }
    }
    return summary;
}

void UpdateQueryDataForm(frmMain& f, frmShowQueryData& form) {
    // Continue-on-error: a failing step is skipped without a message.
    const QueryState& state = queryState();
    std::vector<std::pair<engine::ColorNumber, double>> summary;
    try {
        summary = ClassSummary();
    } catch (...) {
    }
    if (int(summary.size()) > frmShowQueryData::kRows)
        shell::dialogs().messageBox("Form will not be able to show all values");
    const QString field = state.resultFieldName.trimmed().toUpper();
    const bool solar = field == "ANNDIR" || field == "ANNTILT" || field == "ANNGLO";
    for (int i = 0; i < int(summary.size()) && i < frmShowQueryData::kRows; ++i) {
        try {
            colourSwatch(form.shpLayerColor[i], summary[i].first, solar ? 2 : 1);
            form.shpLayerColor[i]->show();
            form.lblArea[i]->setText(QLocale().toString(summary[i].second, 'f', 2) + " sq km");
            form.lblArea[i]->show();
            form.lblDescription[i]->setText(CreateAreaDescription(f, summary[i].first));
            form.lblDescription[i]->show();
        } catch (...) {
        }
    }
}

QString CreateAreaDescription(frmMain& f, engine::ColorNumber colour) {
    QString description;
    try {
        const QString query = f.cboSelectQuery->currentText();
        const bool wind = md_functions::isWindQuery(query);
        if (!wind && query != "Best Solar X kWh/m2/day") return {};
        std::shared_ptr<engine::MapLayer> layer;
        if (wind) {
            if (!md_functions::isLayerExist("20_wind.shp")) return {};
            layer = f.Map1->layer(md_functions::LayerIndexByFile("20_wind.shp"));
        } else {
            layer = f.Map1->layerByName(f.cboQueryDropDown3->currentText());
        }
        if (!layer) return {};
        const auto breaks = std::dynamic_pointer_cast<engine::ClassBreaksRenderer>(layer->renderer);
        if (!breaks) return {};
        const int n = breaks->breakCount();
        int found = -1;
        for (int i = 0; i <= n && found < 0; ++i)
            if (breaks->symbol(i).color == colour) found = i;
        auto text = [&](int i) {
            return wind ? plainNumber(breaks->breakValue(i))
                        : QString::number(breaks->breakValue(i), 'f', 1);
        };
        const QString subject = wind ? "Wind Power Density" : "Solar Resource";
        if (found < 0)
            description = wind ? "Wind Power Density < 200" : QString();
        else if (found == 0)
            description = subject + " < " + text(0);
        else if (found == n)
            description = subject + " >= " + text(n - 1);
        else
            description = subject + " >= " + text(found - 1) + (wind ? " and < " : " < ") +
                          text(found);
    } catch (...) {
        md_functions::ErrorMessage(" Error Source:md_query_functions2.CreateAreaDescription()", 48);
    }
    return description;
}

}  // namespace md_query_functions2

namespace query {

void cmdShowData_Click(frmMain& f) {
    try {
        frmShowQueryData& form = frmShowQueryData::of(f);
        form.show();
        form.raise();
        form.activateWindow();
    } catch (...) {
        md_functions::ErrorMessage(
            " Error while trying to show results query. Error Source:frmMain.cmdShowData_Click()",
            48);
    }
}

}  // namespace query
