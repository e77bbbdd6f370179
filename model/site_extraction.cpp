// The resources the dataset holds for the clicked site.
#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <cmath>

#include "dataset/dataset_loading.h"
#include "mapview/map.h"
#include "model/frmZORVEL.h"
#include "feedback/error_report.h"
#include "shell/frmMain.h"
#include "zorvel/project.h"

namespace {

QString number(double value, int decimals) { return QLocale().toString(value, 'f', decimals); }

// "7.3N": one decimal and the hemisphere letter; no letter on the line itself.
QString coordinateText(float degrees, const QString& positive, const QString& negative) {
    const QString letter = degrees > 0 ? positive : degrees < 0 ? negative : QString();
    return number(std::abs(degrees), 1) + letter;
}

void showCell(QLabel* cell, const QString& text, const QString& tip) {
    cell->setText(text);
    cell->setToolTip(tip);
    cell->setVisible(true);
}

void hideCell(QLabel* cell) {
    cell->setToolTip({});
    cell->setVisible(false);
}

// What the window says when the dataset has no resource at the clicked point.
QString missingResourceNote(bool solar, bool wind) {
    if (solar && wind) return {};
    const QString what = !solar && !wind ? QStringLiteral("solar or wind")
                         : !solar        ? QStringLiteral("solar")
                                         : QStringLiteral("wind");
    return QStringLiteral(
               "There is no %1 resource data at this point, so Zorvel cannot model it. "
               "Click the map inside the resource grid to choose a site.")
        .arg(what);
}

}  // namespace

void frmZORVEL::showHydroState() {
    chkHydro->setEnabled(site.hydroPower.has_value());
    const QString tip =
        !site.hydroProblem.isEmpty()
            ? QStringLiteral("Hydro information is not sent to Zorvel: ") + site.hydroProblem
        : !site.hydroPower      ? QStringLiteral("Hydro information is not sent to Zorvel")
        : chkHydro->isChecked() ? QStringLiteral("Hydro information is sent to Zorvel")
                                : QStringLiteral("Hydro information is left out of the Zorvel run");
    // Hidden cells keep their empty tooltips.
    for (QLabel* cell : lblHydroResource)
        if (!cell->isHidden()) cell->setToolTip(tip);
}

void frmZORVEL::GetGISData() {
    using md_functions::LayerIndexByFile;
    using model::kMonthKeys;
    engine::Map& map = *main_.Map1;

    site.complete = true;
    site.elevation = 0;
    site.latitude = 0;
    site.longitude = 0;
    // Another site's river must never reach this one's run.
    site.hydroPower.reset();
    site.hydroProblem.clear();
    site.pickedPoint = map.toMapPoint(main_.giX, main_.giY);
    const engine::Shape picked = engine::Shape::point(site.pickedPoint.x, site.pickedPoint.y);
    const auto layerOf = [&map](const QString& file) {
        return map.layer(LayerIndexByFile(file));
    };

    // A missing elevation or coordinate only leaves its value at 0.
    try {
        const engine::Recordset rs = layerOf("01_elevation.shp")->searchByDistance(picked, 0);
        if (!rs.eof())
            site.elevation = rs.value("ELEV_M").toFloat();
    } catch (const std::exception&) {
    }
    try {
        const engine::Recordset rs = layerOf("14_solar_glo.shp")->searchByDistance(picked, 0);
        if (!rs.eof()) {
            site.latitude = rs.value("LAT").toFloat();
            site.longitude = rs.value("LON").toFloat();
        }
    } catch (const std::exception&) {
    }

    QString caption = QStringLiteral("Pallix data");
    if (site.latitude != 0 || site.longitude != 0)
        caption += QStringLiteral(" for ") + coordinateText(site.latitude, "N", "S") + " " +
                   coordinateText(site.longitude, "E", "W");
    if (site.elevation > 0)
        caption += QStringLiteral(", Elevation ") + number(site.elevation, 0) + QStringLiteral(" m");
    lblPallixData->setText(caption);

    bool solarFound = false, windFound = false, readFailed = false;
    try {
        const auto solar = layerOf("14_solar_glo.shp");
        const engine::Recordset sun = solar->searchByDistance(picked, 0);
        solarFound = !sun.eof();
        if (solarFound) {
            for (int i = 0; i < 13; ++i) {
                const float value = sun.value(kMonthKeys[i] + "GLO").toFloat();
                showCell(lblSolarResource[i], number(value, 2), solar->name);
                if (i < 12)
                    site.radiation[i] = value;
            }
            lblSolarRowLabel->setToolTip(solar->name);
        } else {
            for (QLabel* cell : lblSolarResource)
                hideCell(cell);
            lblSolarRowLabel->setToolTip(QStringLiteral("No solar resource information"));
            site.complete = false;
        }

        const auto wind = layerOf("20_wind.shp");
        const engine::Recordset air = wind->searchByDistance(picked, 0);
        windFound = !air.eof();
        if (air.eof()) {
            // Another site's wind figures must not stand beside this one's.
            for (QLabel* cell : lblWindResource) hideCell(cell);
            lblWindRowLabel->setToolTip(QStringLiteral("No wind resource information."));
            site.complete = false;
        } else if (air.hasField(kMonthKeys[0] + "WS")) {
            for (int i = 0; i < 12; ++i) {
                showCell(lblWindResource[i], number(air.value(kMonthKeys[i] + "WPD").toFloat(), 0),
                         wind->name);
                site.windSpeeds[i] = air.value(kMonthKeys[i] + "WS").toFloat();
            }
            showCell(lblWindResource[12], number(air.value("WINDPWRD").toFloat(), 0), wind->name);
            lblWindRowLabel->setToolTip(wind->name);
            site.wk = air.value("ZORVELWK").toFloat();
            site.autocorrelation = air.value("AUTOCORR").toFloat();
            site.patternStrength = air.value("PATTSTR").toFloat();
            site.peakHour = air.value("PEAKHR").toInt();
            site.windPowerDensity = model::kMonthlyWindMarker;
        } else {
            for (QLabel* cell : lblWindResource)
                hideCell(cell);
            site.windPowerDensity = air.value("WINDPWRD").toFloat();
            showCell(lblWindResource[12], number(site.windPowerDensity, 0), wind->name);
            lblWindRowLabel->setToolTip(wind->name);
        }

        if (md_functions::isLayerExist(QStringLiteral("25_hydro.shp"))) {
            const auto hydro = layerOf("25_hydro.shp");
            // The tolerance follows the zoom, so a point symbol near the click is still found.
            const engine::Recordset water =
                hydro->searchByDistance(picked, map.extent().width() / 300.0);
            if (!water.eof()) {
                std::array<float, 12> power{};
                for (int i = 0; i < 13; ++i) {
                    const QString field = kMonthKeys[i] + "POW";
                    bool isNumber = false;
                    const float value = water.value(field).toFloat(&isNumber);
                    showCell(lblHydroResource[i], number(value, 0), {});
                    if (i == 12 || !site.hydroProblem.isEmpty()) continue;
                    if (!isNumber || !std::isfinite(value) || value < 0 ||
                        value > zorvel::HydroResource::kMaxHydroKw)
                        site.hydroProblem =
                            QStringLiteral("%1 is %2, not a power from 0 to %3 kW")
                                .arg(field,
                                     isNumber && std::isfinite(value)
                                         ? number(value, value == std::floor(value) ? 0 : 2)
                                         : water.value(field).toString(),
                                     number(zorvel::HydroResource::kMaxHydroKw, 0));
                    power[size_t(i)] = value;
                }
                if (site.hydroProblem.isEmpty()) site.hydroPower = power;
                lblHydroRowLabel->setVisible(true);
                lblHydroRowLabel->setToolTip(hydro->name);
            } else {
                for (QLabel* cell : lblHydroResource)
                    hideCell(cell);
                lblHydroRowLabel->setVisible(false);
                lblHydroRowLabel->setToolTip(QStringLiteral("No hydro resource information."));
            }
        }
    } catch (const std::exception& e) {
        md_functions::ErrorMessage(
            QStringLiteral("Error while getting Pallix data. Error Source: frmZORVEL.GetGISData(); "
                           "Description: ") +
                QString::fromUtf8(e.what()),
            48);
        site.complete = false;
        readFailed = true;
    }
    QString note = readFailed ? QStringLiteral(
                                    "The resource data at this point could not be "
                                    "read, so Zorvel cannot model it.")
                              : missingResourceNote(solarFound, windFound);
    if (!site.hydroProblem.isEmpty())
        note += (note.isEmpty() ? "" : " ") +
                QStringLiteral("The hydro power at this point is left out of the Zorvel run: ") +
                site.hydroProblem + ".";
    lblSiteNote->setText(note);
    showHydroState();
    lblSiteNote->setVisible(!lblSiteNote->text().isEmpty());
    // Also after a failure, so that an incomplete site cannot be started from an earlier state.
    SetButtonStates();
}
