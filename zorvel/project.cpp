// The automation interface: the Project object and its parallel search.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "zorvel/model.h"

namespace zorvel {

namespace {}  // namespace

void Project::Impl::join() {
    std::lock_guard<std::mutex> lock(joinMutex);
    for (auto& t : workers)
        if (t.joinable()) t.join();
    workers.clear();
}

void Project::Impl::requireIdle(const char* op) const {
    if (running.load(std::memory_order_acquire))
        throw Error(std::string(op) + ": a calculation is running; stop it or wait until it ends.");
    const_cast<Impl*>(this)->join();
}

Project::Project() : d(std::make_unique<Impl>()) {}

Project::~Project() {
    d->stop.store(true);
    d->join();
}

Project::Impl& Project::impl() { return *d; }
const Project::Impl& Project::impl() const { return *d; }

// The refusal of a search space beyond the limit: the count, the limit and the lists to shorten.
static std::string tooManySystems(const ProjectData& p, std::int64_t n) {
    std::vector<std::pair<std::size_t, std::string>> lists{
        {p.pv.sizesKw.size(), "components.pv.sizes_kw"},
        {p.turbine.counts.size(), "components.wind_turbine.counts"},
        {p.diesel.sizesKw.size(), "components.diesel.sizes_kw"},
        {p.battery.counts.size(), "components.battery.counts"},
        {p.converter.sizesKw.size(), "components.converter.sizes_kw"},
        {hydroSizes(p).size(), "components.hydro.sizes_kw"}};
    std::stable_sort(lists.begin(), lists.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::string longest;
    for (std::size_t i = 0; i < 3; ++i)
        longest += (i ? ", " : "") + lists[i].second + " (" + std::to_string(lists[i].first) + ")";
    return "The search space holds " + groupedNumber(n) + " systems, more than the limit of " +
           groupedNumber(kMaxSystems) + ". Shorten the size lists; the longest are " + longest +
           ".";
}

static void requireOpen(const Project::Impl& d, const char* op) {
    if (!d.loaded) throw Error(std::string(op) + ": no project is open; call OpenFile first.");
}

void Project::OpenFile(const std::filesystem::path& path) {
    d->requireIdle("OpenFile");
    ProjectData data = readProject(path);  // throws, leaving this project as it was
    d->data = std::move(data);
    d->path = path;
    d->loaded = true;
    d->ctx.reset();
    d->all.clear();
    d->list0.clear();
    d->list1.clear();
    d->resultsValid = false;
    d->total = 0;
    d->done = 0;
}

void Project::SetLatitude(float degrees) {
    d->requireIdle("SetLatitude");
    requireOpen(*d, "SetLatitude");
    checkRange("SetLatitude", "the latitude", degrees, -90, 90);
    d->data.site.latitude = clean(degrees);
}
float Project::GetLatitude() const {
    requireOpen(*d, "GetLatitude");
    return static_cast<float>(d->data.site.latitude);
}
void Project::SetLongitude(float degrees) {
    d->requireIdle("SetLongitude");
    requireOpen(*d, "SetLongitude");
    checkRange("SetLongitude", "the longitude", degrees, -180, 180);
    d->data.site.longitude = clean(degrees);
}
float Project::GetLongitude() const {
    requireOpen(*d, "GetLongitude");
    return static_cast<float>(d->data.site.longitude);
}
void Project::SetRealDiscountRate(float percent) {
    d->requireIdle("SetRealDiscountRate");
    requireOpen(*d, "SetRealDiscountRate");
    checkRange("SetRealDiscountRate", "the real discount rate", percent, 0, 100);
    d->data.economics.discountRatePercent = clean(percent);
}
float Project::GetRealDiscountRate() const {
    requireOpen(*d, "GetRealDiscountRate");
    return static_cast<float>(d->data.economics.discountRatePercent);
}
void Project::SetCapacityShortage(float percent) {
    d->requireIdle("SetCapacityShortage");
    requireOpen(*d, "SetCapacityShortage");
    checkRange("SetCapacityShortage", "the allowed capacity shortage", percent, 0, 100);
    d->data.economics.capacityShortagePercent = clean(percent);
}
float Project::GetCapacityShortage() const {
    requireOpen(*d, "GetCapacityShortage");
    return static_cast<float>(d->data.economics.capacityShortagePercent);
}

Fuel Project::GetFuel(const std::string& name) const {
    requireOpen(*d, "GetFuel");
    auto it = d->data.fuels.find(name);
    if (it == d->data.fuels.end())
        throw Error("GetFuel: the project has no fuel named '" + name + "'");
    return it->second;
}
void Project::PutFuel(const std::string& name, const Fuel& fuel) {
    d->requireIdle("PutFuel");
    requireOpen(*d, "PutFuel");
    if (name.empty()) throw Error("PutFuel: the fuel needs a name");
    checkRange("PutFuel", "the fuel price", fuel.GetPrice(), 0, 1000);
    d->data.fuels[name] = fuel;
}

std::optional<SolarResource> Project::GetSolarResource() const {
    requireOpen(*d, "GetSolarResource");
    return d->data.solar;
}
void Project::PutSolarResource(const SolarResource& r) {
    d->requireIdle("PutSolarResource");
    requireOpen(*d, "PutSolarResource");
    if (!r.IsSet())
        throw Error(
            "PutSolarResource: the solar resource has no monthly radiation; call "
            "SetMonthlyRadiation first.");
    d->data.solar = r;
}
std::optional<WindResource> Project::GetWindResource() const {
    requireOpen(*d, "GetWindResource");
    return d->data.wind;
}
void Project::PutWindResource(const WindResource& r) {
    d->requireIdle("PutWindResource");
    requireOpen(*d, "PutWindResource");
    if (!r.IsSet())
        throw Error(
            "PutWindResource: the wind resource has neither monthly speeds nor a power density; "
            "call SetMonthlySpeeds or SetFromPowerDensity first.");
    d->data.wind = r;
    d->data.site.elevation = r.Altitude();
}

std::optional<HydroResource> Project::GetHydroResource() const {
    requireOpen(*d, "GetHydroResource");
    return d->data.hydro;
}
void Project::PutHydroResource(const HydroResource& r) {
    d->requireIdle("PutHydroResource");
    requireOpen(*d, "PutHydroResource");
    if (!r.IsSet())
        throw Error(
            "PutHydroResource: the hydro resource has no monthly power; call SetMonthlyPower "
            "first.");
    d->data.hydro = r;
}
void Project::RemoveHydroResource() {
    d->requireIdle("RemoveHydroResource");
    requireOpen(*d, "RemoveHydroResource");
    d->data.hydro.reset();
}

void Project::RemoveSolarResource() {
    d->requireIdle("RemoveSolarResource");
    requireOpen(*d, "RemoveSolarResource");
    d->data.solar.reset();
    d->data.pv.sizesKw = {0};
}

void Project::RemoveWindResource() {
    d->requireIdle("RemoveWindResource");
    requireOpen(*d, "RemoveWindResource");
    d->data.wind.reset();
    d->data.turbine.counts = {0};
}

std::string Project::GetNotes() const {
    requireOpen(*d, "GetNotes");
    return d->data.notes;
}
void Project::SetNotes(const std::string& text) {
    d->requireIdle("SetNotes");
    requireOpen(*d, "SetNotes");
    d->data.notes = text;
}

void Project::SaveFileAs(const std::filesystem::path& path) {
    d->requireIdle("SaveFileAs");
    requireOpen(*d, "SaveFileAs");
    writeFileAtomically(path, serializeProject(d->data), "SaveFileAs");
    d->path = path;
}

std::string Project::MissingInputs() const {
    if (!d->loaded) return "No project is open.";
    const ProjectData& p = d->data;
    std::string why;
    bool pv = std::any_of(p.pv.sizesKw.begin(), p.pv.sizesKw.end(), [](double v) { return v > 0; });
    bool wind =
        std::any_of(p.turbine.counts.begin(), p.turbine.counts.end(), [](int v) { return v > 0; });
    if (pv && !p.solar) why += "The PV array needs a solar resource. ";
    if (wind && !p.wind) why += "The wind turbine needs a wind resource. ";
    if (!p.fuels.count(p.diesel.fuel))
        why += "The generator's fuel '" + p.diesel.fuel + "' is missing. ";
    if (why.empty()) {
        std::int64_t n = countSystems(p);
        if (n == 0)
            why += "The search space holds no system with a source of power. ";
        else if (n > kMaxSystems)
            why += tooManySystems(p, n) + " ";
    }
    if (!why.empty()) why.pop_back();
    return why;
}

int Project::InputsComplete() const {
    try {
        return MissingInputs().empty() ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

void Project::StartCalculation() {
    d->requireIdle("StartCalculation");
    requireOpen(*d, "StartCalculation");
    std::string why = MissingInputs();
    if (!why.empty()) throw Error("StartCalculation: the inputs are not complete. " + why);

    Impl& m = *d;
    m.ctx = buildContext(m.data);
    m.systems = enumerateSystems(m.data);
    m.all.assign(m.systems.size(), Result{});
    // Systems of one kind share a kernel: the workers take batches of them to run side by side.
    m.order.clear();
    m.batches.clear();
    for (int kind = 0; kind < 4; ++kind) {
        const int first = static_cast<int>(m.order.size());
        for (std::size_t j = 0; j < m.systems.size(); ++j)
            if (batchKind(m.systems[j]) == kind) m.order.push_back(static_cast<int>(j));
        const int end = static_cast<int>(m.order.size());
        for (int b = first; b < end; b += kBatchSize)
            m.batches.emplace_back(b, std::min(kBatchSize, end - b));
    }
    m.list0.clear();
    m.list1.clear();
    m.resultsValid = false;
    m.stop.store(false);
    m.next.store(0);
    m.done.store(0);
    m.total.store(static_cast<std::int64_t>(m.systems.size()));
    m.started = std::chrono::steady_clock::now();

    unsigned hw = std::max(1u, std::thread::hardware_concurrency());
    int threads =
        static_cast<int>(std::min<std::size_t>(hw, std::max<std::size_t>(1, m.batches.size())));
    m.active.store(threads);
    m.running.store(true, std::memory_order_release);

    auto work = [&m]() {
        const Context& c = *m.ctx;
        const std::int64_t n = static_cast<std::int64_t>(m.batches.size());
        SystemSpec specs[kBatchSize];
        SimTotals totals[kBatchSize];
        while (!m.stop.load(std::memory_order_relaxed)) {
            std::int64_t i = m.next.fetch_add(1);
            if (i >= n) break;
            const auto [first, count] = m.batches[i];
            for (int k = 0; k < count; ++k) specs[k] = m.systems[m.order[first + k]];
            simulateBatch(c, specs, count, totals);
            for (int k = 0; k < count; ++k) {
                const int j = m.order[first + k];
                Result r = makeResult(c, specs[k], totals[k]);
                r.index = j;
                m.all[j] = r;
            }
            m.done.fetch_add(count, std::memory_order_relaxed);
        }
        if (m.active.fetch_sub(1) == 1) {
            // The last worker out publishes the sorted lists, then clears the running flag.
            if (!m.stop.load()) {
                std::vector<Result> feasible, infeasible;
                for (const Result& r : m.all) (r.feasible ? feasible : infeasible).push_back(r);
                auto byCost = [](const Result& a, const Result& b) {
                    if (a.npc != b.npc) return a.npc < b.npc;
                    return a.index < b.index;
                };
                std::sort(feasible.begin(), feasible.end(), byCost);
                std::sort(infeasible.begin(), infeasible.end(), byCost);
                m.list0 = feasible;
                m.list1 = std::move(feasible);
                m.list1.insert(m.list1.end(), infeasible.begin(), infeasible.end());
                m.resultsValid = true;
                m.lastSeconds =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - m.started)
                        .count();
            }
            m.running.store(false, std::memory_order_release);
        }
    };
    std::unique_lock<std::mutex> lock(
        m.joinMutex);  // a StopCalculation elsewhere waits for all to start
    try {
        for (int k = 0; k < threads; ++k) m.workers.emplace_back(work);
    } catch (const std::system_error& e) {
        lock.unlock();
        // Threads that could not start will never check out; count them out ourselves.
        int started = static_cast<int>(m.workers.size());
        m.stop.store(true);
        if (started == 0) {
            m.running.store(false);
        } else if (m.active.fetch_sub(threads - started) == threads - started) {
            m.running.store(false);
        }
        m.join();
        m.running.store(false);
        throw Error(std::string("StartCalculation: cannot start the worker threads: ") + e.what());
    }
}

int Project::IsCalculating() const { return d->running.load(std::memory_order_acquire) ? 1 : 0; }

float Project::PercentComplete() const {
    std::int64_t total = d->total.load(), done = d->done.load();
    if (total <= 0) return !IsCalculating() && d->resultsValid ? 100.0f : 0.0f;
    return static_cast<float>(100.0 * static_cast<double>(done) / static_cast<double>(total));
}

void Project::StopCalculation() {
    if (d->running.load(std::memory_order_acquire)) d->stop.store(true);
    d->join();
}

void Project::CalculateBlocking() {
    StartCalculation();
    d->join();
}

std::string Project::InputSummaryHtml() const {
    d->requireIdle("InputSummaryHtml");
    requireOpen(*d, "InputSummaryHtml");
    std::shared_ptr<const Context> ctx;
    if (MissingInputs().empty()) ctx = buildContext(d->data);
    return inputSummaryHtml(d->data, ctx.get());
}

int Project::WriteInputSummary(const std::filesystem::path& path) const {
    d->requireIdle("WriteInputSummary");
    requireOpen(*d, "WriteInputSummary");
    writeFileAtomically(path, InputSummaryHtml(), "WriteInputSummary");
    return 1;
}

int Project::ResultCount(int list) const {
    d->requireIdle("ResultCount");
    if (list == 0) return static_cast<int>(d->list0.size());
    if (list == 1) return static_cast<int>(d->list1.size());
    throw Error("ResultCount: there is no result list " + std::to_string(list) +
                " (lists are 0 and 1)");
}

Result Project::GetResult(int list, int index) const {
    d->requireIdle("GetResult");
    if (list != 0 && list != 1)
        throw Error("GetResult: there is no result list " + std::to_string(list) +
                    " (lists are 0 and 1)");
    const auto& l = list == 0 ? d->list0 : d->list1;
    if (index < 0 || index >= static_cast<int>(l.size()))
        throw Error("GetResult: index " + std::to_string(index) + " is outside result list " +
                    std::to_string(list) + ", which holds " + std::to_string(l.size()) +
                    " systems");
    return l[index];
}

std::string Project::DescribeSystem(const Result& result) const {
    const ProjectData& data = d->ctx ? d->ctx->data : d->data;
    return describe(d->ctx.get(), data, result);
}

std::int32_t Project::SystemTypeColor(std::int16_t code) const { return typeColour(code); }

std::string Project::SystemTypeName(std::int16_t code) {
    if (code <= 0 || code > 31) return "None";
    std::string s;
    auto add = [&](const char* n) { s += (s.empty() ? "" : "/") + std::string(n); };
    if (code & kTypePV) add("PV");
    if (code & kTypeWind) add("Wind");
    if (code & kTypeHydro) add("Hydro");
    if (code & kTypeDiesel) add("Diesel");
    if (code & kTypeBattery) add("Battery");
    return s;
}

std::string Project::SystemSummaryHtml(const Result& r) const {
    d->requireIdle("SystemSummaryHtml");
    requireOpen(*d, "SystemSummaryHtml");
    // The hourly year of the last calculation; without one, that of the present inputs.
    std::shared_ptr<const Context> ctx = d->ctx;
    if (!ctx) {
        std::string why = MissingInputs();
        if (!why.empty()) throw Error("WriteSystemSummary: the inputs are not complete. " + why);
        ctx = buildContext(d->data);
    }
    SystemSpec s{r.pvKw,        r.windCount, r.dieselKw, r.batteryCount,
                 r.converterKw, r.dispatch,  r.hydroKw};
    return systemSummaryHtml(*ctx, s);
}

void Project::WriteSystemSummary(const std::filesystem::path& path, const Result& r) const {
    d->requireIdle("WriteSystemSummary");
    requireOpen(*d, "WriteSystemSummary");
    writeFileAtomically(path, SystemSummaryHtml(r), "WriteSystemSummary");
}

void Project::ExportHourlyYear(const std::filesystem::path& path) const {
    d->requireIdle("ExportHourlyYear");
    requireOpen(*d, "ExportHourlyYear");
    writeFileAtomically(path, hourlyYearCsv(*buildYear(d->data)), "ExportHourlyYear");
}

std::string Project::Name() const { return d->data.name; }

std::int64_t Project::SystemsToTry() const {
    if (d->running.load()) return d->total.load();
    if (!d->loaded) return 0;
    return countSystems(d->data);
}

std::int64_t Project::SystemsDone() const { return d->done.load(); }

double Project::LastCalculationSeconds() const {
    if (d->running.load()) return 0;
    return d->lastSeconds;
}

}  // namespace zorvel
