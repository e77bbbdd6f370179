// Reading and writing .zvx project files (JSON; the format is documented in zorvel/README.md).
// Reading is strict: every key is required, unknown keys and wrong types are errors, and an error
// names the key by its path, e.g. "components.battery.counts[2]".
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "zorvel/model.h"

namespace zorvel {

namespace {

using json = nlohmann::json;
using ojson = nlohmann::ordered_json;

constexpr const char* kFormatName = "zorvel-project";
constexpr int kFormatVersion = 1;

std::string fmt(double v) {
    std::ostringstream s;
    s << v;
    return s.str();
}

class Reader {
  public:
    Reader(const json& j, std::string path, const std::string& source)
        : j_(j), path_(std::move(path)), source_(source) {
        if (!j_.is_object()) fail(path_, "must be an object");
    }

    [[noreturn]] void fail(const std::string& key, const std::string& what) const {
        throw Error("Project file '" + source_ + "': key '" + key + "' " + what);
    }
    std::string keyPath(const std::string& key) const {
        return path_.empty() ? key : path_ + "." + key;
    }

    const json& get(const std::string& key) {
        auto it = j_.find(key);
        if (it == j_.end())
            throw Error("Project file '" + source_ + "': missing key '" + keyPath(key) + "'");
        used_.insert(key);
        return *it;
    }
    bool isNull(const std::string& key) { return get(key).is_null(); }
    bool has(const std::string& key) const { return j_.contains(key); }

    double numberAt(const json& v, const std::string& where, double lo, double hi) const {
        if (!v.is_number()) fail(where, "must be a number");
        double d = v.get<double>();
        if (!std::isfinite(d) || d < lo || d > hi)
            fail(where, "must be from " + fmt(lo) + " to " + fmt(hi) + " (is " + fmt(d) + ")");
        return d;
    }
    double number(const std::string& key, double lo, double hi) {
        return numberAt(get(key), keyPath(key), lo, hi);
    }
    long long integerAt(const json& v, const std::string& where, long long lo, long long hi) const {
        if (!v.is_number_integer()) fail(where, "must be a whole number");
        long long i;
        if (v.is_number_unsigned()) {
            auto u = v.get<unsigned long long>();
            if (u > static_cast<unsigned long long>(hi))
                fail(where, "must be from " + std::to_string(lo) + " to " + std::to_string(hi));
            i = static_cast<long long>(u);
        } else {
            i = v.get<long long>();
        }
        if (i < lo || i > hi)
            fail(where, "must be from " + std::to_string(lo) + " to " + std::to_string(hi) +
                            " (is " + std::to_string(i) + ")");
        return i;
    }
    long long integer(const std::string& key, long long lo, long long hi) {
        return integerAt(get(key), keyPath(key), lo, hi);
    }
    std::string text(const std::string& key) {
        const json& v = get(key);
        if (!v.is_string()) fail(keyPath(key), "must be a text");
        return v.get<std::string>();
    }
    Reader object(const std::string& key) { return Reader(get(key), keyPath(key), source_); }

    const json& array(const std::string& key, std::size_t minSize, std::size_t maxSize) {
        const json& v = get(key);
        if (!v.is_array()) fail(keyPath(key), "must be a list");
        if (v.size() < minSize || v.size() > maxSize) {
            if (minSize == maxSize)
                fail(keyPath(key), "must hold " + std::to_string(minSize) + " values (holds " +
                                       std::to_string(v.size()) + ")");
            fail(keyPath(key), "must hold " + std::to_string(minSize) + " to " +
                                   std::to_string(maxSize) + " values (holds " +
                                   std::to_string(v.size()) + ")");
        }
        return v;
    }
    std::vector<double> numbers(const std::string& key, std::size_t minSize, std::size_t maxSize,
                                double lo, double hi) {
        const json& v = array(key, minSize, maxSize);
        std::vector<double> out;
        for (std::size_t i = 0; i < v.size(); ++i)
            out.push_back(numberAt(v[i], keyPath(key) + "[" + std::to_string(i) + "]", lo, hi));
        return out;
    }
    template <std::size_t N>
    std::array<double, N> fixed(const std::string& key, double lo, double hi) {
        auto v = numbers(key, N, N, lo, hi);
        std::array<double, N> a{};
        for (std::size_t i = 0; i < N; ++i) a[i] = v[i];
        return a;
    }
    // A size list: ascending, no repeats, at least one entry.
    std::vector<double> sizes(const std::string& key, double hi) {
        auto v = numbers(key, 1, 1000, 0, hi);
        for (std::size_t i = 1; i < v.size(); ++i)
            if (!(v[i] > v[i - 1]))
                fail(keyPath(key) + "[" + std::to_string(i) + "]",
                     "must be larger than the value before it (sizes are listed in ascending "
                     "order)");
        return v;
    }
    std::vector<int> counts(const std::string& key, int hi) {
        const json& v = array(key, 1, 1000);
        std::vector<int> out;
        for (std::size_t i = 0; i < v.size(); ++i) {
            std::string where = keyPath(key) + "[" + std::to_string(i) + "]";
            out.push_back(static_cast<int>(integerAt(v[i], where, 0, hi)));
            if (i > 0 && out[i] <= out[i - 1])
                fail(where,
                     "must be larger than the value before it (counts are listed in ascending "
                     "order)");
        }
        return out;
    }

    // Every key present must have been read.
    void finish() const {
        for (auto it = j_.begin(); it != j_.end(); ++it)
            if (!used_.count(it.key()))
                throw Error("Project file '" + source_ + "': unknown key '" + keyPath(it.key()) +
                            "'");
    }
    const json& raw() const { return j_; }
    const std::string& path() const { return path_; }

  private:
    const json& j_;
    std::string path_;
    const std::string& source_;
    std::set<std::string> used_;
};

constexpr double kBig = 1e12;

// Parses JSON and, on failure, names the key being read: a number too large for a double, a
// syntax error or a bad UTF-8 byte are all reported with the key path where they occur.
json parseJson(const std::string& text, const std::string& source) {
    struct Level {
        bool array;
        std::string key;
        std::size_t index = 0;
    };
    std::vector<Level> levels;
    auto where = [&] {
        std::string path;
        for (const Level& l : levels) {
            if (l.array)
                path += "[" + std::to_string(l.index) + "]";
            else if (!l.key.empty())
                path += (path.empty() ? "" : ".") + l.key;
        }
        return path;
    };
    auto elementDone = [&] {
        if (!levels.empty() && levels.back().array) ++levels.back().index;
    };
    json::parser_callback_t track = [&](int, json::parse_event_t event, json& parsed) {
        switch (event) {
            case json::parse_event_t::object_start:
                levels.push_back({false, ""});
                break;
            case json::parse_event_t::array_start:
                levels.push_back({true, ""});
                break;
            case json::parse_event_t::key:
                levels.back().key = parsed.get<std::string>();
                break;
            case json::parse_event_t::object_end:
            case json::parse_event_t::array_end:
                levels.pop_back();
                elementDone();
                break;
            case json::parse_event_t::value:
                elementDone();
                break;
        }
        return true;
    };
    try {
        return json::parse(text, track);
    } catch (const json::exception& e) {
        const std::string key = where();
        std::string what = e.what();
        if (auto p = what.find("] "); p != std::string::npos)
            what = what.substr(p + 2);      // the library's tag
        if (e.id == 406 && !key.empty()) {  // number overflow
            auto q = what.find('\'');
            throw Error("Project file '" + source + "': key '" + key +
                        "' holds a number too large for a double" +
                        (q == std::string::npos
                             ? ""
                             : " (" + what.substr(q + 1, what.size() - q - 2) + ")"));
        }
        throw Error("Project file '" + source + "' is not valid JSON" +
                    (key.empty() ? "" : " near key '" + key + "'") + ": " + what);
    }
}

void readShape(Reader& r, const std::string& key, std::array<double, 24>& out) {
    out = r.fixed<24>(key, 0, kBig);
    double sum = 0;
    for (double v : out) sum += v;
    if (sum <= 0) r.fail(r.keyPath(key), "must hold at least one value above 0");
}

}  // namespace

ProjectData parseProject(const std::string& text, const std::string& source) {
    json root = parseJson(text, source);
    if (!root.is_object()) throw Error("Project file '" + source + "' must hold a JSON object");

    ProjectData d;
    Reader top(root, "", source);
    if (top.text("format") != kFormatName)
        top.fail("format", std::string("must be \"") + kFormatName + "\"");
    long long version = top.integer("version", 1, 1000000);
    if (version != kFormatVersion)
        top.fail("version", "must be " + std::to_string(kFormatVersion) +
                                " (this Zorvel reads version " + std::to_string(kFormatVersion) +
                                " only; the file has " + std::to_string(version) + ")");
    d.name = top.text("name");
    d.notes = top.text("notes");

    {
        Reader s = top.object("site");
        d.site.latitude = s.number("latitude", -90, 90);
        d.site.longitude = s.number("longitude", -180, 180);
        d.site.elevation = s.number("elevation_m", -500, 9000);
        d.site.ambientTemperature = s.number("ambient_temperature_c", -50, 50);
        if (s.has("ambient_temperature_reference_elevation_m"))  // optional: a template's value
            d.site.temperatureReferenceElevation =
                s.number("ambient_temperature_reference_elevation_m", -500, 9000);
        if (s.has("monthly_ambient_temperature_c"))  // optional: without it, a seasonal swing by
                                                     // latitude
            d.site.monthlyAmbientTemperature =
                s.fixed<12>("monthly_ambient_temperature_c", -60, 60);
        d.site.groundReflectance = s.number("ground_reflectance", 0, 1);
        d.site.windShearExponent = s.number("wind_shear_exponent", 0, 1);
        s.finish();
    }
    {
        Reader e = top.object("economics");
        d.economics.lifetimeYears = e.number("project_lifetime_years", 1, 100);
        d.economics.discountRatePercent = e.number("real_discount_rate_percent", 0, 100);
        d.economics.capacityShortagePercent = e.number("capacity_shortage_percent", 0, 100);
        d.economics.fixedCapital = e.number("system_fixed_capital", 0, kBig);
        d.economics.fixedOmPerYear = e.number("system_fixed_om_per_year", 0, kBig);
        e.finish();
    }
    {
        Reader o = top.object("operating_reserve");
        d.reserve.loadPercent = o.number("load_percent", 0, 100);
        d.reserve.solarPercent = o.number("solar_output_percent", 0, 100);
        d.reserve.windPercent = o.number("wind_output_percent", 0, 100);
        o.finish();
    }
    {
        Reader f = top.object("fuels");
        for (auto it = f.raw().begin(); it != f.raw().end(); ++it) {
            Reader one = f.object(it.key());
            Fuel fuel;
            fuel.SetPrice(static_cast<float>(one.number("price_per_litre", 0, 1000)));
            fuel.densityKgPerL = static_cast<float>(one.number("density_kg_per_litre", 0.1, 2));
            fuel.lowerHeatingValueMJPerKg =
                static_cast<float>(one.number("lower_heating_value_mj_per_kg", 1, 200));
            one.finish();
            d.fuels[it.key()] = fuel;
        }
        f.finish();
    }
    {
        Reader l = top.object("load");
        d.load.averageKWhPerDay = l.number("average_kwh_per_day", 0.001, 1e7);
        Reader shape = l.object("shape");
        const json& sj = shape.raw();
        if (sj.contains("monthly")) {
            d.load.byMonth = true;
            const json& m = shape.array("monthly", 12, 12);
            for (int i = 0; i < 12; ++i) {
                std::string where = shape.keyPath("monthly") + "[" + std::to_string(i) + "]";
                if (!m[i].is_array()) shape.fail(where, "must be a list");
                if (m[i].size() != 24)
                    shape.fail(where,
                               "must hold 24 values (holds " + std::to_string(m[i].size()) + ")");
                double sum = 0;
                for (int h = 0; h < 24; ++h) {
                    d.load.monthly[i][h] =
                        shape.numberAt(m[i][h], where + "[" + std::to_string(h) + "]", 0, kBig);
                    sum += d.load.monthly[i][h];
                }
                if (sum <= 0) shape.fail(where, "must hold at least one value above 0");
            }
        } else if (sj.contains("weekday") || sj.contains("weekend")) {
            d.load.byMonth = false;
            readShape(shape, "weekday", d.load.weekday);
            readShape(shape, "weekend", d.load.weekend);
        } else {
            shape.fail(shape.path(), "must hold either 'weekday' and 'weekend' or 'monthly'");
        }
        shape.finish();
        d.load.dayToDayPercent = l.number("day_to_day_variability_percent", 0, 50);
        d.load.hourToHourPercent = l.number("hour_to_hour_variability_percent", 0, 50);
        l.finish();
    }
    if (!top.isNull("solar")) {
        Reader s = top.object("solar");
        float lat = static_cast<float>(s.number("latitude", -90, 90));
        auto m = s.fixed<12>("monthly_kwh_per_m2_day", 0, 12);
        std::array<float, 12> mf{};
        for (int i = 0; i < 12; ++i) mf[i] = static_cast<float>(m[i]);
        s.finish();
        SolarResource sr;
        sr.SetMonthlyRadiation(lat, mf);
        d.solar = sr;
    }
    if (!top.isNull("wind")) {
        Reader w = top.object("wind");
        WindResource wr;
        std::string mode = w.text("mode");
        if (mode != "monthly_speeds" && mode != "power_density")
            w.fail(w.keyPath("mode"), "must be \"monthly_speeds\" or \"power_density\"");
        float altitude = static_cast<float>(w.number("altitude_m", -500, 9000));
        wr.SetAnemometerHeight(static_cast<float>(w.number("anemometer_height_m", 1, 300)));
        float k = static_cast<float>(w.number("weibull_k", 0.5, 10));
        wr.SetAutocorrelation(static_cast<float>(w.number("autocorrelation", 0, 1)));
        wr.SetPatternStrength(static_cast<float>(w.number("diurnal_pattern_strength", 0, 1)));
        wr.SetPeakHour(static_cast<int>(w.integer("peak_hour", 0, 23)));
        auto m = w.fixed<12>("monthly_speeds_m_per_s", 0, 50);
        double pd = w.number("power_density_w_per_m2", 0, 20000);
        w.finish();
        wr.SetAltitude(altitude);
        wr.SetWK(k);
        std::array<float, 12> mf{};
        for (int i = 0; i < 12; ++i) mf[i] = static_cast<float>(m[i]);
        wr.SetMonthlySpeeds(mf);
        if (mode == "power_density") wr.SetFromPowerDensity(static_cast<float>(pd), altitude, k);
        d.wind = wr;
    }
    if (top.has("hydro") && !top.isNull("hydro")) {  // optional: older projects have none
        Reader h = top.object("hydro");
        auto m = h.fixed<12>("monthly_power_kw", 0, HydroResource::kMaxHydroKw);
        h.finish();
        std::array<float, 12> mf{};
        for (int i = 0; i < 12; ++i) mf[i] = static_cast<float>(m[i]);
        HydroResource hr;
        hr.SetMonthlyPower(mf);
        d.hydro = hr;
    }
    {
        Reader c = top.object("components");
        {
            Reader p = c.object("pv");
            d.pv.name = p.text("name");
            d.pv.capitalPerKw = p.number("capital_per_kw", 0, kBig);
            d.pv.replacementPerKw = p.number("replacement_per_kw", 0, kBig);
            d.pv.omPerKwYear = p.number("om_per_kw_year", 0, kBig);
            d.pv.lifetimeYears = p.number("lifetime_years", 1, 100);
            d.pv.deratingPercent = p.number("derating_percent", 1, 100);
            d.pv.temperatureCoefficientPercent =
                p.number("temperature_coefficient_percent_per_c", -2, 0);
            d.pv.noct = p.number("nominal_operating_cell_temperature_c", 20, 80);
            d.pv.sizesKw = p.sizes("sizes_kw", 1e6);
            p.finish();
        }
        {
            Reader t = c.object("wind_turbine");
            d.turbine.name = t.text("name");
            d.turbine.ratedKw = t.number("rated_kw", 0.01, 1e5);
            d.turbine.hubHeight = t.number("hub_height_m", 1, 300);
            const json& pc = t.array("power_curve", 2, 200);
            for (std::size_t i = 0; i < pc.size(); ++i) {
                std::string where = t.keyPath("power_curve") + "[" + std::to_string(i) + "]";
                if (!pc[i].is_array() || pc[i].size() != 2)
                    t.fail(where, "must be a pair [wind speed m/s, power kW]");
                double v = t.numberAt(pc[i][0], where + "[0]", 0, 100);
                double p = t.numberAt(pc[i][1], where + "[1]", 0, 1e5);
                if (i > 0 && !(v > d.turbine.powerCurve.back().first))
                    t.fail(where + "[0]", "must be larger than the wind speed before it");
                d.turbine.powerCurve.emplace_back(v, p);
            }
            d.turbine.capitalPerTurbine = t.number("capital_per_turbine", 0, kBig);
            d.turbine.replacementPerTurbine = t.number("replacement_per_turbine", 0, kBig);
            d.turbine.omPerTurbineYear = t.number("om_per_turbine_year", 0, kBig);
            d.turbine.lifetimeYears = t.number("lifetime_years", 1, 100);
            d.turbine.counts = t.counts("counts", 100000);
            t.finish();
        }
        {
            Reader g = c.object("diesel");
            d.diesel.name = g.text("name");
            d.diesel.fuel = g.text("fuel");
            if (!d.fuels.count(d.diesel.fuel))
                g.fail(g.keyPath("fuel"),
                       "names the fuel \"" + d.diesel.fuel + "\", which is not in 'fuels'");
            d.diesel.capitalPerKw = g.number("capital_per_kw", 0, kBig);
            d.diesel.replacementPerKw = g.number("replacement_per_kw", 0, kBig);
            d.diesel.omPerKwHour = g.number("om_per_kw_operating_hour", 0, kBig);
            d.diesel.costPerStart = g.number("cost_per_start", 0, kBig);
            d.diesel.fuelInterceptLPerHPerKw =
                g.number("fuel_curve_intercept_l_per_hour_per_kw_rated", 0, 2);
            d.diesel.fuelSlopeLPerKWh = g.number("fuel_curve_slope_l_per_kwh", 0.01, 2);
            d.diesel.minimumLoadPercent = g.number("minimum_load_percent", 0, 100);
            d.diesel.lifetimeHours = g.number("lifetime_operating_hours", 100, 1e7);
            d.diesel.sizesKw = g.sizes("sizes_kw", 1e6);
            g.finish();
        }
        {
            Reader b = c.object("battery");
            d.battery.name = b.text("name");
            d.battery.nominalKWh = b.number("nominal_capacity_kwh", 0.01, 1e6);
            d.battery.minimumSocPercent = b.number("minimum_state_of_charge_percent", 0, 99);
            d.battery.roundTripPercent = b.number("round_trip_efficiency_percent", 1, 100);
            d.battery.maxChargeRate = b.number("max_charge_rate_kw_per_kwh", 0.01, 10);
            d.battery.maxDischargeRate = b.number("max_discharge_rate_kw_per_kwh", 0.01, 10);
            d.battery.lifetimeThroughputKWh = b.number("lifetime_throughput_kwh", 0.01, 1e9);
            d.battery.floatLifeYears = b.number("float_life_years", 0.1, 100);
            d.battery.capitalPerBattery = b.number("capital_per_battery", 0, kBig);
            d.battery.replacementPerBattery = b.number("replacement_per_battery", 0, kBig);
            d.battery.omPerBatteryYear = b.number("om_per_battery_year", 0, kBig);
            d.battery.counts = b.counts("counts", 100000);
            b.finish();
        }
        {
            Reader v = c.object("converter");
            d.converter.name = v.text("name");
            d.converter.efficiencyPercent = v.number("efficiency_percent", 1, 100);
            d.converter.capitalPerKw = v.number("capital_per_kw", 0, kBig);
            d.converter.replacementPerKw = v.number("replacement_per_kw", 0, kBig);
            d.converter.omPerKwYear = v.number("om_per_kw_year", 0, kBig);
            d.converter.lifetimeYears = v.number("lifetime_years", 1, 100);
            d.converter.sizesKw = v.sizes("sizes_kw", 1e6);
            v.finish();
        }
        if (c.has("hydro")) {  // optional: older projects have no hydro plant
            Reader h = c.object("hydro");
            HydroData hp;
            hp.name = h.text("name");
            hp.capitalPerKw = h.number("capital_per_kw", 0, kBig);
            hp.replacementPerKw = h.number("replacement_per_kw", 0, kBig);
            hp.omPerKwYear = h.number("om_per_kw_year", 0, kBig);
            hp.lifetimeYears = h.number("lifetime_years", 1, 100);
            hp.designFlowPercent = h.number("design_flow_percent", 1, 100);
            hp.efficiencyPercent = h.number("efficiency_percent", 1, 100);
            hp.sizesKw = h.sizes("sizes_kw", HydroResource::kMaxHydroKw);
            h.finish();
            d.hydroPlant = hp;
        }
        c.finish();
    }
    {
        Reader p = top.object("dispatch");
        const json& s = p.array("strategies", 1, 2);
        d.dispatch.loadFollowing = d.dispatch.cycleCharging = false;
        for (std::size_t i = 0; i < s.size(); ++i) {
            std::string where = p.keyPath("strategies") + "[" + std::to_string(i) + "]";
            if (!s[i].is_string()) p.fail(where, "must be a text");
            std::string name = s[i].get<std::string>();
            bool& flag =
                name == "load_following" ? d.dispatch.loadFollowing : d.dispatch.cycleCharging;
            if (name != "load_following" && name != "cycle_charging")
                p.fail(where, "must be \"load_following\" or \"cycle_charging\"");
            if (flag) p.fail(where, "names a strategy twice");
            flag = true;
        }
        d.dispatch.setpointPercent = p.number("cycle_charging_setpoint_percent", 0, 100);
        p.finish();
    }
    {
        Reader s = top.object("random_seeds");
        d.seeds.load = static_cast<std::uint64_t>(s.integer("load", 0, 4294967295LL));
        d.seeds.solar = static_cast<std::uint64_t>(s.integer("solar", 0, 4294967295LL));
        d.seeds.wind = static_cast<std::uint64_t>(s.integer("wind", 0, 4294967295LL));
        s.finish();
    }
    top.finish();
    if (d.wind) d.site.elevation = d.wind->Altitude();
    return d;
}

ProjectData readProject(const std::filesystem::path& path) {
    return parseProject(readBoundedFile(path, "Project file", kMaxProjectBytes),
                        path.filename().string());
}

// The shortest decimal that reads back as the same float, as a double for JSON.
double clean(float f) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, f);
    *r.ptr = '\0';
    return std::strtod(buf, nullptr);
}

namespace {
template <class It>
ojson list(It first, It last) {
    ojson a = ojson::array();
    for (; first != last; ++first) a.push_back(*first);
    return a;
}
ojson shape(const std::array<double, 24>& s) { return list(s.begin(), s.end()); }
}  // namespace

std::string serializeProject(const ProjectData& d) {
    ojson j;
    j["format"] = kFormatName;
    j["version"] = kFormatVersion;
    j["name"] = d.name;
    j["notes"] = d.notes;
    j["site"] = {{"latitude", d.site.latitude},
                 {"longitude", d.site.longitude},
                 {"elevation_m", d.site.elevation},
                 {"ambient_temperature_c", d.site.ambientTemperature}};
    if (const auto& reference = d.site.temperatureReferenceElevation)
        j["site"]["ambient_temperature_reference_elevation_m"] = *reference;
    j["site"]["ground_reflectance"] = d.site.groundReflectance;
    j["site"]["wind_shear_exponent"] = d.site.windShearExponent;
    if (const auto& monthly = d.site.monthlyAmbientTemperature)
        j["site"]["monthly_ambient_temperature_c"] = list(monthly->begin(), monthly->end());
    j["economics"] = {{"project_lifetime_years", d.economics.lifetimeYears},
                      {"real_discount_rate_percent", d.economics.discountRatePercent},
                      {"capacity_shortage_percent", d.economics.capacityShortagePercent},
                      {"system_fixed_capital", d.economics.fixedCapital},
                      {"system_fixed_om_per_year", d.economics.fixedOmPerYear}};
    j["operating_reserve"] = {{"load_percent", d.reserve.loadPercent},
                              {"solar_output_percent", d.reserve.solarPercent},
                              {"wind_output_percent", d.reserve.windPercent}};
    ojson fuels = ojson::object();
    for (const auto& [name, f] : d.fuels)
        fuels[name] = {{"price_per_litre", clean(f.GetPrice())},
                       {"density_kg_per_litre", clean(f.densityKgPerL)},
                       {"lower_heating_value_mj_per_kg", clean(f.lowerHeatingValueMJPerKg)}};
    j["fuels"] = fuels;
    ojson shp;
    if (d.load.byMonth) {
        ojson m = ojson::array();
        for (const auto& s : d.load.monthly) m.push_back(shape(s));
        shp["monthly"] = m;
    } else {
        shp["weekday"] = shape(d.load.weekday);
        shp["weekend"] = shape(d.load.weekend);
    }
    j["load"] = {{"average_kwh_per_day", d.load.averageKWhPerDay},
                 {"shape", shp},
                 {"day_to_day_variability_percent", d.load.dayToDayPercent},
                 {"hour_to_hour_variability_percent", d.load.hourToHourPercent}};
    if (d.solar) {
        ojson m = ojson::array();
        for (float v : d.solar->MonthlyRadiation()) m.push_back(clean(v));
        j["solar"] = {{"latitude", clean(d.solar->Latitude())}, {"monthly_kwh_per_m2_day", m}};
    } else {
        j["solar"] = nullptr;
    }
    if (d.wind) {
        const WindResource& w = *d.wind;
        ojson m = ojson::array();
        for (float v : w.MonthlySpeeds()) m.push_back(clean(v));
        j["wind"] = {{"mode", w.GetMode() == WindResource::Mode::PowerDensity ? "power_density"
                                                                              : "monthly_speeds"},
                     {"altitude_m", clean(w.Altitude())},
                     {"anemometer_height_m", clean(w.AnemometerHeight())},
                     {"weibull_k", clean(w.WK())},
                     {"autocorrelation", clean(w.Autocorrelation())},
                     {"diurnal_pattern_strength", clean(w.PatternStrength())},
                     {"peak_hour", w.PeakHour()},
                     {"monthly_speeds_m_per_s", m},
                     {"power_density_w_per_m2", clean(w.PowerDensity())}};
    } else {
        j["wind"] = nullptr;
    }
    if (d.hydro) {
        ojson m = ojson::array();
        for (float v : d.hydro->MonthlyPower()) m.push_back(clean(v));
        j["hydro"] = {{"monthly_power_kw", m}};
    } else if (d.hydroPlant) {
        j["hydro"] = nullptr;
    }
    ojson curve = ojson::array();
    for (const auto& [v, p] : d.turbine.powerCurve) curve.push_back(ojson::array({v, p}));
    ojson c;
    c["pv"] = {{"name", d.pv.name},
               {"capital_per_kw", d.pv.capitalPerKw},
               {"replacement_per_kw", d.pv.replacementPerKw},
               {"om_per_kw_year", d.pv.omPerKwYear},
               {"lifetime_years", d.pv.lifetimeYears},
               {"derating_percent", d.pv.deratingPercent},
               {"temperature_coefficient_percent_per_c", d.pv.temperatureCoefficientPercent},
               {"nominal_operating_cell_temperature_c", d.pv.noct},
               {"sizes_kw", list(d.pv.sizesKw.begin(), d.pv.sizesKw.end())}};
    c["wind_turbine"] = {{"name", d.turbine.name},
                         {"rated_kw", d.turbine.ratedKw},
                         {"hub_height_m", d.turbine.hubHeight},
                         {"power_curve", curve},
                         {"capital_per_turbine", d.turbine.capitalPerTurbine},
                         {"replacement_per_turbine", d.turbine.replacementPerTurbine},
                         {"om_per_turbine_year", d.turbine.omPerTurbineYear},
                         {"lifetime_years", d.turbine.lifetimeYears},
                         {"counts", list(d.turbine.counts.begin(), d.turbine.counts.end())}};
    c["diesel"] = {
        {"name", d.diesel.name},
        {"fuel", d.diesel.fuel},
        {"capital_per_kw", d.diesel.capitalPerKw},
        {"replacement_per_kw", d.diesel.replacementPerKw},
        {"om_per_kw_operating_hour", d.diesel.omPerKwHour},
        {"cost_per_start", d.diesel.costPerStart},
        {"fuel_curve_intercept_l_per_hour_per_kw_rated", d.diesel.fuelInterceptLPerHPerKw},
        {"fuel_curve_slope_l_per_kwh", d.diesel.fuelSlopeLPerKWh},
        {"minimum_load_percent", d.diesel.minimumLoadPercent},
        {"lifetime_operating_hours", d.diesel.lifetimeHours},
        {"sizes_kw", list(d.diesel.sizesKw.begin(), d.diesel.sizesKw.end())}};
    c["battery"] = {{"name", d.battery.name},
                    {"nominal_capacity_kwh", d.battery.nominalKWh},
                    {"minimum_state_of_charge_percent", d.battery.minimumSocPercent},
                    {"round_trip_efficiency_percent", d.battery.roundTripPercent},
                    {"max_charge_rate_kw_per_kwh", d.battery.maxChargeRate},
                    {"max_discharge_rate_kw_per_kwh", d.battery.maxDischargeRate},
                    {"lifetime_throughput_kwh", d.battery.lifetimeThroughputKWh},
                    {"float_life_years", d.battery.floatLifeYears},
                    {"capital_per_battery", d.battery.capitalPerBattery},
                    {"replacement_per_battery", d.battery.replacementPerBattery},
                    {"om_per_battery_year", d.battery.omPerBatteryYear},
                    {"counts", list(d.battery.counts.begin(), d.battery.counts.end())}};
    c["converter"] = {{"name", d.converter.name},
                      {"efficiency_percent", d.converter.efficiencyPercent},
                      {"capital_per_kw", d.converter.capitalPerKw},
                      {"replacement_per_kw", d.converter.replacementPerKw},
                      {"om_per_kw_year", d.converter.omPerKwYear},
                      {"lifetime_years", d.converter.lifetimeYears},
                      {"sizes_kw", list(d.converter.sizesKw.begin(), d.converter.sizesKw.end())}};
    if (const auto& h = d.hydroPlant)
        c["hydro"] = {{"name", h->name},
                      {"capital_per_kw", h->capitalPerKw},
                      {"replacement_per_kw", h->replacementPerKw},
                      {"om_per_kw_year", h->omPerKwYear},
                      {"lifetime_years", h->lifetimeYears},
                      {"design_flow_percent", h->designFlowPercent},
                      {"efficiency_percent", h->efficiencyPercent},
                      {"sizes_kw", list(h->sizesKw.begin(), h->sizesKw.end())}};
    j["components"] = c;
    ojson strategies = ojson::array();
    if (d.dispatch.loadFollowing) strategies.push_back("load_following");
    if (d.dispatch.cycleCharging) strategies.push_back("cycle_charging");
    j["dispatch"] = {{"strategies", strategies},
                     {"cycle_charging_setpoint_percent", d.dispatch.setpointPercent}};
    j["random_seeds"] = {{"load", d.seeds.load}, {"solar", d.seeds.solar}, {"wind", d.seeds.wind}};
    return j.dump(2, ' ', false, ojson::error_handler_t::replace) + "\n";
}

}  // namespace zorvel
