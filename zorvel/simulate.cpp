// The hourly year of a project, the economics of a simulated system and the search space.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <sstream>

#include "zorvel/model.h"

namespace zorvel {

namespace {

bool anyPositive(const std::vector<double>& v) {
    return std::any_of(v.begin(), v.end(), [](double x) { return x > 0; });
}
bool anyPositive(const std::vector<int>& v) {
    return std::any_of(v.begin(), v.end(), [](int x) { return x > 0; });
}

double powerCurve(const std::vector<std::pair<double, double>>& curve, double v) {
    if (curve.empty() || v < curve.front().first) return curve.empty() ? 0.0 : curve.front().second;
    if (v > curve.back().first) return 0.0;  // beyond the last point: stopped (cut-out)
    auto it =
        std::upper_bound(curve.begin(), curve.end(), v,
                         [](double x, const std::pair<double, double>& p) { return x < p.first; });
    if (it == curve.end()) return curve.back().second;
    auto prev = it - 1;
    double f = (v - prev->first) / (it->first - prev->first);
    return prev->second + f * (it->second - prev->second);
}

}  // namespace

std::shared_ptr<const Context> buildContext(const ProjectData& data) {
    if (anyPositive(data.pv.sizesKw) && !data.solar)
        throw Error("The project has PV sizes but no solar resource.");
    if (anyPositive(data.turbine.counts) && !data.wind)
        throw Error("The project has wind turbines but no wind resource.");
    return buildYear(data);
}

std::shared_ptr<const Context> buildYear(const ProjectData& data) {
    auto ctx = std::make_shared<Context>();
    ctx->data = data;
    const ProjectData& d = ctx->data;

    ctx->load = synthesizeLoad(d.load, d.seeds.load);
    ctx->loadF.assign(ctx->load.begin(), ctx->load.end());
    for (double l : ctx->load) {
        ctx->annualLoadKWh += l;
        ctx->peakLoadKw = std::max(ctx->peakLoadKw, l);
    }
    std::vector<double> clearSkyIndex;
    if (d.solar) {
        ctx->solar = synthesizeSolar(*d.solar, d.site.longitude, d.site.groundReflectance,
                                     d.site.elevation, d.seeds.solar);
        clearSkyIndex = ctx->solar.dailyClearSkyIndex;
    }
    const auto& monthlyAmbient = d.site.monthlyAmbientTemperature;
    ctx->ambient = ambientTemperatures(siteAmbientTemperature(d.site),
                                       monthlyAmbient ? &*monthlyAmbient : nullptr, d.site.latitude,
                                       clearSkyIndex);

    ctx->windPerTurbine.assign(kHoursPerYear, 0.0f);
    if (d.wind) {
        ctx->windSpeed = synthesizeWind(*d.wind, d.seeds.wind);
        const double shear = d.site.windShearExponent, anemometer = d.wind->AnemometerHeight();
        const double hubFactor = std::pow(d.turbine.hubHeight / anemometer, shear);
        ctx->windHub.resize(kHoursPerYear);
        for (int t = 0; t < kHoursPerYear; ++t) {
            ctx->windHub[t] = ctx->windSpeed[t] * hubFactor;
            // The power curve holds at 1.225 kg/m3: the speed that carries the same power there.
            double density = airDensity(d.wind->Altitude(), ctx->ambient[t]);
            ctx->windPerTurbine[t] = static_cast<float>(
                powerCurve(d.turbine.powerCurve, ctx->windHub[t] * std::cbrt(density / 1.225)));
        }
    }

    if (d.hydro && d.hydroPlant) {
        // The layer gives monthly means only: each hour of a month gets its month's flow.
        const double share =
            d.hydroPlant->efficiencyPercent / 100.0 * d.hydroPlant->designFlowPercent / 100.0;
        ctx->hydroAvailable.resize(kHoursPerYear);
        for (int t = 0; t < kHoursPerYear; ++t)
            ctx->hydroAvailable[t] =
                static_cast<float>(share * d.hydro->MonthlyPower()[monthOfDay(t / 24)]);
    }

    ctx->pvPerKw.assign(kHoursPerYear, 0.0f);
    if (d.solar) {
        const double derate = d.pv.deratingPercent / 100.0,
                     alpha = d.pv.temperatureCoefficientPercent / 100.0;
        const double cellWindFactor =
            d.wind ? std::pow(10.0 / d.wind->AnemometerHeight(), d.site.windShearExponent) : 0;
        ctx->cell.resize(kHoursPerYear);
        for (int t = 0; t < kHoursPerYear; ++t) {
            double wind10 = d.wind ? ctx->windSpeed[t] * cellWindFactor : kDefaultCellWindSpeed;
            ctx->cell[t] =
                cellTemperature(ctx->solar.tilted[t], ctx->ambient[t], wind10, d.pv.noct);
            ctx->pvPerKw[t] = static_cast<float>(std::max(
                0.0, derate * ctx->solar.effective[t] * (1.0 + alpha * (ctx->cell[t] - 25.0))));
        }
    }
    return ctx;
}

// ----- economics -----

double capitalRecoveryFactor(double i, double n) {
    if (i <= 0) return 1.0 / n;
    double p = std::pow(1 + i, n);
    return i * p / (p - 1);
}

namespace {

// Present values of one component: capital now, replacements at the end of each life within
// the project lifetime, linear salvage of the last unit's remaining life at the end, and a
// uniform annual O&M (and fuel) cost.
ComponentCost costOf(const std::string& kind, double capital, double replacement, double life,
                     double omPerYear, double fuelPerYear, double i, double n) {
    ComponentCost c;
    c.kind = kind;
    c.lifetimeYears = life;
    c.capital = capital;
    auto pw = [&](double t) { return std::pow(1 + i, -t); };
    if (std::isfinite(life) && life > 0) {
        double t = life;
        while (t < n - 1e-9) {
            c.replacement += replacement * pw(t);
            t += life;
        }
        double remaining = t - n;  // of the unit running at the end
        c.salvage = replacement * remaining / life * pw(n);
    } else {
        c.salvage = replacement * pw(n);  // never wears out: its whole value remains
    }
    double uniform = 1.0 / capitalRecoveryFactor(i, n);
    c.om = omPerYear * uniform;
    c.fuel = fuelPerYear * uniform;
    return c;
}

}  // namespace

Economics evaluate(const Context& ctx, const SystemSpec& s, const SimTotals& tot) {
    const ProjectData& d = ctx.data;
    const double i = d.economics.discountRatePercent / 100.0, n = d.economics.lifetimeYears;
    Economics e;
    e.crf = capitalRecoveryFactor(i, n);
    if (s.pvKw > 0)
        e.components.push_back(costOf("PV", s.pvKw * d.pv.capitalPerKw,
                                      s.pvKw * d.pv.replacementPerKw, d.pv.lifetimeYears,
                                      s.pvKw * d.pv.omPerKwYear, 0, i, n));
    if (s.windCount > 0)
        e.components.push_back(costOf("Wind", s.windCount * d.turbine.capitalPerTurbine,
                                      s.windCount * d.turbine.replacementPerTurbine,
                                      d.turbine.lifetimeYears,
                                      s.windCount * d.turbine.omPerTurbineYear, 0, i, n));
    if (s.hydroKw > 0 && d.hydroPlant)
        e.components.push_back(costOf("Hydro", s.hydroKw * d.hydroPlant->capitalPerKw,
                                      s.hydroKw * d.hydroPlant->replacementPerKw,
                                      d.hydroPlant->lifetimeYears,
                                      s.hydroKw * d.hydroPlant->omPerKwYear, 0, i, n));
    if (s.dieselKw > 0) {
        double life = tot.generatorHours > 0 ? d.diesel.lifetimeHours / tot.generatorHours
                                             : std::numeric_limits<double>::infinity();
        double om = d.diesel.omPerKwHour * s.dieselKw * tot.generatorHours +
                    d.diesel.costPerStart * tot.starts;
        double price = d.fuels.at(d.diesel.fuel).GetPrice();
        e.components.push_back(costOf("Diesel", s.dieselKw * d.diesel.capitalPerKw,
                                      s.dieselKw * d.diesel.replacementPerKw, life, om,
                                      tot.fuel * price, i, n));
    }
    if (s.batteryCount > 0) {
        double life = d.battery.floatLifeYears;
        if (tot.batteryThroughput > 0)
            life = std::min(
                life, d.battery.lifetimeThroughputKWh * s.batteryCount / tot.batteryThroughput);
        e.components.push_back(costOf("Battery", s.batteryCount * d.battery.capitalPerBattery,
                                      s.batteryCount * d.battery.replacementPerBattery, life,
                                      s.batteryCount * d.battery.omPerBatteryYear, 0, i, n));
    }
    if (s.converterKw > 0)
        e.components.push_back(costOf("Converter", s.converterKw * d.converter.capitalPerKw,
                                      s.converterKw * d.converter.replacementPerKw,
                                      d.converter.lifetimeYears,
                                      s.converterKw * d.converter.omPerKwYear, 0, i, n));
    if (d.economics.fixedCapital > 0 || d.economics.fixedOmPerYear > 0) {
        ComponentCost c =
            costOf("System", d.economics.fixedCapital, 0, std::numeric_limits<double>::infinity(),
                   d.economics.fixedOmPerYear, 0, i, n);
        c.salvage = 0;
        c.lifetimeYears = n;
        e.components.push_back(c);
    }
    for (const auto& c : e.components) {
        e.npc += c.total();
        e.initialCapital += c.capital;
    }
    e.annualized = e.npc * e.crf;
    e.costOfEnergy =
        tot.served > 0 ? e.annualized / tot.served : std::numeric_limits<double>::infinity();
    return e;
}

std::int16_t typeCodeOf(const SystemSpec& s) {
    std::int16_t c = 0;
    if (s.pvKw > 0) c |= kTypePV;
    if (s.windCount > 0) c |= kTypeWind;
    if (s.dieselKw > 0) c |= kTypeDiesel;
    if (s.batteryCount > 0) c |= kTypeBattery;
    if (s.hydroKw > 0) c |= kTypeHydro;
    return c;
}

std::int32_t typeColour(std::int16_t code) {
    static constexpr int rgb[32][3] = {
        {128, 128, 128},  // 0 nothing
        {255, 165, 0},    // 1 PV
        {30, 144, 255},   // 2 Wind
        {0, 190, 190},    // 3 PV/Wind
        {150, 75, 40},    // 4 Diesel
        {220, 100, 20},   // 5 PV/Diesel
        {80, 80, 190},    // 6 Wind/Diesel
        {140, 60, 160},   // 7 PV/Wind/Diesel
        {60, 60, 60},     // 8 Battery
        {240, 220, 0},    // 9 PV/Battery
        {0, 90, 170},     // 10 Wind/Battery
        {0, 160, 90},     // 11 PV/Wind/Battery
        {200, 30, 30},    // 12 Diesel/Battery
        {230, 90, 160},   // 13 PV/Diesel/Battery
        {110, 50, 210},   // 14 Wind/Diesel/Battery
        {130, 200, 40},   // 15 PV/Wind/Diesel/Battery
        {0, 128, 128},    // 16 Hydro
        {170, 200, 60},   // 17 PV/Hydro
        {70, 130, 180},   // 18 Wind/Hydro
        {100, 170, 150},  // 19 PV/Wind/Hydro
        {120, 100, 60},   // 20 Hydro/Diesel
        {200, 150, 70},   // 21 PV/Hydro/Diesel
        {90, 110, 150},   // 22 Wind/Hydro/Diesel
        {160, 120, 140},  // 23 PV/Wind/Hydro/Diesel
        {0, 170, 200},    // 24 Hydro/Battery
        {190, 230, 120},  // 25 PV/Hydro/Battery
        {60, 100, 220},   // 26 Wind/Hydro/Battery
        {40, 200, 160},   // 27 PV/Wind/Hydro/Battery
        {170, 60, 90},    // 28 Hydro/Diesel/Battery
        {250, 140, 110},  // 29 PV/Hydro/Diesel/Battery
        {150, 110, 230},  // 30 Wind/Hydro/Diesel/Battery
        {90, 150, 60},    // 31 PV/Wind/Hydro/Diesel/Battery
    };
    int i = (code >= 0 && code < 32) ? code : 0;
    return rgb[i][0] + 256 * rgb[i][1] + 65536 * rgb[i][2];
}

Result makeResult(const Context& ctx, const SystemSpec& s, const SimTotals& tot) {
    Economics e = evaluate(ctx, s, tot);
    Result r;
    r.pvKw = s.pvKw;
    r.windCount = s.windCount;
    r.dieselKw = s.dieselKw;
    r.batteryCount = s.batteryCount;
    r.converterKw = s.converterKw;
    r.hydroKw = s.hydroKw;
    r.dispatch = s.dispatch;
    r.npc = e.npc;
    r.initialCapital = e.initialCapital;
    r.annualizedCost = e.annualized;
    r.operatingCost = e.annualized - e.initialCapital * e.crf;
    r.costOfEnergy = e.costOfEnergy;
    double production = tot.pv + tot.wind + tot.hydro + tot.generator;
    r.renewableFraction =
        production > 0 ? std::clamp(1.0 - tot.generator / production, 0.0, 1.0) : 0.0;
    r.capacityShortage = tot.load > 0 ? tot.capacityShortage / tot.load : 0.0;
    r.unmetLoadKWh = tot.unmet;
    r.excessKWh = tot.excess;
    r.fuelLitres = tot.fuel;
    r.generatorHours = tot.generatorHours;
    r.servedKWh = tot.served;
    r.feasible = r.capacityShortage <= ctx.data.economics.capacityShortagePercent / 100.0 + 1e-12;
    r.typeCode = typeCodeOf(s);
    return r;
}

std::int64_t countSystems(const ProjectData& d) {
    // Each list splits into its zero entry (absent) and its positive entries; the rules of
    // enumerateSystems depend only on which components are present.
    auto split = [](const auto& list) {
        std::int64_t zero = 0, positive = 0;
        for (auto v : list) (v > 0 ? positive : zero) += 1;
        return std::array<std::int64_t, 2>{zero, positive};
    };
    const auto pv = split(d.pv.sizesKw), wind = split(d.turbine.counts),
               gen = split(d.diesel.sizesKw), bat = split(d.battery.counts),
               conv = split(d.converter.sizesKw), hydro = split(hydroSizes(d));
    const std::int64_t strategies =
        (d.dispatch.loadFollowing ? 1 : 0) + (d.dispatch.cycleCharging ? 1 : 0);
    std::int64_t n = 0;
    for (int p = 0; p < 2; ++p)
        for (int w = 0; w < 2; ++w)
            for (int g = 0; g < 2; ++g)
                for (int b = 0; b < 2; ++b)
                    for (int x = 0; x < 2; ++x)
                        for (int h = 0; h < 2; ++h) {
                            if (!p && !w && !g && !h) continue;
                            if ((p || b) != static_cast<bool>(x)) continue;
                            if ((p && !d.solar) || (w && !d.wind)) continue;
                            n += pv[p] * wind[w] * gen[g] * bat[b] * conv[x] * hydro[h] *
                                 (g && b ? strategies : 1);
                        }
    return n;
}

double hydroAvailablePeak(const ProjectData& d) {
    if (!d.hydro || !d.hydroPlant) return 0;
    const auto& m = d.hydro->MonthlyPower();
    // The same float arithmetic as the hourly series, so the peak size is what the river gives.
    const double share =
        d.hydroPlant->efficiencyPercent / 100.0 * d.hydroPlant->designFlowPercent / 100.0;
    return static_cast<float>(share * *std::max_element(m.begin(), m.end()));
}

std::vector<double> hydroSizes(const ProjectData& d) {
    const double peak = hydroAvailablePeak(d);
    if (peak <= 0) return {0};
    std::vector<double> out;
    bool beyond = false;
    for (double size : d.hydroPlant->sizesKw) {
        if (size <= peak)
            out.push_back(size);
        else
            beyond = true;
    }
    // A larger plant would make no more than one sized to the river's best month.
    if (beyond && (out.empty() || out.back() < peak)) out.push_back(peak);
    return out;
}

std::vector<SystemSpec> enumerateSystems(const ProjectData& d) {
    std::vector<SystemSpec> out;
    const std::vector<double> hydro = hydroSizes(d);
    for (double h : hydro)
        for (double pv : d.pv.sizesKw)
            for (int w : d.turbine.counts)
                for (double g : d.diesel.sizesKw)
                    for (int b : d.battery.counts)
                        for (double x : d.converter.sizesKw) {
                            if (pv <= 0 && w <= 0 && g <= 0 && h <= 0) continue;  // no source
                            bool dc = pv > 0 || b > 0;
                            if (dc != (x > 0)) continue;  // DC parts need a converter
                            if (pv > 0 && !d.solar) continue;
                            if (w > 0 && !d.wind) continue;
                            if (g > 0 && b > 0) {
                                if (d.dispatch.loadFollowing) out.push_back({pv, w, g, b, x, 0, h});
                                if (d.dispatch.cycleCharging) out.push_back({pv, w, g, b, x, 1, h});
                            } else {
                                out.push_back({pv, w, g, b, x, 0, h});
                            }
                        }
    return out;
}

namespace {
std::string number(double v) {
    std::ostringstream s;
    s.precision(4);
    s << v;
    return s.str();
}
}  // namespace

std::string describe(const Context*, const ProjectData& d, const Result& r) {
    std::vector<std::string> parts;
    if (r.pvKw > 0) parts.push_back(number(r.pvKw) + " kW PV");
    if (r.windCount > 0)
        parts.push_back(std::to_string(r.windCount) + " x " + number(d.turbine.ratedKw) +
                        " kW wind");
    if (r.hydroKw > 0) parts.push_back(number(r.hydroKw) + " kW hydro");
    if (r.dieselKw > 0) parts.push_back(number(r.dieselKw) + " kW diesel");
    if (r.batteryCount > 0)
        parts.push_back(std::to_string(r.batteryCount) +
                        (r.batteryCount == 1 ? " battery" : " batteries"));
    if (r.converterKw > 0) parts.push_back(number(r.converterKw) + " kW converter");
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) text += (i ? ", " : "") + parts[i];
    if (text.empty()) text = "no components";
    if (r.dieselKw > 0 && r.batteryCount > 0 && r.dispatch == 1) text += " (cycle charging)";
    return text;
}

}  // namespace zorvel
