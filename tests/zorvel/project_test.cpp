// Every automation operation, the calculation's threads and stop, file round trips and every
// bad-file error, and the HTML pages.
#include <gtest/gtest.h>

#include <QTextBrowser>
#include <QTextDocument>
#include <chrono>
#include <set>
#include <thread>

#include "tests/zorvel/zorvel_test_util.h"

using namespace zorvel;
using ztest::errorOf;
using ztest::json;

namespace {

std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Every key path of a JSON document, objects and arrays included (arrays of numbers by element).
void keyPaths(const json& j, const std::string& path, std::vector<std::string>& out) {
    if (j.is_object()) {
        for (auto it = j.begin(); it != j.end(); ++it) {
            std::string p = path.empty() ? it.key() : path + "." + it.key();
            out.push_back(p);
            keyPaths(it.value(), p, out);
        }
    }
}

json* at(json& j, const std::string& path) {
    json* cur = &j;
    std::size_t start = 0;
    while (true) {
        std::size_t dot = path.find('.', start);
        std::string key =
            path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        cur = &(*cur)[key];
        if (dot == std::string::npos) return cur;
        start = dot + 1;
    }
}

void eraseAt(json& j, const std::string& path) {
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) {
        j.erase(path);
    } else {
        at(j, path.substr(0, dot))->erase(path.substr(dot + 1));
    }
}

}  // namespace

// ----- the automation operations, in the model window's order -----

TEST(Automation, EveryOperationInTheModelWindowsOrder) {
    ztest::TempDir dir;
    json j = ztest::smallTemplate();
    ztest::setSpace(j, {0, 1, 2}, {0, 1}, {0, 1.5}, {0, 2, 4}, {0, 1});
    auto path = ztest::writeJson(dir, "Small.zvx", j);

    Project p;
    p.OpenFile(path);      // 1
    p.SetLatitude(-7.3f);  // 2
    EXPECT_FLOAT_EQ(p.GetLatitude(), -7.3f);
    p.SetLongitude(-80.9f);
    EXPECT_FLOAT_EQ(p.GetLongitude(), -80.9f);
    p.SetRealDiscountRate(5.0f);  // 3
    EXPECT_FLOAT_EQ(p.GetRealDiscountRate(), 5.0f);
    p.SetCapacityShortage(5.0f);
    EXPECT_FLOAT_EQ(p.GetCapacityShortage(), 5.0f);
    Fuel diesel = p.GetFuel("Diesel");  // 4
    diesel.SetPrice(0.40f);
    p.PutFuel("Diesel", diesel);
    EXPECT_FLOAT_EQ(p.GetFuel("Diesel").GetPrice(), 0.40f);
    std::optional<SolarResource> solar = p.GetSolarResource();  // 5
    ASSERT_TRUE(solar.has_value());
    const std::array<float, 12> radiation{5.1f, 5.5f, 5.9f, 6.0f, 5.6f, 5.0f,
                                          4.8f, 5.0f, 5.2f, 5.3f, 5.0f, 4.9f};
    solar->SetMonthlyRadiation(p.GetLatitude(), radiation);
    p.PutSolarResource(*solar);
    EXPECT_EQ(p.GetSolarResource()->MonthlyRadiation(), radiation);
    EXPECT_FLOAT_EQ(p.GetSolarResource()->Latitude(), -7.3f);
    std::optional<WindResource> wind = p.GetWindResource();  // 6
    ASSERT_TRUE(wind.has_value());
    wind->SetAltitude(511.0f);
    wind->SetAutocorrelation(0.88f);
    wind->SetWK(2.2f);
    wind->SetPatternStrength(0.3f);
    wind->SetPeakHour(14);
    const std::array<float, 12> speeds{6.1f, 6.3f, 6.0f, 5.5f, 5.0f, 4.8f,
                                       5.0f, 5.2f, 5.4f, 5.6f, 5.9f, 6.0f};
    wind->SetMonthlySpeeds(speeds);
    p.PutWindResource(*wind);
    WindResource back = *p.GetWindResource();
    EXPECT_FLOAT_EQ(back.Altitude(), 511.0f);
    EXPECT_FLOAT_EQ(back.Autocorrelation(), 0.88f);
    EXPECT_FLOAT_EQ(back.WK(), 2.2f);
    EXPECT_FLOAT_EQ(back.PatternStrength(), 0.3f);
    EXPECT_EQ(back.PeakHour(), 14);
    EXPECT_EQ(back.MonthlySpeeds(), speeds);
    EXPECT_EQ(back.GetMode(), WindResource::Mode::MonthlySpeeds);
    std::string old = p.GetNotes();  // 7
    p.SetNotes("Zorvel file run by Pallix_ZORVEL on 12/8/2026\r\n\r\n" + old);
    EXPECT_EQ(p.GetNotes().substr(0, 35), "Zorvel file run by Pallix_ZORVEL on");
    auto working = dir / "user_Small.zvx";
    p.SaveFileAs(working);  // 8
    EXPECT_TRUE(std::filesystem::exists(working));
    EXPECT_EQ(p.InputsComplete(), 1);  // 9
    EXPECT_EQ(p.IsCalculating(), 0);   // 10
    p.StartCalculation();
    int polls = 0;
    float last = 0;
    while (p.IsCalculating() == 1) {
        float pc = p.PercentComplete();
        EXPECT_GE(pc, last);
        EXPECT_LE(pc, 100.0f);
        last = pc;
        ++polls;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_FLOAT_EQ(p.PercentComplete(), 100.0f);
    p.StopCalculation();                                           // harmless after the end
    EXPECT_NE(p.WriteInputSummary(dir / "InputSummary.html"), 0);  // 11
    int n = p.ResultCount(0);                                      // 12
    ASSERT_GT(n, 1);
    double previous = -1;
    for (int i = 0; i < n; ++i) {
        Result r = p.GetResult(0, i);
        EXPECT_TRUE(r.feasible);
        EXPECT_GE(r.NetPresentCost(), previous);
        previous = r.NetPresentCost();
        std::int16_t code = r.SystemTypeCode();
        EXPECT_GT(code, 0);
        EXPECT_LT(code, 16);
        EXPECT_FALSE(p.DescribeSystem(r).empty());
        std::int32_t colour = p.SystemTypeColor(code);
        EXPECT_GE(colour, 0);
        EXPECT_LE(colour, 0xFFFFFF);
        if (i < 6) {
            auto page = dir / ("SystemSummary" + std::to_string(i) + ".html");
            p.WriteSystemSummary(page, r);
            EXPECT_NE(readFile(page).find("Net present cost"), std::string::npos);
        }
    }
    // The saved working file holds the inputs that were set.
    Project again;
    again.OpenFile(working);
    EXPECT_FLOAT_EQ(again.GetLatitude(), -7.3f);
    EXPECT_FLOAT_EQ(again.GetFuel("Diesel").GetPrice(), 0.40f);
    EXPECT_EQ(again.GetWindResource()->MonthlySpeeds(), speeds);
    EXPECT_EQ(again.GetNotes(), p.GetNotes());
}

TEST(Automation, DescribeSystemAndTypeCodes) {
    ztest::TempDir dir;
    json j = ztest::loadTemplate("Medium_village_Pallix.zvx");
    Project p;
    p.OpenFile(ztest::writeJson(dir, "m.zvx", j));
    Result r;
    r.pvKw = 3;
    r.windCount = 1;
    r.dieselKw = 5;
    r.batteryCount = 8;
    r.converterKw = 3;
    EXPECT_EQ(p.DescribeSystem(r),
              "3 kW PV, 1 x 10 kW wind, 5 kW diesel, 8 batteries, 3 kW converter");
    r.dispatch = 1;
    EXPECT_EQ(p.DescribeSystem(r),
              "3 kW PV, 1 x 10 kW wind, 5 kW diesel, 8 batteries, 3 kW converter (cycle charging)");
    Result d;
    d.dieselKw = 12;
    EXPECT_EQ(p.DescribeSystem(d), "12 kW diesel");
    Result b;
    b.pvKw = 1.5;
    b.batteryCount = 1;
    b.converterKw = 1;
    EXPECT_EQ(p.DescribeSystem(b), "1.5 kW PV, 1 battery, 1 kW converter");

    std::set<std::int32_t> colours;
    for (std::int16_t code = 0; code < 16; ++code) colours.insert(p.SystemTypeColor(code));
    EXPECT_EQ(colours.size(), 16u);  // a distinct colour per code
    EXPECT_EQ(p.SystemTypeColor(4), 150 + 256 * 75 + 65536 * 40);
    EXPECT_EQ(p.SystemTypeColor(99), p.SystemTypeColor(0));
    EXPECT_EQ(Project::SystemTypeName(kTypePV | kTypeDiesel | kTypeBattery), "PV/Diesel/Battery");
    EXPECT_EQ(Project::SystemTypeName(kTypeWind), "Wind");
}

TEST(Automation, ResourcesAreEmptyWhenNoneIsGiven) {
    ztest::TempDir dir;
    json j = ztest::smallTemplate();
    j["solar"] = nullptr;
    j["wind"] = nullptr;
    Project p;
    p.OpenFile(ztest::writeJson(dir, "none.zvx", j));
    EXPECT_FALSE(p.GetSolarResource().has_value());
    EXPECT_FALSE(p.GetWindResource().has_value());
    EXPECT_EQ(p.InputsComplete(), 0);
    EXPECT_NE(p.MissingInputs().find("solar"), std::string::npos);
    EXPECT_NE(errorOf([&] { p.StartCalculation(); }).find("not complete"), std::string::npos);
    // The caller creates new resource objects.
    std::optional<SolarResource> s = p.GetSolarResource();
    if (!s) s.emplace();
    const std::array<float, 12> r{5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5};
    s->SetMonthlyRadiation(10.0f, r);
    p.PutSolarResource(*s);
    std::optional<WindResource> w = p.GetWindResource();
    if (!w) w.emplace();
    w->SetAltitude(100);
    w->SetFromPowerDensity(300.0f, 100.0f, 2.0f);
    p.PutWindResource(*w);
    EXPECT_EQ(p.GetWindResource()->GetMode(), WindResource::Mode::PowerDensity);
    EXPECT_FLOAT_EQ(p.GetWindResource()->PowerDensity(), 300.0f);
    EXPECT_EQ(p.InputsComplete(), 1);
    // A new object that was never set cannot be stored.
    EXPECT_NE(errorOf([&] { p.PutSolarResource(SolarResource()); }).find("SetMonthlyRadiation"),
              std::string::npos);
    EXPECT_NE(errorOf([&] { p.PutWindResource(WindResource()); }).find("SetMonthlySpeeds"),
              std::string::npos);
    // The power-density mode survives a save.
    p.SaveFileAs(dir / "pd.zvx");
    Project q;
    q.OpenFile(dir / "pd.zvx");
    EXPECT_EQ(q.GetWindResource()->GetMode(), WindResource::Mode::PowerDensity);
    EXPECT_FLOAT_EQ(q.GetWindResource()->PowerDensity(), 300.0f);
}

TEST(Automation, FailuresCarryADescription) {
    Project p;
    EXPECT_NE(errorOf([&] { p.SetLatitude(1); }).find("OpenFile"), std::string::npos);
    EXPECT_NE(errorOf([&] { p.GetNotes(); }).find("no project is open"), std::string::npos);
    EXPECT_EQ(p.InputsComplete(), 0);
    EXPECT_EQ(p.IsCalculating(), 0);
    EXPECT_EQ(p.PercentComplete(), 0.0f);
    EXPECT_NO_THROW(p.StopCalculation());
    EXPECT_EQ(p.ResultCount(0), 0);

    ztest::TempDir dir;
    p.OpenFile(ztest::writeJson(dir, "s.zvx", ztest::smallTemplate()));
    EXPECT_NE(errorOf([&] {
                  p.SetLatitude(91);
              }).find("SetLatitude: the latitude must be from -90 to 90"),
              std::string::npos);
    EXPECT_NE(errorOf([&] { p.SetLongitude(-181); }).find("SetLongitude"), std::string::npos);
    EXPECT_NE(errorOf([&] { p.SetRealDiscountRate(150); }).find("SetRealDiscountRate"),
              std::string::npos);
    EXPECT_NE(errorOf([&] { p.SetCapacityShortage(-1); }).find("SetCapacityShortage"),
              std::string::npos);
    EXPECT_NE(errorOf([&] { p.GetFuel("Petrol"); }).find("no fuel named 'Petrol'"),
              std::string::npos);
    EXPECT_NE(errorOf([&] {
                  Fuel f;
                  f.SetPrice(-0.1f);
              }).find("SetPrice"),
              std::string::npos);
    SolarResource s;
    const std::vector<float> eleven(11, 5.0f);
    EXPECT_NE(errorOf([&] { s.SetMonthlyRadiation(10, eleven); }).find("exactly 12"),
              std::string::npos);
    std::vector<float> bad(12, 5.0f);
    bad[3] = -1;
    EXPECT_NE(errorOf([&] { s.SetMonthlyRadiation(10, bad); }).find("April"), std::string::npos);
    WindResource w;
    EXPECT_NE(errorOf([&] { w.SetWK(0); }).find("SetWK"), std::string::npos);
    EXPECT_NE(errorOf([&] { w.SetPeakHour(25); }).find("SetPeakHour"), std::string::npos);
    EXPECT_NE(errorOf([&] { w.SetAutocorrelation(1.5f); }).find("SetAutocorrelation"),
              std::string::npos);
    EXPECT_NE(errorOf([&] { w.SetPatternStrength(-0.5f); }).find("SetPatternStrength"),
              std::string::npos);
    EXPECT_NE(errorOf([&] { w.SetAltitude(20000); }).find("SetAltitude"), std::string::npos);
    EXPECT_NE(errorOf([&] { w.SetMonthlySpeeds(eleven); }).find("SetMonthlySpeeds"),
              std::string::npos);
    EXPECT_NE(errorOf([&] { w.SetFromPowerDensity(-5, 0, 2); }).find("SetFromPowerDensity"),
              std::string::npos);
    EXPECT_NO_THROW(w.SetPeakHour(24));
    EXPECT_EQ(w.PeakHour(), 0);
    EXPECT_NE(errorOf([&] { p.GetResult(0, 0); }).find("index 0 is outside result list 0"),
              std::string::npos);
    EXPECT_NE(errorOf([&] { p.ResultCount(2); }).find("no result list 2"), std::string::npos);
    EXPECT_NE(errorOf([&] {
                  p.SaveFileAs(dir / "no_such_folder" / "x.zvx");
              }).find("SaveFileAs: cannot write"),
              std::string::npos);
    EXPECT_NE(errorOf([&] {
                  p.WriteInputSummary(dir / "no_such_folder" / "x.html");
              }).find("cannot write"),
              std::string::npos);
}

// ----- the calculation's threads -----

TEST(Calculation, StopTakesEffectWithin100ms) {
    ztest::TempDir dir;
    json j = ztest::loadTemplate("Large_village_Pallix.zvx");  // thousands of systems
    Project p;
    p.OpenFile(ztest::writeJson(dir, "large.zvx", j));
    p.StartCalculation();
    EXPECT_EQ(p.IsCalculating(), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(p.IsCalculating(), 1);
    EXPECT_LT(p.PercentComplete(), 100.0f);
    EXPECT_NE(errorOf([&] { p.SetLatitude(3); }).find("a calculation is running"),
              std::string::npos);
    EXPECT_NE(errorOf([&] { p.ResultCount(0); }).find("a calculation is running"),
              std::string::npos);
    EXPECT_NE(errorOf([&] { p.StartCalculation(); }).find("a calculation is running"),
              std::string::npos);
    auto t0 = std::chrono::steady_clock::now();
    p.StopCalculation();
    double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(ms, 100.0);
    EXPECT_EQ(p.IsCalculating(), 0);
    EXPECT_EQ(p.ResultCount(0), 0);  // a stopped run has no results
    EXPECT_LT(p.SystemsDone(), p.SystemsToTry());
}

TEST(Calculation, StopFromAnotherThreadWhileTheWindowThreadPolls) {
    ztest::TempDir dir;
    Project p;
    p.OpenFile(ztest::writeJson(dir, "large.zvx", ztest::loadTemplate("Large_village_Pallix.zvx")));
    p.StartCalculation();
    std::chrono::steady_clock::time_point stopAt;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        stopAt = std::chrono::steady_clock::now();
        p.StopCalculation();
    });
    while (p.IsCalculating() == 1) p.PercentComplete();
    auto ended = std::chrono::steady_clock::now();
    stopper.join();
    EXPECT_LT((std::chrono::duration<double, std::milli>(ended - stopAt).count()), 100.0);
    EXPECT_EQ(p.ResultCount(0), 0);
    // A new run after a stop completes.
    json j = ztest::smallTemplate();
    ztest::setSpace(j, {0, 1}, {0}, {1.5}, {0, 2}, {0, 1});
    p.OpenFile(ztest::writeJson(dir, "small.zvx", j));
    p.CalculateBlocking();
    EXPECT_GT(p.ResultCount(0), 0);
}

TEST(Calculation, DestroyingARunningProjectStopsIt) {
    ztest::TempDir dir;
    auto p = std::make_unique<Project>();
    p->OpenFile(
        ztest::writeJson(dir, "large.zvx", ztest::loadTemplate("Large_village_Pallix.zvx")));
    p->StartCalculation();
    auto t0 = std::chrono::steady_clock::now();
    p.reset();
    EXPECT_LT(
        (std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count()),
        100.0);
}

// ----- files -----

TEST(Files, RoundTripKeepsEverything) {
    ztest::TempDir dir;
    for (const char* name :
         {"Small_village_Pallix.zvx", "Medium_village_Pallix.zvx", "Large_village_Pallix.zvx"}) {
        Project p;
        p.OpenFile(ztest::templateDir() / name);
        p.SaveFileAs(dir / "copy.zvx");
        ProjectData a = readProject(ztest::templateDir() / name);
        ProjectData b = readProject(dir / "copy.zvx");
        EXPECT_EQ(serializeProject(a), serializeProject(b)) << name;
        // Saving the copy again gives the same bytes.
        Project q;
        q.OpenFile(dir / "copy.zvx");
        q.SaveFileAs(dir / "copy2.zvx");
        EXPECT_EQ(readFile(dir / "copy.zvx"), readFile(dir / "copy2.zvx")) << name;
        // And the template's JSON is what was written, value for value.
        json original = ztest::loadTemplate(name);
        json copy = json::parse(readFile(dir / "copy.zvx"));
        EXPECT_TRUE(original == copy) << name;  // numbers compare by value (0 == 0.0)
    }
    // A load given by month and text with every kind of character survive too.
    json j = ztest::smallTemplate();
    json monthly = json::array();
    for (int m = 0; m < 12; ++m) {
        std::vector<double> s(24, 1.0 + m);
        s[19] = 5.0;
        monthly.push_back(s);
    }
    j["load"]["shape"] = {{"monthly", monthly}};
    j["notes"] = "Zeile 1\r\n<b>\"quoted\" & 'single'</b> \xC3\xA9\xE2\x82\xAC";
    auto path = ztest::writeJson(dir, "monthly.zvx", j);
    Project p;
    p.OpenFile(path);
    EXPECT_EQ(p.GetNotes(), j["notes"].get<std::string>());
    p.SaveFileAs(dir / "monthly2.zvx");
    EXPECT_TRUE(json::parse(readFile(dir / "monthly2.zvx")) == j);
}

TEST(Files, EveryMissingKeyWrongTypeAndUnknownKeyIsNamed) {
    ztest::TempDir dir;
    const json base = ztest::smallTemplate();
    std::vector<std::string> paths;
    keyPaths(base, "", paths);
    ASSERT_GT(paths.size(), 80u);
    int checked = 0;
    for (const std::string& key : paths) {
        SCOPED_TRACE(key);
        bool underFuels =
            key.rfind("fuels.", 0) == 0 && std::count(key.begin(), key.end(), '.') == 1;
        // Missing (a fuel's name is free: removing the only fuel leaves the generator's fuel
        // unknown).
        json missing = base;
        eraseAt(missing, key);
        std::string e = errorOf([&] { parseProject(missing.dump(), "bad.zvx"); });
        if (key == "hydro" || key == "components.hydro" ||
            key == "site.ambient_temperature_reference_elevation_m") {
            EXPECT_EQ(e, "") << "optional: older projects have none";
        } else if (underFuels) {
            EXPECT_NE(e.find("components.diesel.fuel"), std::string::npos) << e;
        } else if (key.rfind("load.shape.", 0) == 0) {
            EXPECT_NE(e.find("load.shape"), std::string::npos) << e;
        } else {
            EXPECT_NE(e.find("missing key '" + key + "'"), std::string::npos) << e;
        }
        if (!e.empty()) {
            EXPECT_EQ(e.find("Project file 'bad.zvx'"), 0u) << e;
        }
        // Wrong type: a text where something else is expected, a number where a text is.
        json wrong = base;
        json& v = *at(wrong, key);
        bool isText = v.is_string();
        v = isText ? json(12345) : json("not a number");
        e = errorOf([&] { parseProject(wrong.dump(), "bad.zvx"); });
        EXPECT_NE(e.find("key '" + key), std::string::npos) << e;
        if (isText && key != "format") {
            EXPECT_NE(e.find("must be a text"), std::string::npos) << e;
        }
        // Unknown keys inside every object.
        json probe = base;
        if (at(probe, key)->is_object() && key != "fuels") {  // fuels' keys are fuel names
            json extra = base;
            (*at(extra, key))["bogus_key"] = 1;
            e = errorOf([&] { parseProject(extra.dump(), "bad.zvx"); });
            EXPECT_NE(e.find("unknown key '" + key + ".bogus_key'"), std::string::npos) << e;
        }
        ++checked;
    }
    EXPECT_EQ(checked, static_cast<int>(paths.size()));
    json extra = base;
    extra["colour"] = "blue";
    EXPECT_NE(errorOf([&] { parseProject(extra.dump(), "bad.zvx"); }).find("unknown key 'colour'"),
              std::string::npos);
}

TEST(Files, BadValuesAndBadFilesGiveClearErrors) {
    ztest::TempDir dir;
    auto expectError = [&](json j, const std::string& text) {
        std::string e = errorOf([&] { parseProject(j.dump(), "bad.zvx"); });
        EXPECT_NE(e.find(text), std::string::npos) << "expected '" << text << "' in: " << e;
    };
    json j = ztest::smallTemplate();
    json k = j;
    k["format"] = "homer";
    expectError(k, "key 'format' must be \"zorvel-project\"");
    k = j;
    k["version"] = 2;
    expectError(k, "key 'version' must be 1");
    k = j;
    k["site"]["latitude"] = 95;
    expectError(k, "key 'site.latitude' must be from -90 to 90 (is 95)");
    k = j;
    k["solar"]["monthly_kwh_per_m2_day"].erase(0);
    expectError(k, "key 'solar.monthly_kwh_per_m2_day' must hold 12 values (holds 11)");
    k = j;
    k["solar"]["monthly_kwh_per_m2_day"][4] = "x";
    expectError(k, "key 'solar.monthly_kwh_per_m2_day[4]' must be a number");
    k = j;
    k["components"]["battery"]["counts"] = {0, 4, 2};
    expectError(k, "key 'components.battery.counts[2]' must be larger");
    k = j;
    k["components"]["battery"]["counts"] = {0, 1.5};
    expectError(k, "key 'components.battery.counts[1]' must be a whole number");
    k = j;
    k["components"]["pv"]["sizes_kw"] = json::array();
    expectError(k, "key 'components.pv.sizes_kw' must hold 1 to 1000 values (holds 0)");
    k = j;
    k["components"]["wind_turbine"]["power_curve"][3] = {1.0};
    expectError(k, "key 'components.wind_turbine.power_curve[3]' must be a pair");
    k = j;
    k["components"]["diesel"]["fuel"] = "Petrol";
    expectError(k, "key 'components.diesel.fuel' names the fuel \"Petrol\"");
    k = j;
    k["dispatch"]["strategies"] = {"load_following", "peak_shaving"};
    expectError(k, "key 'dispatch.strategies[1]' must be \"load_following\" or \"cycle_charging\"");
    k = j;
    k["wind"]["mode"] = "guess";
    expectError(k, "key 'wind.mode' must be");
    k = j;
    k["load"]["shape"] = json::object();
    expectError(k, "key 'load.shape' must hold either 'weekday' and 'weekend' or 'monthly'");
    k = j;
    k["load"]["shape"]["weekday"] = std::vector<double>(24, 0.0);
    expectError(k, "key 'load.shape.weekday' must hold at least one value above 0");
    k = j;
    k["site"] = 5;
    expectError(k, "key 'site' must be an object");

    // Not JSON, not there, a folder, an empty file.
    std::string e = errorOf([&] { parseProject("{ \"format\": ", "broken.zvx"); });
    EXPECT_NE(e.find("Project file 'broken.zvx' is not valid JSON"), std::string::npos) << e;
    e = errorOf([&] { parseProject("[1, 2]", "list.zvx"); });
    EXPECT_NE(e.find("must hold a JSON object"), std::string::npos) << e;
    Project p;
    e = errorOf([&] { p.OpenFile(dir / "nothing_here.zvx"); });
    EXPECT_NE(e.find("does not exist"), std::string::npos) << e;
    e = errorOf([&] { p.OpenFile(dir.path); });
    EXPECT_NE(e.find("is a folder"), std::string::npos) << e;
    std::ofstream(dir / "empty.zvx").close();
    e = errorOf([&] { p.OpenFile(dir / "empty.zvx"); });
    EXPECT_NE(e.find("is not valid JSON"), std::string::npos) << e;

    // A failed open leaves the project as it was.
    p.OpenFile(ztest::templateDir() / "Medium_village_Pallix.zvx");
    json bad = ztest::smallTemplate();
    bad["economics"]["real_discount_rate_percent"] = "six";
    EXPECT_THROW(p.OpenFile(ztest::writeJson(dir, "bad.zvx", bad)), Error);
    EXPECT_EQ(p.Name(), "Medium village (Pallix)");
    EXPECT_EQ(p.InputsComplete(), 1);
}

// ----- HTML -----

TEST(Html, PagesAreEscapedAndRenderInQTextBrowser) {
    ztest::TempDir dir;
    json j = ztest::smallTemplate();
    ztest::setSpace(j, {0, 1.5}, {0, 1}, {0, 1.5}, {0, 3}, {0, 1});
    j["notes"] = "<script>alert('x')</script> & <b>bold</b>";
    j["name"] = "Village <A&B>";
    Project p;
    p.OpenFile(ztest::writeJson(dir, "h.zvx", j));
    p.CalculateBlocking();
    ASSERT_GT(p.ResultCount(0), 0);
    p.WriteInputSummary(dir / "in.html");
    p.WriteSystemSummary(dir / "sys.html", p.GetResult(0, 0));
    for (const char* file : {"in.html", "sys.html"}) {
        SCOPED_TRACE(file);
        std::string html = readFile(dir / file);
        EXPECT_EQ(html.find("<script"), std::string::npos);
        EXPECT_EQ(html.find("<svg"), std::string::npos);
        EXPECT_NE(html.find("Village &lt;A&amp;B&gt;"), std::string::npos);
        EXPECT_NE(html.find("<table"), std::string::npos);
        EXPECT_NE(html.find("bgcolor=\"#"), std::string::npos);
        QTextBrowser browser;
        browser.setHtml(QString::fromStdString(html));
        QString text = browser.document()->toPlainText();
        EXPECT_TRUE(text.contains("Village <A&B>"));
        if (std::string(file) == "in.html") {
            EXPECT_NE(html.find("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; "
                                "&lt;b&gt;bold&lt;/b&gt;"),
                      std::string::npos);
            EXPECT_TRUE(text.contains("<script>alert('x')</script> & <b>bold</b>"));
            EXPECT_TRUE(text.contains("Solar and wind resource by month"));
            EXPECT_TRUE(text.contains("December"));
            EXPECT_TRUE(text.contains("Synthetic year: Weibull k"));
        } else {
            EXPECT_TRUE(text.contains("Net present cost by component"));
            EXPECT_TRUE(text.contains("Monthly production by source"));
            EXPECT_TRUE(text.contains("Levelised cost of energy"));
            EXPECT_TRUE(text.contains("Renewable fraction"));
        }
    }
    EXPECT_EQ(htmlEscape("a<b>&\"'"), "a&lt;b&gt;&amp;&quot;&#39;");
}
