// The HTML pages the model writes: the input summary and a system summary. Plain HTML 4 with
// tables, colours given as attributes and bars drawn as coloured table cells, so that they render
// in Qt's QTextBrowser as in any web browser; no script, no SVG, no external files. Every text
// that comes from a project file is escaped.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <sstream>

#include "zorvel/model.h"

namespace zorvel {

std::string htmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

namespace {

// A number with thousands separators and a fixed number of decimals.
std::string fix(double v, int decimals) {
    if (!std::isfinite(v)) return "-";
    char buf[400];  // to_chars: the same digits whatever the user's locale
    std::string s(
        buf,
        std::to_chars(buf, buf + sizeof buf, std::abs(v), std::chars_format::fixed, decimals).ptr);
    std::size_t dot = s.find('.');
    std::string whole = s.substr(0, dot), frac = dot == std::string::npos ? "" : s.substr(dot);
    std::string grouped;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) grouped += ',';
        grouped += whole[i];
    }
    bool negative = v < 0 && s.find_first_of("123456789") != std::string::npos;
    return (negative ? "-" : "") + grouped + frac;
}
std::string money(double v, int decimals = 0) {
    if (!std::isfinite(v)) return "-";
    return (v < 0 ? "-$" : "$") + fix(std::abs(v), decimals);
}
std::string pct(double fraction, int decimals = 1) { return fix(fraction * 100.0, decimals) + "%"; }
std::string g(double v) {
    std::ostringstream s;
    s.precision(6);
    s << v;
    return s.str();
}
std::string hex(std::int32_t colour) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", colour & 255, (colour >> 8) & 255,
                  (colour >> 16) & 255);
    return buf;
}

const char* kHead =
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n"
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n";

struct Page {
    std::ostringstream o;
    explicit Page(const std::string& title) {
        o << kHead << "<title>" << htmlEscape(title) << "</title></head>\n"
          << "<body bgcolor=\"#ffffff\" text=\"#000000\">\n"
          << "<h2><font color=\"#1f4e79\">" << htmlEscape(title) << "</font></h2>\n";
    }
    void h3(const std::string& t) {
        o << "<h3><font color=\"#1f4e79\">" << htmlEscape(t) << "</font></h3>\n";
    }
    void p(const std::string& escapedHtml) { o << "<p>" << escapedHtml << "</p>\n"; }
    void tableStart(std::initializer_list<std::string> heads) {
        o << "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
             "bordercolor=\"#a0a0a0\">\n<tr bgcolor=\"#dbe5f1\">";
        for (const auto& h : heads) o << "<th>" << htmlEscape(h) << "</th>";
        o << "</tr>\n";
    }
    void tableStart(const std::vector<std::string>& heads) {
        o << "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
             "bordercolor=\"#a0a0a0\">\n<tr bgcolor=\"#dbe5f1\">";
        for (const auto& h : heads) o << "<th>" << htmlEscape(h) << "</th>";
        o << "</tr>\n";
    }
    // A row of cells already escaped; the first is a label, the rest are right-aligned numbers.
    void row(const std::vector<std::string>& cells, const char* bg = nullptr) {
        o << "<tr" << (bg ? std::string(" bgcolor=\"") + bg + "\"" : "") << ">";
        for (std::size_t i = 0; i < cells.size(); ++i) {
            bool left = i == 0 || cells[i].rfind("<table", 0) == 0;  // labels and bars
            o << (left ? "<td>" : "<td align=\"right\">") << cells[i] << "</td>";
        }
        o << "</tr>\n";
    }
    void kv(const std::string& key, const std::string& escapedValue) {
        o << "<tr><td>" << htmlEscape(key) << "</td><td align=\"right\">" << escapedValue
          << "</td></tr>\n";
    }
    void tableEnd() { o << "</table>\n"; }
    std::string finish() {
        o << "<p><font size=\"2\" color=\"#808080\">Written by Zorvel, the Pallix micro-grid "
             "model.</font></p>\n"
          << "</body></html>\n";
        return o.str();
    }
};

// A horizontal bar of coloured segments (a one-row table), widths in pixels.
std::string bar(const std::vector<std::pair<double, std::string>>& segments, double scalePx) {
    std::ostringstream o;
    int total = 0;
    o << "<table cellspacing=\"0\" cellpadding=\"0\" border=\"0\"><tr>";
    for (const auto& [value, colour] : segments) {
        int w = static_cast<int>(std::lround(std::max(0.0, value) * scalePx));
        if (w <= 0) continue;
        total += w;
        o << "<td width=\"" << w << "\" bgcolor=\"" << colour << "\" height=\"12\">"
          << "<font size=\"1\">&nbsp;</font></td>";
    }
    if (total == 0) o << "<td width=\"1\"><font size=\"1\">&nbsp;</font></td>";
    o << "</tr></table>";
    return o.str();
}

const char* kPvColour = "#f5a623";
const char* kWindColour = "#3c8dde";
const char* kHydroColour = "#008080";
const char* kGenColour = "#8b5a2b";
const char* kLoadColour = "#5a5a5a";

std::string notesHtml(const std::string& notes) {
    std::string e = htmlEscape(notes), out;
    for (std::size_t i = 0; i < e.size(); ++i) {
        if (e[i] == '\r') {
            if (i + 1 < e.size() && e[i + 1] == '\n') ++i;
            out += "<br>\n";
        } else if (e[i] == '\n') {
            out += "<br>\n";
        } else {
            out += e[i];
        }
    }
    return out;
}

std::string sizeList(const std::vector<double>& v, const char* unit) {
    std::string s;
    for (std::size_t i = 0; i < v.size(); ++i) s += (i ? ", " : "") + g(v[i]);
    return htmlEscape(s + " " + unit);
}
std::string countList(const std::vector<int>& v) {
    std::string s;
    for (std::size_t i = 0; i < v.size(); ++i) s += (i ? ", " : "") + std::to_string(v[i]);
    return s;
}

}  // namespace

std::string inputSummaryHtml(const ProjectData& d, const Context* ctx) {
    Page pg("Zorvel input summary: " + d.name);
    if (!d.notes.empty()) {
        pg.h3("Notes");
        pg.p(notesHtml(d.notes));
    }

    pg.h3("Site");
    pg.tableStart({"Input", "Value"});
    pg.kv("Latitude", fix(d.site.latitude, 3) + "&deg;");
    pg.kv("Longitude", fix(d.site.longitude, 3) + "&deg;");
    pg.kv("Elevation", fix(d.site.elevation, 0) + " m");
    pg.kv("Annual mean ambient temperature", fix(siteAmbientTemperature(d.site), 1) + " &deg;C");
    if (const auto& reference = d.site.temperatureReferenceElevation)
        pg.kv("Ambient temperature source",
              "the template's " + fix(d.site.ambientTemperature, 1) + " &deg;C at " +
                  fix(*reference, 0) + " m, corrected to the site's " + fix(d.site.elevation, 0) +
                  " m by " + fix(kLapseRateKPerM * 1000, 1) + " K/km");
    if (const auto& monthly = d.site.monthlyAmbientTemperature) {
        std::string list;
        for (int m = 0; m < 12; ++m) list += (m ? ", " : "") + fix((*monthly)[m], 1);
        pg.kv("Monthly mean ambient temperatures, January first", list + " &deg;C");
    }
    pg.kv("Ground reflectance", fix(d.site.groundReflectance, 2));
    pg.kv("Wind shear exponent", fix(d.site.windShearExponent, 3));
    pg.tableEnd();

    pg.h3("Economics");
    pg.tableStart({"Input", "Value"});
    pg.kv("Project lifetime", fix(d.economics.lifetimeYears, 0) + " years");
    pg.kv("Real discount rate", fix(d.economics.discountRatePercent, 2) + "%");
    pg.kv("Allowed capacity shortage",
          fix(d.economics.capacityShortagePercent, 2) + "% of annual load");
    pg.kv("System fixed capital cost", money(d.economics.fixedCapital));
    pg.kv("System fixed O&M cost", money(d.economics.fixedOmPerYear) + "/yr");
    pg.kv("Operating reserve, share of load", fix(d.reserve.loadPercent, 0) + "%");
    pg.kv("Operating reserve, share of PV output", fix(d.reserve.solarPercent, 0) + "%");
    pg.kv("Operating reserve, share of wind output", fix(d.reserve.windPercent, 0) + "%");
    pg.tableEnd();

    pg.h3("Fuels");
    pg.tableStart({"Fuel", "Price ($/L)", "Density (kg/L)", "Lower heating value (MJ/kg)"});
    for (const auto& [name, f] : d.fuels)
        pg.row({htmlEscape(name), fix(f.GetPrice(), 3), fix(f.densityKgPerL, 3),
                fix(f.lowerHeatingValueMJPerKg, 1)});
    pg.tableEnd();

    pg.h3("Load");
    pg.tableStart({"Input", "Value"});
    pg.kv("Average daily energy", fix(d.load.averageKWhPerDay, 1) + " kWh/day");
    pg.kv("Day-to-day variability", fix(d.load.dayToDayPercent, 1) + "%");
    pg.kv("Hour-to-hour variability", fix(d.load.hourToHourPercent, 1) + "%");
    if (ctx) {
        pg.kv("Annual energy (synthetic year)", fix(ctx->annualLoadKWh, 0) + " kWh");
        pg.kv("Peak load (synthetic year)", fix(ctx->peakLoadKw, 2) + " kW");
        pg.kv("Load factor",
              fix(ctx->annualLoadKWh / kHoursPerYear / std::max(ctx->peakLoadKw, 1e-9), 3));
    }
    pg.tableEnd();
    {
        // The 24-hour shape, scaled to the average daily energy.
        std::vector<std::string> heads{"Hour"};
        std::vector<const std::array<double, 24>*> shapes;
        if (d.load.byMonth) {
            for (int m = 0; m < 12; ++m) {
                heads.push_back(std::string(kMonthNames[m]).substr(0, 3) + " (kW)");
                shapes.push_back(&d.load.monthly[m]);
            }
        } else {
            heads.push_back("Weekday (kW)");
            heads.push_back("Weekend (kW)");
            shapes.push_back(&d.load.weekday);
            shapes.push_back(&d.load.weekend);
        }
        double dayTotal = 0;
        for (const auto* s : shapes)
            for (double v : *s) dayTotal += v;
        dayTotal /= shapes.size();
        double f = dayTotal > 0 ? d.load.averageKWhPerDay / dayTotal : 0.0;
        double peak = 0;
        for (const auto* s : shapes)
            for (double v : *s) peak = std::max(peak, v * f);
        pg.p("Daily profile (before random variability):");
        heads.push_back("");
        pg.tableStart(heads);
        for (int h = 0; h < 24; ++h) {
            char label[32];
            std::snprintf(label, sizeof label, "%02d:00-%02d:00", h, (h + 1) % 24);
            std::vector<std::string> cells{label};
            for (const auto* s : shapes) cells.push_back(fix((*s)[h] * f, 2));
            cells.push_back(bar({{(*shapes[0])[h] * f, kLoadColour}}, peak > 0 ? 150.0 / peak : 0));
            pg.row(cells);
        }
        pg.tableEnd();
    }

    pg.h3("Solar and wind resource by month");
    {
        std::vector<std::string> heads{"Month", "Solar input (kWh/m\xC2\xB2/day)"};
        if (ctx && d.solar) {
            heads.push_back("Synthetic (kWh/m\xC2\xB2/day)");
            heads.push_back("Clearness index");
            heads.push_back("On PV plane (kWh/m\xC2\xB2/day)");
        }
        heads.push_back("Wind input (m/s)");
        if (ctx && d.wind) heads.push_back("Synthetic (m/s)");
        if (ctx) heads.push_back("Load (kWh/day)");
        pg.tableStart(heads);
        for (int m = 0; m < 12; ++m) {
            int first = firstDayOfMonth(m) * 24, n = kDaysInMonth[m];
            std::vector<std::string> cells{kMonthNames[m]};
            cells.push_back(d.solar ? fix(d.solar->MonthlyRadiation()[m], 2) : "-");
            if (ctx && d.solar) {
                double gh = 0, gt = 0, h0 = 0;
                for (int t = first; t < first + n * 24; ++t) {
                    gh += ctx->solar.ghi[t];
                    gt += ctx->solar.tilted[t];
                }
                for (int day = first / 24; day < first / 24 + n; ++day)
                    h0 += extraterrestrialDaily(d.solar->Latitude(), day);
                cells.push_back(fix(gh / n, 2));
                cells.push_back(h0 > 0 ? fix(gh / h0, 3) : "-");
                cells.push_back(fix(gt / n, 2));
            }
            cells.push_back(d.wind ? fix(d.wind->MonthlySpeeds()[m], 2) : "-");
            if (ctx && d.wind) {
                double v = 0;
                for (int t = first; t < first + n * 24; ++t) v += ctx->windSpeed[t];
                cells.push_back(fix(v / (n * 24), 2));
            }
            if (ctx) {
                double l = 0;
                for (int t = first; t < first + n * 24; ++t) l += ctx->load[t];
                cells.push_back(fix(l / n, 1));
            }
            pg.row(cells);
        }
        pg.tableEnd();
    }
    if (d.solar) {
        pg.p("Solar resource latitude " + fix(d.solar->Latitude(), 3) +
             "&deg;; the PV plane faces the equator, tilted at the latitude.");
    } else {
        pg.p("<font color=\"#c00000\">No solar resource is given.</font>");
    }

    if (ctx && (d.solar || d.wind)) {
        // The yields of the synthetic year per unit, as bars of table cells (no picture files).
        pg.h3("Monthly output per unit");
        std::array<double, 12> pv{}, wind{};
        for (int t = 0; t < kHoursPerYear; ++t) {
            int m = monthOfDay(t / 24);
            pv[m] += ctx->pvPerKw[t];
            wind[m] += ctx->windPerTurbine[t];
        }
        const double pvPeak = *std::max_element(pv.begin(), pv.end());
        const double windPeak = *std::max_element(wind.begin(), wind.end());
        std::vector<std::string> heads{"Month"};
        if (d.solar) heads.insert(heads.end(), {"PV (kWh per kW)", ""});
        if (d.wind) heads.insert(heads.end(), {"Wind (kWh per turbine)", ""});
        pg.tableStart(heads);
        for (int m = 0; m < 12; ++m) {
            std::vector<std::string> cells{std::string(kMonthNames[m]).substr(0, 3)};
            if (d.solar) {
                cells.push_back(fix(pv[m], 0));
                cells.push_back(bar({{pv[m], kPvColour}}, pvPeak > 0 ? 120.0 / pvPeak : 0));
            }
            if (d.wind) {
                cells.push_back(fix(wind[m], 0));
                cells.push_back(bar({{wind[m], kWindColour}}, windPeak > 0 ? 120.0 / windPeak : 0));
            }
            pg.row(cells);
        }
        std::vector<std::string> total{"<b>Year</b>"};
        if (d.solar)
            total.insert(total.end(),
                         {"<b>" + fix(std::accumulate(pv.begin(), pv.end(), 0.0), 0) + "</b>", ""});
        if (d.wind)
            total.insert(
                total.end(),
                {"<b>" + fix(std::accumulate(wind.begin(), wind.end(), 0.0), 0) + "</b>", ""});
        pg.row(total, "#eeeeee");
        pg.tableEnd();
    }

    pg.h3("Wind resource");
    if (d.wind) {
        const WindResource& w = *d.wind;
        pg.tableStart({"Input", "Value"});
        bool pd = w.GetMode() == WindResource::Mode::PowerDensity;
        pg.kv("Given as", pd ? "annual power density" : "monthly mean speeds");
        if (pd) pg.kv("Annual power density", fix(w.PowerDensity(), 0) + " W/m&sup2;");
        pg.kv("Weibull k", fix(w.WK(), 2));
        pg.kv("Lag-1 autocorrelation", fix(w.Autocorrelation(), 3));
        pg.kv("Diurnal pattern strength", fix(w.PatternStrength(), 3));
        pg.kv("Hour of peak wind speed", std::to_string(w.PeakHour()));
        pg.kv("Anemometer height", fix(w.AnemometerHeight(), 0) + " m");
        pg.kv("Altitude", fix(w.Altitude(), 0) + " m");
        pg.kv("Air density at the annual mean temperature",
              fix(airDensity(w.Altitude(), siteAmbientTemperature(d.site)), 3) + " kg/m&sup3;");
        if (ctx && !ctx->windSpeed.empty()) {
            double mean = 0;
            for (double v : ctx->windSpeed) mean += v;
            mean /= ctx->windSpeed.size();
            pg.kv("Synthetic year: mean speed", fix(mean, 2) + " m/s");
            pg.kv("Synthetic year: Weibull k", fix(weibullKFromMoments(ctx->windSpeed), 2));
            pg.kv("Synthetic year: lag-1 autocorrelation",
                  fix(lag1Autocorrelation(ctx->windSpeed), 3));
        }
        pg.tableEnd();
    } else {
        pg.p("<font color=\"#c00000\">No wind resource is given.</font>");
    }

    if (d.hydroPlant || d.hydro) {
        pg.h3("Hydro resource");
        if (d.hydro && d.hydroPlant) {
            const HydroData& h = *d.hydroPlant;
            const double share = h.efficiencyPercent / 100.0 * h.designFlowPercent / 100.0;
            pg.tableStart({"Month", "Hydro power (kW)", "Available to the plant (kW)",
                           "Energy available (kWh)"});
            double year = 0;
            for (int m = 0; m < 12; ++m) {
                const double kw = d.hydro->MonthlyPower()[m];
                const double energy = share * kw * kDaysInMonth[m] * 24;
                year += energy;
                pg.row({kMonthNames[m], fix(kw, 1), fix(share * kw, 1), fix(energy, 0)});
            }
            pg.row({"<b>Year</b>", "", "", "<b>" + fix(year, 0) + "</b>"}, "#eeeeee");
            pg.tableEnd();
            pg.p("Run of river, no storage: the plant takes " + fix(h.designFlowPercent, 0) +
                 "% of the flow (the rest stays in the river) and turns it into electricity at " +
                 fix(h.efficiencyPercent, 0) +
                 "%; each hour it makes the smaller of its size and "
                 "what the month's flow gives. Sizes searched: " +
                 sizeList(hydroSizes(d), "kW") + ".");
        } else if (d.hydro) {
            pg.p("The project has a hydro resource but no hydro plant to try.");
        } else {
            pg.p("No hydro resource is given: no hydro plant is tried.");
        }
    }

    pg.h3("Components and search space");
    pg.tableStart({"Component", "Capital", "Replacement", "O&M", "Lifetime", "Sizes searched"});
    pg.row({"PV: " + htmlEscape(d.pv.name), money(d.pv.capitalPerKw) + "/kW",
            money(d.pv.replacementPerKw) + "/kW", money(d.pv.omPerKwYear) + "/kW/yr",
            fix(d.pv.lifetimeYears, 0) + " yr", sizeList(d.pv.sizesKw, "kW")});
    pg.row({"Wind: " + htmlEscape(d.turbine.name), money(d.turbine.capitalPerTurbine) + " each",
            money(d.turbine.replacementPerTurbine) + " each",
            money(d.turbine.omPerTurbineYear) + "/yr each", fix(d.turbine.lifetimeYears, 0) + " yr",
            countList(d.turbine.counts) + " turbines"});
    pg.row({"Generator: " + htmlEscape(d.diesel.name), money(d.diesel.capitalPerKw) + "/kW",
            money(d.diesel.replacementPerKw) + "/kW",
            money(d.diesel.omPerKwHour, 3) + "/kW/operating hour",
            fix(d.diesel.lifetimeHours, 0) + " h", sizeList(d.diesel.sizesKw, "kW")});
    pg.row({"Battery: " + htmlEscape(d.battery.name), money(d.battery.capitalPerBattery) + " each",
            money(d.battery.replacementPerBattery) + " each",
            money(d.battery.omPerBatteryYear) + "/yr each",
            fix(d.battery.floatLifeYears, 0) + " yr float",
            countList(d.battery.counts) + " batteries"});
    pg.row({"Converter: " + htmlEscape(d.converter.name), money(d.converter.capitalPerKw) + "/kW",
            money(d.converter.replacementPerKw) + "/kW", money(d.converter.omPerKwYear) + "/kW/yr",
            fix(d.converter.lifetimeYears, 0) + " yr", sizeList(d.converter.sizesKw, "kW")});
    if (const auto& h = d.hydroPlant)
        pg.row({"Hydro: " + htmlEscape(h->name), money(h->capitalPerKw) + "/kW",
                money(h->replacementPerKw) + "/kW", money(h->omPerKwYear) + "/kW/yr",
                fix(h->lifetimeYears, 0) + " yr", sizeList(h->sizesKw, "kW")});
    pg.tableEnd();

    pg.p("Details:");
    pg.tableStart({"Input", "Value"});
    pg.kv("PV derating factor", fix(d.pv.deratingPercent, 1) + "%");
    pg.kv("PV temperature coefficient of power",
          fix(d.pv.temperatureCoefficientPercent, 3) + "%/&deg;C");
    pg.kv("PV nominal operating cell temperature", fix(d.pv.noct, 0) + " &deg;C");
    pg.kv("Wind turbine rated power", fix(d.turbine.ratedKw, 1) + " kW");
    pg.kv("Wind turbine hub height", fix(d.turbine.hubHeight, 0) + " m");
    pg.kv("Generator fuel", htmlEscape(d.diesel.fuel));
    pg.kv("Generator fuel curve intercept",
          fix(d.diesel.fuelInterceptLPerHPerKw, 4) + " L/h per kW rated");
    pg.kv("Generator fuel curve slope", fix(d.diesel.fuelSlopeLPerKWh, 4) + " L/kWh");
    pg.kv("Generator minimum load", fix(d.diesel.minimumLoadPercent, 0) + "%");
    pg.kv("Generator cost per start", money(d.diesel.costPerStart, 2));
    pg.kv("Battery nominal capacity", fix(d.battery.nominalKWh, 2) + " kWh");
    pg.kv("Battery minimum state of charge", fix(d.battery.minimumSocPercent, 0) + "%");
    pg.kv("Battery round-trip efficiency", fix(d.battery.roundTripPercent, 0) + "%");
    pg.kv("Battery maximum charge rate", fix(d.battery.maxChargeRate, 2) + " kW/kWh");
    pg.kv("Battery maximum discharge rate", fix(d.battery.maxDischargeRate, 2) + " kW/kWh");
    pg.kv("Battery lifetime throughput", fix(d.battery.lifetimeThroughputKWh, 0) + " kWh each");
    pg.kv("Converter efficiency", fix(d.converter.efficiencyPercent, 1) + "%");
    std::string strategies = d.dispatch.loadFollowing ? "load following" : "";
    if (d.dispatch.cycleCharging)
        strategies += std::string(strategies.empty() ? "" : ", ") + "cycle charging";
    pg.kv("Dispatch strategies", strategies);
    pg.kv("Cycle charging set-point", fix(d.dispatch.setpointPercent, 0) + "%");
    pg.kv("Random seeds (load, solar, wind)", std::to_string(d.seeds.load) + ", " +
                                                  std::to_string(d.seeds.solar) + ", " +
                                                  std::to_string(d.seeds.wind));
    pg.kv("Systems to try", groupedNumber(countSystems(d)));
    pg.tableEnd();
    {
        pg.p("Wind turbine power curve (at 1.225 kg/m&sup3;):");
        std::vector<std::string> speeds{"Speed (m/s)"}, powers{"Power (kW)"};
        for (const auto& [v, p] : d.turbine.powerCurve) {
            speeds.push_back(fix(v, 1));
            powers.push_back(fix(p, 2));
        }
        pg.o
            << "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" bordercolor=\"#a0a0a0\">\n";
        pg.row(speeds, "#dbe5f1");
        pg.row(powers);
        pg.tableEnd();
    }
    return pg.finish();
}

std::string systemSummaryHtml(const Context& ctx, const SystemSpec& s) {
    const ProjectData& d = ctx.data;
    Detail det;
    SimTotals tot = simulate(ctx, s, &det);
    Economics e = evaluate(ctx, s, tot);
    Result r = makeResult(ctx, s, tot);
    std::string text = describe(&ctx, d, r);
    std::string colour = hex(typeColour(r.typeCode));

    Page pg("Zorvel system summary: " + text);
    pg.o << "<table cellspacing=\"0\" cellpadding=\"4\" border=\"0\"><tr><td bgcolor=\"" << colour
         << "\" width=\"24\">&nbsp;</td><td><b>" << htmlEscape(Project::SystemTypeName(r.typeCode))
         << "</b> system, " << (s.dispatch == 1 ? "cycle charging" : "load following")
         << " dispatch"
         << (r.feasible ? "" : " &mdash; <font color=\"#c00000\"><b>not feasible</b></font>")
         << "</td></tr></table>\n";
    pg.p("Project: " + htmlEscape(d.name) + ". Site " + fix(d.site.latitude, 2) + "&deg;, " +
         fix(d.site.longitude, 2) + "&deg;.");

    pg.h3("Key figures");
    pg.tableStart({"Figure", "Value"});
    pg.kv("Net present cost", "<b>" + money(e.npc) + "</b>");
    pg.kv("Levelised cost of energy", "<b>" + money(e.costOfEnergy, 3) + "/kWh</b>");
    pg.kv("Initial capital", money(e.initialCapital));
    pg.kv("Total annualised cost", money(e.annualized) + "/yr");
    pg.kv("Operating cost", money(r.operatingCost) + "/yr");
    pg.kv("Renewable fraction", pct(r.renewableFraction));
    pg.kv("Capacity shortage", pct(r.capacityShortage, 2) + " (allowed " +
                                   fix(d.economics.capacityShortagePercent, 2) + "%)");
    pg.kv("Unmet load",
          fix(tot.unmet, 0) + " kWh/yr (" + pct(tot.load > 0 ? tot.unmet / tot.load : 0, 2) + ")");
    pg.kv("Excess electricity", fix(tot.excess, 0) + " kWh/yr");
    pg.tableEnd();

    pg.h3("Net present cost by component");
    pg.tableStart({"Component", "Capital", "Replacement", "O&M", "Fuel", "Salvage", "Total",
                   "Annualised", "Life (yr)"});
    ComponentCost sum;
    for (const auto& c : e.components) {
        // The system's own fixed costs are one line; the sum of all lines is the total below.
        const std::string label = c.kind == "System" ? "System fixed costs" : c.kind;
        pg.row({htmlEscape(label), money(c.capital), money(c.replacement), money(c.om),
                money(c.fuel), money(-c.salvage), "<b>" + money(c.total()) + "</b>",
                money(c.total() * e.crf),
                std::isfinite(c.lifetimeYears) ? fix(c.lifetimeYears, 1) : "-"});
        sum.capital += c.capital;
        sum.replacement += c.replacement;
        sum.om += c.om;
        sum.fuel += c.fuel;
        sum.salvage += c.salvage;
    }
    pg.row({"<b>Whole system</b>", money(sum.capital), money(sum.replacement), money(sum.om),
            money(sum.fuel), money(-sum.salvage), "<b>" + money(sum.total()) + "</b>",
            money(sum.total() * e.crf), ""},
           "#eeeeee");
    pg.tableEnd();
    pg.p("Present values at a real discount rate of " + fix(d.economics.discountRatePercent, 2) +
         "% over " + fix(d.economics.lifetimeYears, 0) + " years (capital recovery factor " +
         fix(e.crf, 4) + ").");

    pg.h3("Annual electricity");
    double production = tot.pv + tot.wind + tot.hydro + tot.generator;
    pg.tableStart({"Source or use", "kWh/yr", "Share", ""});
    auto share = [&](double v) { return production > 0 ? v / production : 0.0; };
    double scale = production > 0 ? 200.0 / production : 0.0;
    if (s.pvKw > 0)
        pg.row({"PV array", fix(tot.pv, 0), pct(share(tot.pv)), bar({{tot.pv, kPvColour}}, scale)});
    if (s.windCount > 0)
        pg.row({"Wind turbines", fix(tot.wind, 0), pct(share(tot.wind)),
                bar({{tot.wind, kWindColour}}, scale)});
    if (s.hydroKw > 0)
        pg.row({"Hydro plant", fix(tot.hydro, 0), pct(share(tot.hydro)),
                bar({{tot.hydro, kHydroColour}}, scale)});
    if (s.dieselKw > 0)
        pg.row({"Diesel generator", fix(tot.generator, 0), pct(share(tot.generator)),
                bar({{tot.generator, kGenColour}}, scale)});
    pg.row({"<b>Total production</b>", fix(production, 0), pct(production > 0 ? 1.0 : 0.0), ""},
           "#eeeeee");
    pg.row({"Load served", fix(tot.served, 0), pct(share(tot.served)),
            bar({{tot.served, kLoadColour}}, scale)});
    pg.row({"Unmet load", fix(tot.unmet, 0), pct(share(tot.unmet)), ""});
    pg.row({"Excess electricity", fix(tot.excess, 0), pct(share(tot.excess)), ""});
    double losses = production - tot.served - tot.excess;
    pg.row({"Converter and battery losses", fix(losses, 0), pct(share(losses)), ""});
    pg.tableEnd();

    pg.h3("Monthly production by source");
    {
        double peak = 0;
        for (int m = 0; m < 12; ++m)
            peak = std::max(peak, det.pv[m] + det.wind[m] + det.hydro[m] + det.generator[m]);
        double sc = peak > 0 ? 220.0 / peak : 0.0;
        const bool hydro = s.hydroKw > 0;
        std::vector<std::string> heads{"Month", "PV (kWh)", "Wind (kWh)"};
        if (hydro) heads.push_back("Hydro (kWh)");
        heads.insert(heads.end(), {"Diesel (kWh)", "Load (kWh)", "Unmet (kWh)", "Fuel (L)", ""});
        pg.tableStart(heads);
        for (int m = 0; m < 12; ++m) {
            std::vector<std::string> cells{kMonthNames[m], fix(det.pv[m], 0), fix(det.wind[m], 0)};
            if (hydro) cells.push_back(fix(det.hydro[m], 0));
            cells.insert(cells.end(), {fix(det.generator[m], 0), fix(det.load[m], 0),
                                       fix(det.unmet[m], 0), fix(det.fuel[m], 0),
                                       bar({{det.pv[m], kPvColour},
                                            {det.wind[m], kWindColour},
                                            {det.hydro[m], kHydroColour},
                                            {det.generator[m], kGenColour}},
                                           sc)});
            pg.row(cells);
        }
        pg.tableEnd();
        pg.o << "<p><font color=\"" << kPvColour << "\">&#9632;</font> PV &nbsp; <font color=\""
             << kWindColour << "\">&#9632;</font> Wind &nbsp; ";
        if (hydro) pg.o << "<font color=\"" << kHydroColour << "\">&#9632;</font> Hydro &nbsp; ";
        pg.o << "<font color=\"" << kGenColour << "\">&#9632;</font> Diesel</p>\n";
    }

    pg.h3("Components");
    pg.tableStart({"Component", "Figure", "Value"});
    if (s.pvKw > 0) {
        pg.row({"PV array", "Rated power", fix(s.pvKw, 1) + " kW"});
        pg.row({"", "Capacity factor", pct(tot.pv / (s.pvKw * kHoursPerYear))});
    }
    if (s.windCount > 0) {
        pg.row({"Wind turbines", "Number x rated power",
                std::to_string(s.windCount) + " x " + fix(d.turbine.ratedKw, 1) + " kW"});
        pg.row({"", "Capacity factor",
                pct(tot.wind / (s.windCount * d.turbine.ratedKw * kHoursPerYear))});
    }
    if (s.hydroKw > 0) {
        pg.row({"Hydro plant", "Rated power", fix(s.hydroKw, 1) + " kW"});
        pg.row({"", "Capacity factor", pct(tot.hydro / (s.hydroKw * kHoursPerYear))});
    }
    if (s.dieselKw > 0) {
        pg.row({"Diesel generator", "Rated power", fix(s.dieselKw, 1) + " kW"});
        pg.row({"", "Operating hours", fix(tot.generatorHours, 0) + " h/yr"});
        pg.row({"", "Starts", fix(tot.starts, 0) + " /yr"});
        pg.row({"", "Fuel used", fix(tot.fuel, 0) + " L/yr"});
        const Fuel& f = d.fuels.at(d.diesel.fuel);
        pg.row({"", "Fuel cost", money(tot.fuel * f.GetPrice()) + "/yr"});
        double fuelEnergy = tot.fuel * f.densityKgPerL * f.lowerHeatingValueMJPerKg / 3.6;
        pg.row({"", "Mean electrical efficiency",
                pct(fuelEnergy > 0 ? tot.generator / fuelEnergy : 0)});
        pg.row({"", "Lifetime",
                tot.generatorHours > 0 ? fix(d.diesel.lifetimeHours / tot.generatorHours, 1) + " yr"
                                       : "-"});
    }
    if (s.batteryCount > 0) {
        double cap = s.batteryCount * d.battery.nominalKWh;
        pg.row({"Battery bank", "Nominal capacity",
                fix(cap, 1) + " kWh (" + std::to_string(s.batteryCount) + " x " +
                    fix(d.battery.nominalKWh, 2) + " kWh)"});
        pg.row({"", "Energy in / out",
                fix(tot.batteryIn, 0) + " / " + fix(tot.batteryOut, 0) + " kWh/yr"});
        pg.row({"", "Throughput", fix(tot.batteryThroughput, 0) + " kWh/yr"});
        double life = d.battery.floatLifeYears;
        if (tot.batteryThroughput > 0)
            life = std::min(
                life, d.battery.lifetimeThroughputKWh * s.batteryCount / tot.batteryThroughput);
        pg.row({"", "Expected life", fix(life, 1) + " yr"});
        pg.row({"", "State of charge at year end", pct(tot.finalSoc, 0)});
    }
    if (s.converterKw > 0) {
        pg.row({"Converter", "Capacity", fix(s.converterKw, 1) + " kW"});
        pg.row({"", "Inverter output", fix(tot.inverterOut, 0) + " kWh/yr"});
        pg.row({"", "Rectifier output", fix(tot.rectifierOut, 0) + " kWh/yr"});
    }
    pg.tableEnd();
    return pg.finish();
}

}  // namespace zorvel
