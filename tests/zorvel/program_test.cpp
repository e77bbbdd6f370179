// The templates (installed next to the program; feasible systems for a sunny, windy site and a
// poor-resource site), the zorvel program on the command line, and its window.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>

#include "tests/zorvel/zorvel_test_util.h"
#include "zorvel/window.h"

using namespace zorvel;
using ztest::json;

namespace {

const char* kTemplates[] = {"Small_village_Pallix.zvx", "Medium_village_Pallix.zvx",
                            "Large_village_Pallix.zvx"};

std::filesystem::path binDir() { return QCoreApplication::applicationDirPath().toStdString(); }

// Every other entry of a size list, always keeping the first and the last.
json thin(const json& list) {
    json out = json::array();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (i % 2 == 0 || i + 1 == list.size()) out.push_back(list[i]);
    return out;
}

json thinned(const char* name) {
    json j = ztest::loadTemplate(name);
    auto& c = j["components"];
    c["pv"]["sizes_kw"] = thin(c["pv"]["sizes_kw"]);
    c["diesel"]["sizes_kw"] = thin(c["diesel"]["sizes_kw"]);
    c["battery"]["counts"] = thin(c["battery"]["counts"]);
    c["converter"]["sizes_kw"] = thin(c["converter"]["sizes_kw"]);
    return j;
}

struct RunResult {
    int exitCode = -1;
    QString out, err;
};

RunResult runZorvel(const QStringList& args) {
    QProcess p;
    p.start(QString::fromStdString((binDir() / "zorvel").string()), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

void closeModalSoon() {
    QTimer::singleShot(300, [] {
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
}

}  // namespace

TEST(Templates, AreInstalledNextToTheProgram) {
    for (const char* name : kTemplates) {
        auto installed = binDir() / "ZORVEL_docs" / name;
        ASSERT_TRUE(std::filesystem::exists(installed)) << installed;
        EXPECT_EQ(readProject(installed).name, readProject(ztest::templateDir() / name).name);
    }
}

TEST(Templates, VillageSizesAndDefaults) {
    struct Expect {
        const char* file;
        double kwhPerDay, shortage;
    };
    for (Expect e : {Expect{kTemplates[0], 5, 5}, Expect{kTemplates[1], 50, 1},
                     Expect{kTemplates[2], 500, 0}}) {
        Project p;
        p.OpenFile(ztest::templateDir() / e.file);
        EXPECT_EQ(p.InputsComplete(), 1) << e.file;
        EXPECT_DOUBLE_EQ(p.impl().data.load.averageKWhPerDay, e.kwhPerDay);
        EXPECT_FLOAT_EQ(p.GetCapacityShortage(), e.shortage);
        EXPECT_NO_THROW(p.GetFuel("Diesel"));
        EXPECT_GT(p.SystemsToTry(), 1000);
    }
}

class TemplateSites : public ::testing::TestWithParam<const char*> {};

TEST_P(TemplateSites, FeasibleSystemsForASunnyWindySiteAndAPoorSite) {
    ztest::TempDir dir;
    const char* name = GetParam();
    for (bool good : {true, false}) {
        SCOPED_TRACE(good ? "sunny, windy site" : "poor-resource site");
        // As the model window sets them: the site, a diesel price of 0.40 $/L, 5 % discount rate.
        Project p;
        p.OpenFile(ztest::writeJson(dir, name, thinned(name)));
        float lat = good ? 12.0f : 45.0f;
        p.SetLatitude(lat);
        p.SetLongitude(good ? 1.5f : 8.0f);
        p.SetRealDiscountRate(5.0f);
        Fuel f = p.GetFuel("Diesel");
        f.SetPrice(0.40f);
        p.PutFuel("Diesel", f);
        SolarResource s;
        const auto& sun = good ? ztest::kSunny : ztest::kPoorSun;
        std::vector<float> sunF(sun.begin(), sun.end());
        s.SetMonthlyRadiation(lat, sunF);
        p.PutSolarResource(s);
        WindResource w;
        w.SetAltitude(good ? 300.0f : 600.0f);
        if (good) {
            w.SetFromPowerDensity(600.0f, 300.0f, 2.0f);
        } else {
            std::vector<float> calm(ztest::kCalm.begin(), ztest::kCalm.end());
            w.SetAutocorrelation(0.85f);
            w.SetWK(2.0f);
            w.SetPatternStrength(0.25f);
            w.SetPeakHour(15);
            w.SetMonthlySpeeds(calm);
        }
        p.PutWindResource(w);
        ASSERT_EQ(p.InputsComplete(), 1);
        p.CalculateBlocking();
        ASSERT_GT(p.ResultCount(0), 0);
        Result best = p.GetResult(0, 0);
        EXPECT_TRUE(best.feasible);
        EXPECT_LE(best.capacityShortage, p.GetCapacityShortage() / 100.0 + 1e-12);
        EXPECT_GT(best.costOfEnergy, 0.05);
        EXPECT_LT(best.costOfEnergy, 3.0);
        if (good) {
            EXPECT_GT(best.renewableFraction, 0.5) << p.DescribeSystem(best);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Villages, TemplateSites, ::testing::ValuesIn(kTemplates));

TEST(Program, HelpRunAndBadFiles) {
    RunResult help = runZorvel({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("zorvel --run PROJECT.zvx [--top N]"));

    ztest::TempDir dir;
    json j = ztest::smallTemplate();
    ztest::setSpace(j, {0, 1.5}, {0}, {0, 1.5}, {0, 3}, {0, 1});
    auto good = ztest::writeJson(dir, "good.zvx", j);
    RunResult ok = runZorvel({"--run", QString::fromStdString(good.string()), "--top", "2"});
    EXPECT_EQ(ok.exitCode, 0) << ok.err.toStdString();
    EXPECT_TRUE(ok.out.contains("Rank")) << ok.out.toStdString();
    EXPECT_TRUE(ok.out.contains("systems tried"));
    EXPECT_TRUE(ok.out.contains("   1  ")) << ok.out.toStdString();
    EXPECT_TRUE(ok.out.contains("   2  "));
    EXPECT_FALSE(ok.out.contains("   3  "));

    json bad = j;
    bad["economics"].erase("project_lifetime_years");
    auto badPath = ztest::writeJson(dir, "bad.zvx", bad);
    RunResult b = runZorvel({"--run", QString::fromStdString(badPath.string())});
    EXPECT_NE(b.exitCode, 0);
    EXPECT_TRUE(b.err.contains("missing key 'economics.project_lifetime_years'"))
        << b.err.toStdString();

    RunResult missing = runZorvel({"--run", QString::fromStdString((dir / "none.zvx").string())});
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_TRUE(missing.err.contains("does not exist"));

    json incomplete = j;
    incomplete["solar"] = nullptr;
    auto incPath = ztest::writeJson(dir, "incomplete.zvx", incomplete);
    RunResult inc = runZorvel({"--run", QString::fromStdString(incPath.string())});
    EXPECT_NE(inc.exitCode, 0);
    EXPECT_TRUE(inc.err.contains("solar resource")) << inc.err.toStdString();

    RunResult year = runZorvel({"--export-year", QString::fromStdString(good.string()),
                                QString::fromStdString((dir / "year.csv").string())});
    EXPECT_EQ(year.exitCode, 0) << year.err.toStdString();
    EXPECT_TRUE(std::filesystem::exists(dir / "year.csv"));
    EXPECT_EQ(runZorvel({"--export-year", QString::fromStdString(good.string())}).exitCode, 2);
    // Never the year over the project it was read from, under any of its names.
    auto text = [](const std::filesystem::path& p) {
        std::stringstream s;
        s << std::ifstream(p).rdbuf();
        return s.str();
    };
    const std::string project = text(good);
    std::filesystem::create_hard_link(good, dir / "same.zvx");
    for (const std::filesystem::path& csv :
         {good, good.parent_path() / "." / good.filename(), dir / "same.zvx"}) {
        RunResult over = runZorvel({"--export-year", QString::fromStdString(good.string()),
                                    QString::fromStdString(csv.string())});
        EXPECT_EQ(over.exitCode, 2) << csv;
        EXPECT_TRUE(over.err.contains("is the project file itself; give another CSV file"))
            << over.err.toStdString();
        EXPECT_EQ(text(good), project);
    }
    EXPECT_EQ(runZorvel({"--run"}).exitCode, 2);
    EXPECT_EQ(runZorvel({"--bogus"}).exitCode, 2);
    EXPECT_EQ(runZorvel({"--run", "x.zvx", "--top", "many"}).exitCode, 2);
}

TEST(Program, RefusesWhatIsNotAProjectWithinASecond) {
    ztest::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo.zvx").c_str(), 0600), 0);
    { std::ofstream(dir / "overflow.zvx") << "{\"format\":1e400}"; }
    const std::vector<std::pair<std::string, std::string>> cases{
        {"/dev/zero", "is not a regular file"},
        {(dir / "fifo.zvx").string(), "is not a regular file"},
        {(dir / "overflow.zvx").string(), "key 'format' holds a number too large for a double"}};
    for (const auto& [path, message] : cases) {
        QElapsedTimer clock;
        clock.start();
        RunResult r = runZorvel({"--run", QString::fromStdString(path)});
        EXPECT_LT(clock.elapsed(), 1000) << path;
        EXPECT_EQ(r.exitCode, 1) << path;
        EXPECT_TRUE(r.err.contains(QString::fromStdString(message))) << r.err.toStdString();
    }
    ZorvelWindow w;
    closeModalSoon();
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(w.openProject(QString::fromStdString((dir / "fifo.zvx").string())));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_TRUE(w.statusText()->text().contains("is not a regular file"))
        << w.statusText()->text().toStdString();
}

TEST(Window, OpensCalculatesAndShowsSummaries) {
    ztest::TempDir dir;
    json j = ztest::smallTemplate();
    ztest::setSpace(j, {0, 1, 2}, {0, 1}, {0, 1.5}, {0, 2, 4}, {0, 1});
    auto path = ztest::writeJson(dir, "w.zvx", j);
    ZorvelWindow w;
    w.show();
    ASSERT_TRUE(w.openProject(QString::fromStdString(path.string())));
    EXPECT_TRUE(w.inputsBrowser()->document()->toPlainText().contains("Zorvel input summary"));
    EXPECT_TRUE(w.calculateAction()->isEnabled());
    EXPECT_FALSE(w.stopAction()->isEnabled());
    w.calculate();
    for (int i = 0; i < 200 && w.resultsTable()->rowCount() == 0; ++i) QTest::qWait(50);
    ASSERT_GT(w.resultsTable()->rowCount(), 0);
    EXPECT_EQ(w.resultsTable()->rowCount(), w.project().ResultCount(0));
    EXPECT_EQ(w.progressBar()->value(), 1000);
    EXPECT_TRUE(w.calculateAction()->isEnabled());
    EXPECT_TRUE(
        w.summaryBrowser()->document()->toPlainText().contains("Net present cost by component"));
    EXPECT_EQ(w.resultsTable()->item(0, 2)->text().toStdString(),
              w.project().DescribeSystem(w.project().GetResult(0, 0)));
    w.resultsTable()->selectRow(1);
    EXPECT_TRUE(w.summaryBrowser()->document()->toPlainText().contains(
        QString::fromStdString(w.project().DescribeSystem(w.project().GetResult(0, 1)))));
}

TEST(Window, StopsARunAndRefusesABadFile) {
    ZorvelWindow w;
    w.show();
    ASSERT_TRUE(
        w.openProject(QString::fromStdString((ztest::templateDir() / kTemplates[2]).string())));
    w.calculate();
    EXPECT_TRUE(w.stopAction()->isEnabled());
    EXPECT_FALSE(w.calculateAction()->isEnabled());
    QTest::qWait(30);
    w.stopCalculation();
    EXPECT_EQ(w.project().IsCalculating(), 0);
    EXPECT_FALSE(w.stopAction()->isEnabled());
    EXPECT_TRUE(w.statusText()->text().contains("stopped"));
    EXPECT_EQ(w.resultsTable()->rowCount(), 0);

    ztest::TempDir dir;
    json bad = ztest::smallTemplate();
    bad["site"]["latitude"] = "north";
    auto badPath = ztest::writeJson(dir, "bad.zvx", bad);
    closeModalSoon();
    EXPECT_FALSE(w.openProject(QString::fromStdString(badPath.string())));
    EXPECT_TRUE(w.statusText()->text().contains("site.latitude"))
        << w.statusText()->text().toStdString();
    EXPECT_EQ(w.project().Name(), "Large village (Pallix)");  // the open project stays
}
