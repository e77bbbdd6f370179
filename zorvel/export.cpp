// The synthetic hourly year as CSV, for comparing Zorvel's yields with other models.
#include <charconv>

#include "zorvel/model.h"

namespace zorvel {

namespace {

// A fixed-point number, independent of the user's locale; an empty field when there is no value.
void field(std::string& line, const std::vector<double>& series, int t, int decimals) {
    line += ',';
    if (series.empty()) return;
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, series[t], std::chars_format::fixed, decimals);
    line.append(buf, r.ptr);
}

}  // namespace

std::string hourlyYearCsv(const Context& ctx) {
    std::string out =
        "hour,load_kw,ghi_kw_m2,poa_kw_m2,ambient_c,cell_c,pv_kw_per_kw,wind_hub_m_s,wind_kw_per_"
        "turbine,hydro_kw\n";
    const bool solar = !ctx.solar.ghi.empty(), wind = !ctx.windHub.empty();
    const std::vector<double> none;
    std::vector<double> pv, turbine, hydro(ctx.hydroAvailable.begin(), ctx.hydroAvailable.end());
    if (solar) pv.assign(ctx.pvPerKw.begin(), ctx.pvPerKw.end());
    if (wind) turbine.assign(ctx.windPerTurbine.begin(), ctx.windPerTurbine.end());
    out.reserve(out.size() + kHoursPerYear * 80);
    for (int t = 0; t < kHoursPerYear; ++t) {
        std::string line = std::to_string(t);
        field(line, ctx.load, t, 4);
        field(line, solar ? ctx.solar.ghi : none, t, 4);
        field(line, solar ? ctx.solar.tilted : none, t, 4);
        field(line, ctx.ambient, t, 2);
        field(line, ctx.cell, t, 2);
        field(line, pv, t, 4);
        field(line, ctx.windHub, t, 3);
        field(line, turbine, t, 4);
        field(line, hydro, t, 3);
        out += line;
        out += '\n';
    }
    return out;
}

}  // namespace zorvel
