#include "query/query_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <cmath>
#include <memory>

#include "dataset/dataset_loading.h"
#include "engine/map.h"
#include "engine/renderer.h"
#include "engine/string_collection.h"
#include "query/number_text.h"
#include "query/query_catalogue.h"
#include "query/query_state.h"
#include "shell/error_report.h"
#include "shell/frmMain.h"
#include "shell/twips.h"

namespace md_functions {

namespace {

QHash<const QWidget*, QRect>& twips() {
    static QHash<const QWidget*, QRect> places;
    return places;
}

// Moves a control; a width or height of -1 keeps the one it has.
void place(frmMain& f, QWidget* c, int left, int top, int width = -1, int height = -1) {
    QRect& r = twips()[c];
    if (width < 0) width = r.width();
    if (height < 0) height = r.height();
    r = QRect(left, top, width, height);
    f.placeInPanel(c, left, top, width, height);
}

void show(frmMain& f, QWidget* c, int left, int top, int width = -1, int height = -1) {
    place(f, c, left, top, width, height);
    c->show();
}

void label(frmMain& f, int i, const QString& caption, int left, int top, int width) {
    f.lblQuery1[i]->setText(caption);
    show(f, f.lblQuery1[i], left, top, width);
}

void minMaxLabels(frmMain& f) {
    label(f, 0, "Min Wind Power Density:", 90, 240, 2805);
    label(f, 1, "Max Wind Power Density:", 90, 600, 2805);
}

void windDropDowns(frmMain& f) {
    show(f, f.cboQueryDropDown, 2000, 180, 900);
    show(f, f.cboQueryDropDown2, 2000, 540, 900);
}

void landUseList(frmMain& f) {
    show(f, f.lstQuery1, 90, 1890);
    label(f, 4, "Choose which land uses are suitable:", 90, 1680, 2805);
}

// "2" unless the box already holds a number.
void keepNumberOr2(QLineEdit* box) {
    if (!md_query_functions2::isNumber(box->text())) box->setText("2");
}

std::shared_ptr<engine::ClassBreaksRenderer> breaksOf(frmMain& f, int layerIndex) {
    return std::dynamic_pointer_cast<engine::ClassBreaksRenderer>(
        f.Map1->layer(layerIndex)->renderer);
}

}  // namespace

QRect PanelTwips(const QWidget* control) { return twips().value(control); }

void SetPanelFormState(frmMain& f) {
    const int labels[6][4] = {{600, 240, 2250, 255},  {570, 600, 2400, 255},
                              {570, 960, 2400, 255},  {570, 1320, 2400, 255},
                              {120, 1680, 2400, 255}, {1770, 1260, 1170, 465}};
    for (int i = 0; i < 6; ++i)
        place(f, f.lblQuery1[i], labels[i][0], labels[i][1], labels[i][2], labels[i][3]);
    place(f, f.txtQuery1[1], 90, 540, 500, 285);
    place(f, f.txtQuery1[2], 90, 900, 500, 285);
    place(f, f.cboQueryDropDown, 90, 540, 1365, shell::pixelsToTwips(f.cboQueryDropDown->height()));
    place(f, f.cboQueryDropDown2, 1620, 540, 1275,
          shell::pixelsToTwips(f.cboQueryDropDown2->height()));
    place(f, f.cboQueryDropDown3, 120, 1890, 2775,
          shell::pixelsToTwips(f.cboQueryDropDown3->height()));
    place(f, f.lstQuery1, 90, 1890, 2805, 840);
    place(f, f.chkProtectedAreas, 1500, 1275, 255, 255);
}

void SetQueryInputControls(frmMain& f) {
    try {
        f.txtQuery1[1]->hide();
        f.txtQuery1[2]->hide();
        for (QLabel* l : f.lblQuery1) {
            l->hide();
            const QRect r = PanelTwips(l);
            place(f, l, 570, r.top(), 2400);
        }
        f.lstQuery1->hide();
        f.chkProtectedAreas->hide();
        place(f, f.txtQuery1[1], 90, 540);
        place(f, f.txtQuery1[2], 90, 900);
        place(f, f.lblQuery1[1], 570, 600);
        place(f, f.lblQuery1[2], 570, 960);
        place(f, f.cboQueryDropDown, 90, 540, 2835);
        f.cboQueryDropDown->hide();
        f.cboQueryDropDown2->hide();
        f.cboQueryDropDown3->hide();

        const QString name = f.cboSelectQuery->currentText();
        if (name == "Wind by Power Density" || name == "Best wind - protected areas") {
            minMaxLabels(f);
            SetQueryListbox(f);
            windDropDowns(f);
        } else if (name == "Best wind + land use") {
            minMaxLabels(f);
            SetQueryListbox(f);
            windDropDowns(f);
            landUseList(f);
        } else if (name == "Best wind + roads" || name == "Best wind + transmission") {
            const bool roads = name == "Best wind + roads";
            minMaxLabels(f);
            SetQueryListbox(f);
            windDropDowns(f);
            show(f, f.txtQuery1[2], 90, 900);
            if (roads)
                f.txtQuery1[2]->setText("2");
            else
                keepNumberOr2(f.txtQuery1[2]);
            label(f, 2, roads ? " kM from roads" : " kM from transmission lines", 570, 960, 2400);
        } else if (name == "Best wind (all)") {
            label(f, 0, "Min Wind Power Density:", 90, 240, 2805);
            label(f, 3, "Max Wind Power Density:", 90, 600, 2805);
            show(f, f.txtQuery1[1], 90, 900);
            keepNumberOr2(f.txtQuery1[1]);
            label(f, 1, " kM from transmission lines", 570, 960, 2400);
            show(f, f.txtQuery1[2], 90, 1260);
            keepNumberOr2(f.txtQuery1[2]);
            label(f, 2, " kM from roads", 570, 1320, 2400);
            SetQueryListbox(f);
            windDropDowns(f);
            landUseList(f);
            f.lblQuery1[5]->setText("remove protected areas ");
            show(f, f.lblQuery1[5], 1770, 1260, 1170, 465);
            f.chkProtectedAreas->show();
        } else if (name == "Best Solar X kWh/m2/day") {
            label(f, 0, "Min Solar Resource", 90, 240, 2805);
            label(f, 1, "Max Solar Resource", 90, 600, 2805);
            SetQueryListbox(f);
            show(f, f.cboQueryDropDown, 2300, 180, 650);
            show(f, f.cboQueryDropDown2, 2300, 540, 650);
            show(f, f.cboQueryDropDown3, 120, 1890, 2775);
            label(f, 4, "Choose which solar resource:", 90, 1680, 2805);
        }
        f.UpdateInterface();
    } catch (...) {
        ErrorMessage(" Error Source:md_functions.SetQueryInputControls()", 48);
    }
}

void SetQueryListbox(frmMain& f) {
    try {
        const QString name = f.cboSelectQuery->currentText();
        if (name == "Wind by Power Density" || name == "Best wind - protected areas" ||
            name == "Best wind + roads" || name == "Best wind + transmission") {
            FillWindDensityDropDowns(f);
        } else if (name == "Best wind + land use" || name == "Best wind (all)") {
            FillWindDensityDropDowns(f);
            FillLandUseDropDown(f);
        } else if (name == "Best Solar X kWh/m2/day") {
            QComboBox* resources = f.cboQueryDropDown3;
            QComboBox* lo = f.cboQueryDropDown;
            QComboBox* hi = f.cboQueryDropDown2;
            const QSignalBlocker block(resources);
            resources->clear();
            const auto& all = SolarResources();
            for (int i = 0; i < 4; ++i) resources->addItem(all[i].description);
            if (isLayerExist("16_solar_tilt.shp") || isLayerExist("15_solar_glo.shp")) {
                resources->addItem(all[4].description);
                resources->addItem(all[5].description);
            }
            lo->clear();
            hi->clear();
            bool found = false;
            for (int i = 0; i < resources->count() && !found; ++i) {
                QString message;
                if (!isQueryPossible(resources->itemText(i), message)) continue;
                found = true;
                const auto breaks = breaksOf(f, GetSolarResourceLayerID(f, resources->itemText(i)));
                for (int b = 0; breaks && b < breaks->breakCount(); ++b) {
                    const QString text = md_query_functions2::plainNumber(
                        std::round(breaks->breakValue(b) * 10) / 10);
                    lo->addItem(text);
                    hi->addItem(text);
                }
                lo->setCurrentIndex(3);
                hi->setCurrentIndex(hi->count() - 1);
            }
            md_query_functions2::queryState().bSkipSolarCheck = true;
            resources->setCurrentIndex(0);
            query::cboQueryDropDown3_Click(f);
            if (!found) {
                for (int k = 0; k <= 14; ++k) {
                    const QString text = md_query_functions2::plainNumber(2 + 0.5 * k);
                    lo->addItem(text);
                    hi->addItem(text);
                }
                lo->setCurrentIndex(3);
                hi->setCurrentIndex(hi->count() - 1);
            }
        }
    } catch (...) {
        ErrorMessage(" Error Source:md_functions.SetQueryListbox()", 48);
    }
}

void FillWindDensityDropDowns(frmMain& f) {
    try {
        QComboBox* lo = f.cboQueryDropDown;
        QComboBox* hi = f.cboQueryDropDown2;
        lo->clear();
        hi->clear();
        const auto breaks = breaksOf(f, LayerIndexByFile("20_wind.shp"));
        if (!breaks) throw engine::EngineError("the wind layer has no class breaks");
        for (int i = 0; i < breaks->breakCount(); ++i) {
            const QString text = md_query_functions2::plainNumber(breaks->breakValue(i));
            lo->addItem(text);
            hi->addItem(text);
        }
        lo->setCurrentIndex(3);
        hi->addItem("Max");
        hi->setCurrentIndex(hi->count() - 2);
    } catch (...) {
        ErrorMessage(" Error Source:md_functions.FillWindDensityDropDowns()", 48);
    }
}

void FillLandUseDropDown(frmMain& f) {
    try {
        f.lstQuery1->clear();
        const auto& layer = f.Map1->layer(LayerIndexByFile("02_landuse.shp"));
        engine::Recordset records = layer->searchExpression(QStringLiteral("FeatureID") + " > -1");
        engine::StringCollection texts;
        for (; !records.eof(); records.moveNext()) texts.add(records.value("LAND_USE").toString());
        f.lstQuery1->addItems(texts.items());
    } catch (...) {
        ErrorMessage(" Error Source:md_functions.FillLandUseDropDown()", 48);
    }
}

int GetSolarResourceLayerID(frmMain& f, const QString& description) {
    try {
        for (int i = 0; i < f.Map1->layerCount(); ++i)
            if (f.Map1->layer(i)->name == description) return i;
        return 0;
    } catch (...) {
        ErrorMessage(" Error Source:md_functions.GetSolarResourceLayerID()", 48);
        return 0;
    }
}

}  // namespace md_functions
