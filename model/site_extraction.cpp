// The resources the dataset holds for the clicked site.
#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <cmath>

#include "dataset/dataset_loading.h"
#include "engine/projection.h"
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

const QString kSolarFile = QStringLiteral("14_solar_glo.shp");
const QString kWindFile = QStringLiteral("20_wind.shp");

// What the window says when the dataset has no resource at the clicked point, and what Zorvel
// can model there without it.
QString missingResourceNote(bool solar, bool wind) {
    if (solar && wind) return {};
    if (!solar && !wind)
        return QStringLiteral(
            "There is no solar or wind resource data at this point, so Zorvel cannot model it. "
            "Click the map inside the resource grid to choose a site.");
    const QString resource = solar ? QStringLiteral("wind") : QStringLiteral("solar");
    const QString file = solar ? kWindFile : kSolarFile;
    const QString missing =
        md_functions::isLayerExist(file)
            ? QStringLiteral("There is no %1 resource data at this point").arg(resource)
            : QStringLiteral("This dataset has no %1 resource grid (%2)").arg(resource, file);
    return missing +
           (solar ? QStringLiteral(", so Zorvel models this site with solar and diesel only (no "
                                   "wind turbines).")
                  : QStringLiteral(", so Zorvel models this site with wind and diesel only (no "
                                   "PV array)."));
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

    // Without the solar grid the site's own coordinates, from the map's system, place it for
    // the model.
    if (!md_functions::isLayerExist(kSolarFile)) {
        for (int i = 0; i < map.layerCount(); ++i) {
            const auto& cs = map.layer(i)->coordinateSystem();
            if (!cs) continue;
            if (const auto degrees = engine::longitudeLatitude(*cs, site.pickedPoint)) {
                site.latitude = float(degrees->y);
                site.longitude = float(degrees->x);
            }
            break;
        }
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
        const auto solar =
            md_functions::isLayerExist(kSolarFile) ? layerOf(kSolarFile) : nullptr;
        const engine::Recordset sun =
            solar ? solar->searchByDistance(picked, 0) : engine::Recordset();
        solarFound = solar && !sun.eof();
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
        }

        const auto wind = md_functions::isLayerExist(kWindFile) ? layerOf(kWindFile) : nullptr;
        const engine::Recordset air =
            wind ? wind->searchByDistance(picked, 0) : engine::Recordset();
        windFound = wind && !air.eof();
        if (!windFound) {
            // Another site's wind figures must not stand beside this one's.
            for (QLabel* cell : lblWindResource) hideCell(cell);
            lblWindRowLabel->setToolTip(QStringLiteral("No wind resource information."));
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
    // One resource is enough: the run leaves out the plant the other would feed.
    site.hasSolar = solarFound && !readFailed;
    site.hasWind = windFound && !readFailed;
    if (!site.hasSolar && !site.hasWind) site.complete = false;
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
