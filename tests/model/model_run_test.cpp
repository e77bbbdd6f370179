// Zorvel runs from the model window: the table of systems, summaries, stop, and the runs that
// cannot go ahead. Real runs of the village templates.
#include <QFileInfo>
#include <QFrame>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <functional>

#include "model/cost_chart.h"
#include "model/frmZORVELSummary.h"
#include "tests/model/model_window_fixture.h"
#include "zorvel/project.h"

namespace {

// Rewrites part of a template in the test's documents folder.
void editTemplate(const QString& path, const std::function<void(QJsonObject&)>& edit) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    file.close();
    edit(root);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QJsonDocument(root).toJson());
}

void setSizes(QJsonObject& root, const QString& component, const QString& key, QJsonArray sizes) {
    QJsonObject components = root["components"].toObject();
    QJsonObject c = components[component].toObject();
    c[key] = sizes;
    components[component] = c;
    root["components"] = components;
}

double parseCurrency(QString text) {
    return text.remove('$').remove(',').toDouble();
}

// Calls action on every event-loop turn while the run is going, from within the run's waits.
class DuringRun {
public:
    explicit DuringRun(std::function<void()> action) {
        QObject::connect(&timer_, &QTimer::timeout, std::move(action));
        timer_.start(1);
    }

private:
    QTimer timer_;
};

}  // namespace

TEST_F(ModelWindowTest, CompleteRunShowsTheCheapestSystemsWithCostsAndBars) {
    readyToRun(1);
    frmZORVEL& w = window();
    QStringList progress;
    const DuringRun watch([&] {
        if (message().startsWith("Zorvel is running. ")) {
            progress << message();
            EXPECT_EQ(messageColor(), QColor(0, 0, 255));
            EXPECT_EQ(w.cmdRunZORVEL->text(), "Stop Zorvel");
        }
    });
    w.cmdRunZORVEL->click();

    // The window's table is the model's own list for the same project, in its order.
    const QString working = docs + "user_Small_village_Pallix.zvx";
    ASSERT_TRUE(QFileInfo::exists(working));
    zorvel::Project check;
    check.OpenFile(working.toStdString());
    EXPECT_TRUE(check.GetNotes().starts_with("Zorvel file run by Pallix_ZORVEL on "));
    EXPECT_FLOAT_EQ(check.GetLatitude(), 7.3f);
    EXPECT_FLOAT_EQ(check.GetLongitude(), -80.9f);
    EXPECT_FLOAT_EQ(check.GetFuel("Diesel").GetPrice(), 0.40f);
    EXPECT_FLOAT_EQ(check.GetCapacityShortage(), 5.0f);
    EXPECT_FLOAT_EQ(check.GetWindResource()->MonthlySpeeds()[1], 6.25f);
    check.CalculateBlocking();
    const int rows = std::min(check.ResultCount(0), 6);
    ASSERT_GT(rows, 1);

    EXPECT_FALSE(w.txtMessages->isVisible());
    const QRegularExpression currency(R"(^\$\d{1,3}(,\d{3})*\.\d\d$)");
    double largest = 0;
    for (int i = 0; i < rows; ++i)
        largest = std::max(largest, double(check.GetResult(0, i).NetPresentCost()));
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        if (i >= rows) {
            EXPECT_TRUE(w.lblSystemType[i]->text().isEmpty());
            EXPECT_FALSE(w.shpBar[i]->isVisible());
            EXPECT_FALSE(w.cmdZORVEL_OR[i]->isEnabled());
            continue;
        }
        const zorvel::Result r = check.GetResult(0, i);
        EXPECT_EQ(w.lblSystemType[i]->text().toStdString(), check.DescribeSystem(r));
        EXPECT_TRUE(currency.match(w.lblSystemNPC[i]->text()).hasMatch()) << w.lblSystemNPC[i]->text().toStdString();
        EXPECT_NEAR(parseCurrency(w.lblSystemNPC[i]->text()), r.NetPresentCost(), 0.006);
        // Every bar starts on the one baseline and has its cost's share of the full width.
        EXPECT_EQ(w.barCells[i]->geometry().left(), w.barCells[0]->geometry().left());
        EXPECT_EQ(w.shpBar[i]->x(), 0);
        EXPECT_EQ(w.shpBar[i]->width(),
                  int(std::nearbyint(r.NetPresentCost() / largest * w.barCells[i]->fullWidth())));
        EXPECT_EQ(w.shpBar[i]->palette().color(QPalette::Window),
                  engine::toQColor(check.SystemTypeColor(r.SystemTypeCode())));
        EXPECT_TRUE(w.shpBar[i]->isVisible());
        EXPECT_TRUE(w.cmdZORVEL_OR[i]->isEnabled());
        EXPECT_TRUE(QFileInfo::exists(docs + QString("SystemSummary%1.html").arg(i)));
    }
    // The list is cheapest first, so the last row is the most expensive, at full width.
    EXPECT_EQ(w.shpBar[rows - 1]->width(), w.barCells[rows - 1]->fullWidth());
    EXPECT_LT(w.shpBar[0]->width(), w.barCells[0]->fullWidth());
    // The scale under the bars: from $0 up in round steps, in the bars' column.
    EXPECT_EQ(w.costAxis->geometry().left(), w.barCells[0]->geometry().left());
    EXPECT_EQ(w.costAxis->width(), w.barCells[0]->width());
    const QStringList ticks = w.costAxis->tickTexts();
    ASSERT_GE(ticks.size(), 2);
    EXPECT_EQ(ticks.front(), "$0");
    const std::vector<double> shares = w.costAxis->tickShares();
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_LE(shares.back(), 1.0);
    // The key names the colour of each system type listed.
    for (int i = 0; i < rows; ++i) {
        const zorvel::Result r = check.GetResult(0, i);
        EXPECT_TRUE(w.lblColourKey->text().contains(
            QString::fromStdString(zorvel::Project::SystemTypeName(r.SystemTypeCode()))));
        EXPECT_TRUE(w.lblColourKey->text().contains(
            engine::toQColor(check.SystemTypeColor(r.SystemTypeCode())).name()));
    }
    // Start stays grey until an input changes, and says so.
    EXPECT_EQ(w.cmdRunZORVEL->toolTip(),
              "This run is done. Change an input or the application to run again.");

    EXPECT_FALSE(progress.isEmpty());
    const QRegularExpression remaining(R"(^Zorvel is running\. \d{1,3}\.\d% remaining\.$)");
    for (const QString& p : progress)
        EXPECT_TRUE(remaining.match(p).hasMatch()) << p.toStdString();
    EXPECT_EQ(w.cmdRunZORVEL->text(), "Start Zorvel");
    EXPECT_FALSE(w.cmdRunZORVEL->isEnabled());
    EXPECT_TRUE(w.cmdZORVEL_IR->isEnabled());
    EXPECT_TRUE(w.cmdLaunchZORVEL->isEnabled());
    EXPECT_TRUE(QFileInfo::exists(docs + "InputSummary.html"));
    EXPECT_TRUE(dialogs->shown.isEmpty()) << dialogs->texts().join("\n").toStdString();

    // Details open each system's page; closing the summary only hides it.
    w.cmdZORVEL_OR[1]->click();
    frmZORVELSummary& summary = w.summaryWindow();
    EXPECT_TRUE(summary.isVisible());
    EXPECT_EQ(summary.windowTitle(), "Zorvel System Summary");
    EXPECT_EQ(summary.wbZORVELSummary->source(), QUrl::fromLocalFile(docs + "SystemSummary1.html"));
    EXPECT_FALSE(summary.wbZORVELSummary->toPlainText().isEmpty());
    summary.close();
    EXPECT_FALSE(summary.isVisible());
    w.cmdZORVEL_OR[0]->click();
    EXPECT_TRUE(summary.isVisible());
    EXPECT_EQ(summary.wbZORVELSummary->source(), QUrl::fromLocalFile(docs + "SystemSummary0.html"));

    // The input summary of the run is still current: it is shown, not written again.
    QFile::remove(docs + "InputSummary.html");
    w.cmdZORVEL_IR->click();
    EXPECT_EQ(summary.windowTitle(), "Zorvel Input Summary");
    EXPECT_FALSE(QFileInfo::exists(docs + "InputSummary.html"));

    // A changed input allows a new run and disables the details, keeping the table.
    const QString firstCost = w.lblSystemNPC[0]->text();
    w.txtDieselFuelPrice->setText("0.80");
    EXPECT_TRUE(w.cmdRunZORVEL->isEnabled());
    EXPECT_TRUE(w.cmdRunZORVEL->toolTip().isEmpty());
    EXPECT_FALSE(w.cmdZORVEL_OR[0]->isEnabled());
    EXPECT_EQ(w.lblSystemNPC[0]->text(), firstCost);
}

TEST_F(ModelWindowTest, InputSummaryIsWrittenOnceForUnchangedInputs) {
    readyToRun(1);
    frmZORVEL& w = window();
    const QString page = docs + "InputSummary.html";
    w.cmdZORVEL_IR->click();
    ASSERT_TRUE(QFileInfo::exists(page));
    EXPECT_TRUE(QFileInfo::exists(docs + "user_Small_village_Pallix.zvx"));
    EXPECT_TRUE(w.cmdLaunchZORVEL->isEnabled());
    EXPECT_EQ(w.summaryWindow().windowTitle(), "Zorvel Input Summary");
    EXPECT_TRUE(w.summaryWindow().isVisible());
    EXPECT_EQ(w.summaryWindow().wbZORVELSummary->source(), QUrl::fromLocalFile(page));

    QFile::remove(page);
    w.cmdZORVEL_IR->click();
    EXPECT_FALSE(QFileInfo::exists(page));

    w.txtDiscountRate->setText("7");
    w.cmdZORVEL_IR->click();
    EXPECT_TRUE(QFileInfo::exists(page));
    EXPECT_TRUE(w.summaryWindow().wbZORVELSummary->toPlainText().contains("7"));
    EXPECT_TRUE(dialogs->shown.isEmpty()) << dialogs->texts().join("\n").toStdString();
}

TEST_F(ModelWindowTest, RunWithoutFeasibleSystemsSaysSo) {
    // A small PV array with nothing to store or back it up cannot serve the evening load.
    editTemplate(docs + "Small_village_Pallix.zvx", [](QJsonObject& root) {
        setSizes(root, "pv", "sizes_kw", {0, 0.5});
        setSizes(root, "wind_turbine", "counts", {0});
        setSizes(root, "diesel", "sizes_kw", {0});
        setSizes(root, "battery", "counts", {0});
    });
    readyToRun(1);
    window().txtReliability->setText("0");
    window().cmdRunZORVEL->click();
    EXPECT_TRUE(window().txtMessages->isVisible());
    EXPECT_EQ(message(), "Sorry, there were no feasible solutions");
    for (QPushButton* details : window().cmdZORVEL_OR)
        EXPECT_FALSE(details->isEnabled());
    EXPECT_TRUE(window().cmdLaunchZORVEL->isEnabled());
    EXPECT_TRUE(dialogs->shown.isEmpty()) << dialogs->texts().join("\n").toStdString();
}

TEST_F(ModelWindowTest, IncompleteTemplateIsKeptForInspection) {
    editTemplate(docs + "Medium_village_Pallix.zvx", [](QJsonObject& root) {
        setSizes(root, "pv", "sizes_kw", {0});
        setSizes(root, "wind_turbine", "counts", {0});
        setSizes(root, "diesel", "sizes_kw", {0});
    });
    readyToRun(2);
    window().cmdRunZORVEL->click();
    const QString kept = docs + "ZORVEL_file_that_wouldnt_run_in_PALLIX.zvx";
    EXPECT_TRUE(QFileInfo::exists(kept));
    EXPECT_EQ(message(), "Could not run Zorvel - inputs not complete.\nFile saved in: " + kept);
    EXPECT_EQ(messageColor(), QColor(255, 0, 0));
    EXPECT_TRUE(window().txtMessages->isVisible());
    // Nothing ran, so the same inputs may be started again.
    EXPECT_TRUE(window().cmdRunZORVEL->isEnabled());
    EXPECT_EQ(window().cmdRunZORVEL->text(), "Start Zorvel");
    EXPECT_FALSE(QFileInfo::exists(docs + "SystemSummary0.html"));
    EXPECT_TRUE(dialogs->shown.isEmpty()) << dialogs->texts().join("\n").toStdString();
}

TEST_F(ModelWindowTest, StopEndsTheRunWithoutResults) {
    readyToRun(3);
    frmZORVEL& w = window();
    bool pressed = false;
    const DuringRun stopper([&] {
        if (!pressed && message().startsWith("Zorvel is running. ")) {
            pressed = true;
            w.cmdRunZORVEL->click();
        }
    });
    w.cmdRunZORVEL->click();
    ASSERT_TRUE(pressed);
    EXPECT_EQ(message(), "Zorvel calculation stopped");
    EXPECT_TRUE(w.txtMessages->isVisible());
    EXPECT_EQ(w.cmdRunZORVEL->text(), "Start Zorvel");
    EXPECT_TRUE(w.cmdRunZORVEL->isEnabled());
    EXPECT_TRUE(w.cmdZORVEL_IR->isEnabled());
    EXPECT_FALSE(w.cmdLaunchZORVEL->isEnabled());
    EXPECT_FALSE(QFileInfo::exists(docs + "SystemSummary0.html"));
    EXPECT_FALSE(QFileInfo::exists(docs + "InputSummary.html"));
}

TEST_F(ModelWindowTest, ClosingTheWindowStopsTheRunAndReopeningKeepsTheInputs) {
    readyToRun(3);
    frmZORVEL& w = window();
    w.txtDieselFuelPrice->setText("0.65");
    w.cmdZORVEL_IR->click();
    ASSERT_TRUE(w.summaryWindow().isVisible());
    bool closed = false;
    const DuringRun closer([&] {
        if (!closed && message().startsWith("Zorvel is running. ")) {
            closed = true;
            w.close();
        }
    });
    w.cmdRunZORVEL->click();
    ASSERT_TRUE(closed);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.summaryWindow().isVisible());
    EXPECT_EQ(message(), "Zorvel calculation stopped");
    EXPECT_FALSE(QFileInfo::exists(docs + "SystemSummary0.html"));

    clickAt(model_test::kSiteB);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(&w, &window());
    EXPECT_EQ(w.cboZORVELApplication->currentIndex(), 3);
    EXPECT_EQ(w.txtDieselFuelPrice->text(), "0.65");
    EXPECT_EQ(w.lblPallixData->text(), "Pallix data for 7.3S 80.9E, Elevation 1,234 m");
    EXPECT_TRUE(w.cmdRunZORVEL->isEnabled());
}

TEST_F(ModelWindowTest, AnnualOnlyWindReachesTheModelAsPowerDensity) {
    load(model_test::writeSiteDataset(tmp.filePath("annual"), model_test::Wind::AnnualOnly));
    clickAt(model_test::kSiteA);
    choose(2);
    window().cmdZORVEL_IR->click();
    zorvel::Project saved;
    saved.OpenFile((docs + "user_Medium_village_Pallix.zvx").toStdString());
    const auto wind = saved.GetWindResource();
    ASSERT_TRUE(wind);
    EXPECT_EQ(wind->GetMode(), zorvel::WindResource::Mode::PowerDensity);
    EXPECT_NEAR(wind->PowerDensity(), 1520.4f, 0.01f);
    EXPECT_FLOAT_EQ(wind->Altitude(), 511.2f);
    EXPECT_FLOAT_EQ(saved.GetSolarResource()->MonthlyRadiation()[0], 4.5f);
    EXPECT_TRUE(dialogs->shown.isEmpty()) << dialogs->texts().join("\n").toStdString();
}
