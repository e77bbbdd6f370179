// The hourly dispatch of a system over the year, alone or side by side with others of its kind.
//
// One system's year is a chain: each hour's battery flows wait for the state of charge the hour
// before left, so a lone system keeps the processor mostly waiting. The search therefore runs a
// batch of systems as the lanes of a vector, every hour for all of them at once, with the
// branches of the dispatch turned into selections. Each lane does the same arithmetic in the same
// order as a lone system (the same kernel with one lane), so its totals are the same to the bit.
#include <cmath>
#include <type_traits>

#include "zorvel/model.h"

namespace zorvel {

namespace {

// The lanes: vectors of 2 (SSE2 on every x86-64, or the target's own) and of 4 (AVX2). The kernels
// are always inlined into the functions that pick the instruction set, so no vector crosses a
// call (the build silences the warning about such calls' ABI).
using Vec2 = double __attribute__((vector_size(2 * sizeof(double))));
using Vec4 = double __attribute__((vector_size(4 * sizeof(double))));

template <class V>
constexpr int laneCount() {
    return sizeof(V) / sizeof(double);
}

// m ? x : y, lane by lane.
inline double select(bool m, double x, double y) { return m ? x : y; }
template <class M, class V>
inline V select(M m, V x, V y) {
    return m ? x : y;
}

// Minimum and maximum as std::min and std::max take them (the first argument on a tie), lane by
// lane.
template <class V>
inline V vmin(V a, V b) {
    return select(b < a, b, a);
}
template <class V>
inline V vmax(V a, V b) {
    return select(a < b, b, a);
}

inline double lane(double v, int) { return v; }
template <class V>
inline double lane(const V& v, int k) {
    return v[k];
}
inline void setLane(double& v, int, double x) { v = x; }
template <class V>
inline void setLane(V& v, int k, double x) {
    v[k] = x;
}
template <class V>
inline V splat(double x) {
    V v{};
    for (int k = 0; k < laneCount<V>(); ++k) setLane(v, k, x);
    return v;
}

// One year of hourly dispatch for the systems specs[0..lanes). The template flags take the tests
// for absent components and for the detailed record (one lane only) out of the hourly loop.
template <class V, bool kBattery, bool kGenerator, bool kHydro, bool kDetail>
[[gnu::always_inline]] inline void dispatchYear(const Context& ctx, const SystemSpec* const* specs,
                                                SimTotals* out, Detail* detail) {
    constexpr int K = laneCount<V>();
    static_assert(!kDetail || K == 1, "the detailed record is of one system");
    using M = decltype(V{} < V{});  // a lane mask (bool for one lane)
    const ProjectData& d = ctx.data;
    auto perLane = [&](auto f) {
        V v{};
        for (int k = 0; k < K; ++k) setLane(v, k, f(*specs[k]));
        return v;
    };
    const V zero = splat<V>(0.0), one = splat<V>(1.0), eps = splat<V>(1e-9);
    const V eta = splat<V>(d.converter.efficiencyPercent / 100.0), invEta = splat<V>(1.0) / eta;
    const V X = perLane([](const SystemSpec& s) { return s.converterKw; });
    const V cap = perLane([&](const SystemSpec& s) {
        return kBattery ? s.batteryCount * d.battery.nominalKWh : 0.0;
    });
    const V emin = cap * d.battery.minimumSocPercent / 100.0;
    const double rt = d.battery.roundTripPercent / 100.0;
    const V etaC = splat<V>(std::sqrt(rt)), etaD = splat<V>(std::sqrt(rt)),
            invEtaC = splat<V>(1.0 / std::sqrt(rt)), invEtaD = splat<V>(1.0 / std::sqrt(rt));
    const V chgMax = cap * d.battery.maxChargeRate, disMax = cap * d.battery.maxDischargeRate;
    const V G = perLane([](const SystemSpec& s) { return kGenerator ? s.dieselKw : 0.0; });
    const V Gmin = G * d.diesel.minimumLoadPercent / 100.0;
    const V f0 = d.diesel.fuelInterceptLPerHPerKw * G, f1 = splat<V>(d.diesel.fuelSlopeLPerKWh);
    const V rL = splat<V>(d.reserve.loadPercent / 100.0),
            rPV = splat<V>(d.reserve.solarPercent / 100.0),
            rW = splat<V>(d.reserve.windPercent / 100.0);
    const M cc = perLane([](const SystemSpec& s) {
                     return kBattery && kGenerator && s.dispatch == 1 ? 1.0 : 0.0;
                 }) > zero;
    const V setpointE = vmax(emin, cap * d.dispatch.setpointPercent / 100.0);
    const V pvKw = perLane([](const SystemSpec& s) { return s.pvKw; });
    const V nW = perLane([](const SystemSpec& s) { return double(s.windCount); });
    const V H = perLane([](const SystemSpec& s) { return s.hydroKw; });
    const float* load = ctx.loadF.data();
    const float* hyd = ctx.hydroAvailable.data();
    const float* pvk = ctx.pvPerKw.data();
    const float* wpt = ctx.windPerTurbine.data();

    V totLoad = zero, totUnmet = zero, totCs = zero, totPv = zero, totWind = zero, totHydro = zero,
      totGen = zero, totExcess = zero;
    V totFuel = zero, totIn = zero, totOut = zero, totInv = zero, totRect = zero;
    V hours = zero, starts = zero;
    V E = cap;
    M genWasOn{}, ccCharging{};
    if constexpr (kDetail) {
        if (detail->wantHours) detail->hours.resize(kHoursPerYear);
    }
    int month = 0, nextMonthHour = kDaysInMonth[0] * 24;

    for (int t = 0; t < kHoursPerYear; ++t) {
        const V L = splat<V>(load[t]);
        const V Ppv = pvKw * double(pvk[t]);
        const V Pw = nW * double(wpt[t]);
        // Run-of-river: whatever the hour's flow gives, up to the plant's size. Its output is
        // steady within the hour, so it needs no operating reserve of its own.
        V Ph = zero;
        if constexpr (kHydro) Ph = vmin(H, splat<V>(hyd[t]));
        const V R = rL * L + rPV * Ppv + rW * Pw;
        V disCapDc = zero, chgCapDc = zero;
        if constexpr (kBattery) {
            disCapDc = vmin(disMax, vmax(zero, (E - emin) * etaD));
            chgCapDc = vmin(chgMax, vmax(zero, (cap - E) * invEtaC));
        }
        // 1. Hydro and wind serve the load directly on the AC bus.
        const V Pac = Pw + Ph;
        const V acToLoad = vmin(Pac, L);
        V net = L - acToLoad;
        V acSur = Pac - acToLoad;
        // 2. PV serves the rest through the inverter.
        const V pvAc = vmin(net, vmin(Ppv * eta, X));
        net -= pvAc;
        V invOut = pvAc;
        V invIn = pvAc * invEta;
        V dcSur = Ppv - invIn;
        // 3. PV surplus charges the battery on the DC bus.
        V chgDc = zero;
        if constexpr (kBattery) {
            chgDc = vmin(dcSur, chgCapDc);
            dcSur -= chgDc;
            chgCapDc -= chgDc;
        }
        // 4. The generator runs when the battery cannot serve the rest, when the operating
        //    capacity without it falls short of load plus reserve, or under cycle charging until
        //    the set-point state of charge is reached.
        const V capNoGen = Pac + vmin(X, (Ppv + disCapDc) * eta);
        M genOn{};
        V gen = zero;
        if constexpr (kGenerator) {
            const V batAcCap = vmin(disCapDc * eta, vmax(zero, X - invOut));
            genOn = net > batAcCap + eps || capNoGen + eps < L + R ||
                    (cc && ccCharging && E < setpointE - eps);
            const V chgRoomAc = vmin(vmax(zero, X - invOut), chgCapDc * invEta);
            gen = select(genOn,
                         select(cc, vmin(G, vmax(Gmin, net + chgRoomAc)), vmin(G, vmax(Gmin, net))),
                         zero);
            const V toLoad = select(genOn, vmin(gen, net), zero);
            net -= toLoad;
            acSur += gen - toLoad;
        }
        V rectIn = zero, rectOut = zero, disDc = zero;
        if constexpr (kBattery) {
            // 5. AC surplus (hydro, wind and generator) charges the battery through the rectifier.
            const M charge = acSur > zero && chgCapDc > zero && X > zero;
            rectIn =
                select(charge, vmin(vmin(acSur, vmax(zero, X - invOut)), chgCapDc * invEta), zero);
            rectOut = rectIn * eta;
            chgDc += rectOut;
            acSur -= rectIn;
            // 6. The battery serves what is left.
            const M serve = net > eps && disCapDc > zero;
            const V batAc =
                select(serve, vmin(vmin(net, vmax(zero, X - invOut)), disCapDc * eta), zero);
            disDc = batAc * invEta;
            invIn += disDc;
            invOut += batAc;
            net -= batAc;
            E += chgDc * etaC - disDc * invEtaD;
        }
        const V unmet = select(net > eps, net, zero);
        const V capacity = capNoGen + select(genOn, G, zero);
        const V shortage = vmax(unmet, L + R - capacity);
        const V cs = select(shortage > eps, shortage, zero);
        const V fuel = select(genOn, f0 + f1 * gen, zero);

        totLoad += L;
        totUnmet += unmet;
        totCs += cs;
        totPv += Ppv;
        totWind += Pw;
        totHydro += Ph;
        totExcess += acSur + dcSur;
        totInv += invOut;
        if constexpr (kGenerator) {
            totGen += gen;
            totFuel += fuel;
            hours += select(genOn, one, zero);
            starts += select(genOn && !genWasOn, one, zero);
            ccCharging = cc && (ccCharging || genOn) && !(E >= setpointE - eps);
            genWasOn = genOn;
        }
        if constexpr (kBattery) {
            totIn += chgDc;
            totOut += disDc;
            totRect += rectOut;
        }
        if constexpr (kDetail) {
            if (t >= nextMonthHour) {
                ++month;
                nextMonthHour += kDaysInMonth[month] * 24;
            }
            const double served = L - unmet;
            detail->pv[month] += Ppv;
            detail->wind[month] += Pw;
            detail->hydro[month] += Ph;
            detail->generator[month] += gen;
            detail->load[month] += L;
            detail->served[month] += served;
            detail->unmet[month] += unmet;
            detail->excess[month] += acSur + dcSur;
            detail->fuel[month] += fuel;
            if (detail->wantHours) {
                HourFlows& h = detail->hours[t];
                h.load = float(L);
                h.served = float(served);
                h.unmet = float(unmet);
                h.capacityShortage = float(cs);
                h.pv = float(Ppv);
                h.wind = float(Pw);
                h.hydro = float(Ph);
                h.generator = float(gen);
                h.inverterIn = float(invIn);
                h.inverterOut = float(invOut);
                h.rectifierIn = float(rectIn);
                h.rectifierOut = float(rectOut);
                h.batteryCharge = float(chgDc);
                h.batteryDischarge = float(disDc);
                h.excessAc = float(acSur);
                h.excessDc = float(dcSur);
                h.stateOfCharge = float(E);
                h.fuel = float(fuel);
            }
        }
    }
    for (int k = 0; k < K; ++k) {
        SimTotals& tot = out[k];
        tot = SimTotals{};
        tot.load = lane(totLoad, k);
        tot.unmet = lane(totUnmet, k);
        tot.served = lane(totLoad, k) - lane(totUnmet, k);
        tot.capacityShortage = lane(totCs, k);
        tot.pv = lane(totPv, k);
        tot.wind = lane(totWind, k);
        tot.hydro = lane(totHydro, k);
        tot.generator = lane(totGen, k);
        tot.excess = lane(totExcess, k);
        tot.fuel = lane(totFuel, k);
        tot.generatorHours = lane(hours, k);
        tot.starts = lane(starts, k);
        tot.batteryIn = lane(totIn, k);
        tot.batteryOut = lane(totOut, k);
        tot.batteryThroughput = lane(totOut, k);
        tot.inverterOut = lane(totInv, k);
        tot.rectifierOut = lane(totRect, k);
        const double c = lane(cap, k);
        tot.finalSoc = c > 0 ? lane(E, k) / c : 0.0;
    }
}

// The kinds of system whose lanes share a kernel: with or without a battery and a generator.
template <class V, bool kHydro, bool kDetail>
[[gnu::always_inline]] inline void dispatchKind(const Context& ctx, const SystemSpec* const* specs,
                                                SimTotals* out, Detail* detail) {
    const bool b = specs[0]->batteryCount > 0, g = specs[0]->dieselKw > 0;
    if (b && g) return dispatchYear<V, true, true, kHydro, kDetail>(ctx, specs, out, detail);
    if (b) return dispatchYear<V, true, false, kHydro, kDetail>(ctx, specs, out, detail);
    if (g) return dispatchYear<V, false, true, kHydro, kDetail>(ctx, specs, out, detail);
    return dispatchYear<V, false, false, kHydro, kDetail>(ctx, specs, out, detail);
}

}  // namespace

SimTotals simulate(const Context& ctx, const SystemSpec& s, Detail* detail) {
    const SystemSpec* spec = &s;
    SimTotals tot;
    // A plant without a river makes nothing.
    const bool hydro = s.hydroKw > 0 && !ctx.hydroAvailable.empty();
    if (detail)
        hydro ? dispatchKind<double, true, true>(ctx, &spec, &tot, detail)
              : dispatchKind<double, false, true>(ctx, &spec, &tot, detail);
    else
        hydro ? dispatchKind<double, true, false>(ctx, &spec, &tot, nullptr)
              : dispatchKind<double, false, false>(ctx, &spec, &tot, nullptr);
    return tot;
}

int batchKind(const SystemSpec& s) { return (s.batteryCount > 0 ? 2 : 0) + (s.dieselKw > 0); }

namespace {

template <class V>
[[gnu::always_inline]] inline void batchOf(const Context& ctx, const SystemSpec* const* lanes,
                                           SimTotals* out) {
    // A plant without a river makes nothing; a lane without a plant gets min(0, flow) = 0.
    if (ctx.hydroAvailable.empty())
        dispatchKind<V, false, false>(ctx, lanes, out, nullptr);
    else
        dispatchKind<V, true, false>(ctx, lanes, out, nullptr);
}

// The batch in pairs of lanes on every processor, and at once with AVX2 where the processor has
// it (twice as fast).
void batchPortable(const Context& ctx, const SystemSpec* const* lanes, SimTotals* out) {
    for (int k = 0; k < kBatchSize; k += 2) batchOf<Vec2>(ctx, lanes + k, out + k);
}
#if defined(__x86_64__)
[[gnu::target("avx2")]] void batchAvx2(const Context& ctx, const SystemSpec* const* lanes,
                                       SimTotals* out) {
    batchOf<Vec4>(ctx, lanes, out);
}
#endif

}  // namespace

void simulateBatch(const Context& ctx, const SystemSpec* specs, int count, SimTotals* totals,
                   bool portable) {
    if (count <= 0) return;
    // A short batch fills its spare lanes with its first system and drops their totals.
    const SystemSpec* lanes[kBatchSize];
    for (int k = 0; k < kBatchSize; ++k) lanes[k] = &specs[k < count ? k : 0];
    SimTotals out[kBatchSize];
#if defined(__x86_64__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2 && !portable)
        batchAvx2(ctx, lanes, out);
    else
        batchPortable(ctx, lanes, out);
#else
    (void)portable;
    batchPortable(ctx, lanes, out);
#endif
    for (int k = 0; k < count; ++k) totals[k] = out[k];
}

}  // namespace zorvel
