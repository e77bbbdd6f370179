// A Zorvel run: the model inputs from the site and the window, the calculation with its progress
// and stop, saving the project and opening it in the Zorvel program.
#include <QCheckBox>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <memory>

#include "model/conversions.h"
#include "model/frmZORVEL.h"
#include "model/waits.h"
#include "feedback/dialog_service.h"
#include "feedback/error_report.h"
#include "zorvel/project.h"

namespace {

const QColor kErrorColor(255, 0, 0);
const QColor kProgressColor(0, 0, 255);
const QString kStopCaption = QStringLiteral("Stop Zorvel");

// The boxes hold numbers here: the inputs were validated before a run or an update.
float number(const QLineEdit* box) { return model::ReadNumber(box->text()).value_or(0.0f); }

QString description(const std::exception& e) { return QString::fromUtf8(e.what()); }

}  // namespace

void frmZORVEL::cmdRunZORVEL_Click() {
    if (cmdRunZORVEL->text() == kStopCaption) {
        bStop = true;  // the run in progress notices it at its next poll
        return;
    }
    cmdZORVEL_IR->setEnabled(false);
    cmdLaunchZORVEL->setEnabled(false);
    if (ValidateUserInputs())
        return;

    // Window events run during the calculation; the window may go with the program meanwhile.
    const QPointer<frmZORVEL> alive(this);
    bStop = false;
    running_ = true;
    cmdRunZORVEL->setText(kStopCaption);
    setMessageColor(kProgressColor);
    setMessage(QStringLiteral("Creating Zorvel objects."));
    repaint();
    try {
        auto project = std::make_unique<zorvel::Project>();
        SetZORVELInputs(*project);
        QCoreApplication::processEvents();
        if (!alive)
            return;
        const bool calculated = RunZORVEL(*project);
        if (!alive)
            return;
        if (!bStop && calculated) {
            CreateInputSummary(*project, true);
            ProcessResults(*project);
            // A new run needs a change of input or application first.
            cmdRunZORVEL->setEnabled(false);
            cmdRunZORVEL->setToolTip(QStringLiteral(
                "This run is done. Change an input or the application to run again."));
        }
    } catch (const std::exception& e) {
        md_functions::ErrorMessage(
            QStringLiteral(" Error while trying to run Zorvel. Error Source: "
                           "frmZORVEL.cmdRunZORVEL_Click; Description: ") +
                description(e),
            48);
    }
    if (!alive)
        return;
    running_ = false;
    cmdZORVEL_IR->setEnabled(true);
    cmdZORVEL_IR->setToolTip({});
    cmdRunZORVEL->setText(savedStartCaption);
}

void frmZORVEL::SetZORVELInputs(zorvel::Project& project) {
    try {
        setMessage(QStringLiteral("Opening Zorvel file."));
        repaint();
        project.OpenFile(model::ToPath(templatePath));
        setMessage(QStringLiteral("Setting Zorvel inputs from GIS data."));
        repaint();

        project.SetLatitude(site.latitude);
        project.SetLongitude(site.longitude);
        project.SetRealDiscountRate(number(txtDiscountRate));
        project.SetCapacityShortage(number(txtReliability));

        zorvel::Fuel diesel = project.GetFuel("Diesel");
        diesel.SetPrice(number(txtDieselFuelPrice));
        project.PutFuel("Diesel", diesel);

        if (site.hasSolar) {
            auto solar = project.GetSolarResource();
            if (!solar)
                solar.emplace();
            solar->SetMonthlyRadiation(project.GetLatitude(), site.radiation);
            project.PutSolarResource(*solar);
        } else {
            project.RemoveSolarResource();
        }

        if (site.hasWind) {
            auto wind = project.GetWindResource();
            if (!wind)
                wind.emplace();
            wind->SetAltitude(site.elevation);
            if (site.windPowerDensity == model::kMonthlyWindMarker) {
                wind->SetAutocorrelation(site.autocorrelation);
                wind->SetWK(site.wk);
                wind->SetPatternStrength(site.patternStrength);
                wind->SetPeakHour(site.peakHour);
                wind->SetMonthlySpeeds(site.windSpeeds);
            } else {
                wind->SetFromPowerDensity(site.windPowerDensity, site.elevation, 2.0f);
            }
            project.PutWindResource(*wind);
        } else {
            project.RemoveWindResource();
        }

        if (site.hydroPower && chkHydro->isChecked()) {
            zorvel::HydroResource hydro;
            hydro.SetMonthlyPower(*site.hydroPower);
            project.PutHydroResource(hydro);
        } else {
            project.RemoveHydroResource();
        }

        const QString stamp = QStringLiteral("Zorvel file run by Pallix_ZORVEL on ") +
                              QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
        project.SetNotes((stamp + "\r\n\r\n").toStdString() + project.GetNotes());

        setMessage(QStringLiteral("All Zorvel inputs set from GIS data."));
        repaint();
    } catch (const std::exception&) {
        md_functions::ErrorMessage(
            QStringLiteral(" Error while setting Zorvel inputs. Error Source: frmZORVEL.SetZORVELInputs"),
            48);
    }
}

bool frmZORVEL::RunZORVEL(zorvel::Project& project) {
    const QPointer<frmZORVEL> alive(this);
    try {
        if (bStop)
            return false;
        if (project.InputsComplete() != 1) {
            const QString kept = documentsFolder + "ZORVEL_file_that_wouldnt_run_in_PALLIX.zvx";
            setMessageColor(kErrorColor);
            setMessage(QStringLiteral("Could not run Zorvel - inputs not complete.\nFile saved in: ") +
                       kept);
            repaint();
            model::Wait(5000);
            project.SaveFileAs(model::ToPath(kept));
            return false;
        }
        setMessageColor(kProgressColor);
        setMessage(QStringLiteral("Starting Zorvel run."));
        repaint();
        project.StartCalculation();
        while (project.IsCalculating() == 1) {
            if (bStop) {
                project.StopCalculation();
                setMessage(QStringLiteral("Zorvel calculation stopped"));
                repaint();
                continue;
            }
            const double remaining = 100.0 - project.PercentComplete();
            setMessage(QStringLiteral("Zorvel is running. ") + QLocale().toString(remaining, 'f', 1) +
                       QStringLiteral("% remaining."));
            repaint();
            // Polls once a second, but a finished run or a stop is taken up at once.
            model::Wait(1000, [&] { return !alive || bStop || project.IsCalculating() != 1; });
            if (!alive)
                return false;
        }
        return !bStop;
    } catch (const std::exception& e) {
        md_functions::ErrorMessage(
            QStringLiteral("Error while trying to run Zorvel. Error Source: frmZORVEL.RunZORVEL; "
                           "Description: ") +
                description(e),
            48);
        return false;
    }
}

void frmZORVEL::SaveZORVELDoc(zorvel::Project& project) {
    try {
        project.SaveFileAs(model::ToPath(workingFilePath));
        cmdLaunchZORVEL->setEnabled(true);
    } catch (const std::exception& e) {
        md_functions::ErrorMessage(
            QStringLiteral("Error while saving Zorvel file. Error Source: frmZORVEL.SaveZORVELDoc. Desc: ") +
                description(e),
            48);
    }
}

void frmZORVEL::UpdateZORVELFile() {
    if (bInputSummaryCurrent)
        return;
    try {
        showMessages(true);
        txtMessages->clear();
        if (ValidateUserInputs())
            return;
        setMessageColor(kProgressColor);
        setMessage(QStringLiteral("Creating Zorvel objects."));
        repaint();
        auto project = std::make_unique<zorvel::Project>();
        SetZORVELInputs(*project);
        SaveZORVELDoc(*project);
        CreateInputSummary(*project, true);
    } catch (const std::exception& e) {
        md_functions::ErrorMessage(
            QStringLiteral("Error while updating Zorvel file. Error Source: frmZORVEL.UpdateZORVELFile Desc: ") +
                description(e),
            48);
    }
}

void frmZORVEL::cmdLaunchZORVEL_Click() {
    if (workingFilePath.isEmpty()) {
        feedback::dialogs().messageBox(QStringLiteral("Sorry, no Zorvel file to open"), feedback::mbOKOnly,
                                    feedback::iconWarning);
        return;
    }
    // An argument list, not a command line: quotes and blanks in the path stay harmless.
    const QString program = QDir(QCoreApplication::applicationDirPath()).filePath("zorvel");
    if (!QProcess::startDetached(program, {workingFilePath}))
        md_functions::ErrorMessage(
            QStringLiteral(" Error while trying to open the Zorvel file. Error Source: "
                           "frmZORVEL.cmdLaunchZORVEL_Click; Description: the program ") +
                program + QStringLiteral(" could not be started"),
            48);
}
