// Zorvel's inner data: the project as read from a .zvx file, the synthetic hourly year and the
// simulation of one system. Not part of the automation interface (project.h).
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "zorvel/project.h"
#include "zorvel/solar.h"

namespace zorvel {

constexpr int kHoursPerYear = 8760;
constexpr std::array<int, 12> kDaysInMonth{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
extern const char* const kMonthNames[12];
int monthOfDay(int dayOfYear);   // 0..11 for day 0..364
int firstDayOfMonth(int month);  // day of year of the 1st

struct SiteData {
    double latitude = 0;                                              // degrees, north positive
    double longitude = 0;                                             // degrees, east positive
    double elevation = 0;                                             // metres above sea level
    double ambientTemperature = 25;                                   // annual mean, deg C
    // The elevation ambientTemperature belongs to when it is a template's value rather than the
    // site's own: the model then moves it to the site's elevation.
    std::optional<double> temperatureReferenceElevation;              // metres
    std::optional<std::array<double, 12>> monthlyAmbientTemperature;  // deg C, when given
    double groundReflectance = 0.2;                                   // albedo, 0..1
    double windShearExponent = 0.14;
};

struct EconomicsData {
    double lifetimeYears = 25;
    double discountRatePercent = 6;
    double capacityShortagePercent = 0;
    double fixedCapital = 0;    // $ (distribution grid, powerhouse, ...)
    double fixedOmPerYear = 0;  // $/yr
};

struct ReserveData {
    double loadPercent = 10;   // operating reserve as share of the hourly load
    double solarPercent = 25;  // ... of the PV output
    double windPercent = 50;   // ... of the wind output
};

struct LoadData {
    double averageKWhPerDay = 0;
    bool byMonth = false;  // false: weekday/weekend shapes
    std::array<double, 24> weekday{};
    std::array<double, 24> weekend{};
    std::array<std::array<double, 24>, 12> monthly{};
    double dayToDayPercent = 10;    // standard deviation of the daily factor
    double hourToHourPercent = 15;  // ... of the hourly factor
};

struct PvData {
    std::string name;
    double capitalPerKw = 0, replacementPerKw = 0, omPerKwYear = 0, lifetimeYears = 25;
    double deratingPercent = 85;
    double temperatureCoefficientPercent = -0.37;  // % of power per deg C
    double noct = 45;                              // deg C
    std::vector<double> sizesKw;
};

struct WindTurbineData {
    std::string name;
    double ratedKw = 0;
    double hubHeight = 30;
    std::vector<std::pair<double, double>> powerCurve;  // (m/s, kW) at 1.225 kg/m3, ascending
    double capitalPerTurbine = 0, replacementPerTurbine = 0, omPerTurbineYear = 0;
    double lifetimeYears = 20;
    std::vector<int> counts;
};

struct DieselData {
    std::string name;
    std::string fuel = "Diesel";
    double capitalPerKw = 0, replacementPerKw = 0;
    double omPerKwHour = 0;                    // $ per operating hour per kW of rated size
    double costPerStart = 0;                   // $
    double fuelInterceptLPerHPerKw = 0.08145;  // L/h per kW rated
    double fuelSlopeLPerKWh = 0.246;           // L per kWh of output
    double minimumLoadPercent = 25;
    double lifetimeHours = 15000;
    std::vector<double> sizesKw;
};

struct BatteryData {
    std::string name;
    double nominalKWh = 0;
    double minimumSocPercent = 20;
    double roundTripPercent = 90;
    double maxChargeRate = 0.5;        // kW per kWh of nominal capacity
    double maxDischargeRate = 1.0;     // kW per kWh of nominal capacity
    double lifetimeThroughputKWh = 0;  // per battery
    double floatLifeYears = 10;
    double capitalPerBattery = 0, replacementPerBattery = 0, omPerBatteryYear = 0;
    std::vector<int> counts;
};

struct ConverterData {
    std::string name;
    double efficiencyPercent = 95;  // inverter and rectifier
    double capitalPerKw = 0, replacementPerKw = 0, omPerKwYear = 0, lifetimeYears = 15;
    std::vector<double> sizesKw;
};

// A run-of-river plant without storage: its output each hour is the smaller of its size and
// the available power, efficiency x design-flow share x the month's hydro power.
struct HydroData {
    std::string name;
    double capitalPerKw = 0, replacementPerKw = 0, omPerKwYear = 0, lifetimeYears = 20;
    double designFlowPercent = 80;  // share of the river's flow the intake may take
    double efficiencyPercent = 70;  // water to wire
    std::vector<double> sizesKw;    // kW electrical
};

struct DispatchData {
    bool loadFollowing = true;
    bool cycleCharging = true;
    double setpointPercent = 80;  // cycle charging set-point state of charge
};

struct SeedData {
    std::uint64_t load = 1, solar = 2, wind = 3;
};

struct ProjectData {
    std::string name;
    std::string notes;
    SiteData site;
    EconomicsData economics;
    ReserveData reserve;
    std::map<std::string, Fuel> fuels;
    LoadData load;
    std::optional<SolarResource> solar;
    std::optional<WindResource> wind;
    std::optional<HydroResource> hydro;
    PvData pv;
    WindTurbineData turbine;
    DieselData diesel;
    BatteryData battery;
    ConverterData converter;
    std::optional<HydroData> hydroPlant;  // absent in projects written before hydro
    DispatchData dispatch;
    SeedData seeds;
};

// .zvx reading and writing (io.cpp). readProject throws Error naming the file and the key.
ProjectData readProject(const std::filesystem::path& path);
ProjectData parseProject(const std::string& text, const std::string& sourceName);
std::string serializeProject(const ProjectData& data);
double clean(float f);  // the shortest decimal that reads back as the same float
constexpr std::uint64_t kMaxProjectBytes = 16 * 1024 * 1024;

// The user's files (files.cpp). readBoundedFile reads a regular file of at most maxBytes and
// throws Error naming `what` and the path otherwise (never blocks on a FIFO or reads a device).
// writeFileAtomically replaces the file as a whole or leaves it as it was; it refuses a target
// that is not a regular file. Its errors begin with `op`.
std::string readBoundedFile(const std::filesystem::path& path, const std::string& what,
                            std::uint64_t maxBytes);
void writeFileAtomically(const std::filesystem::path& path, const std::string& text,
                         const std::string& op);

// The annual mean air temperature at the site: a template's value moved from its reference
// elevation to the site's by the standard lapse rate; the project's own value as it is.
constexpr double kLapseRateKPerM = 0.0065;
double siteAmbientTemperature(const SiteData& site);

// ----- synthesis (synth.cpp) -----
// Deterministic generator: xoshiro256** seeded through splitmix64; normals by Box-Muller.
class Random {
  public:
    explicit Random(std::uint64_t seed);
    std::uint64_t next();
    double uniform();  // [0, 1)
    double normal();   // N(0, 1)
  private:
    std::uint64_t s_[4];
    double spare_ = 0;
    bool hasSpare_ = false;
};

std::vector<double> synthesizeLoad(const LoadData& load, std::uint64_t seed);  // kW, 8760
struct SolarSeries {
    std::vector<double> ghi;                 // kW/m2 hourly mean on the horizontal
    std::vector<double> tilted;              // kW/m2 on the plane tilted at the latitude
    std::vector<double> effective;           // the same after the angle-of-incidence loss
    std::vector<double> dailyClearness;      // 365: the day's global / extraterrestrial
    std::vector<double> dailyClearSkyIndex;  // 365: the day's global / clear sky
};
SolarSeries synthesizeSolar(const SolarResource& solar, double longitude, double groundReflectance,
                            double elevation, std::uint64_t seed);
std::vector<double> synthesizeWind(const WindResource& wind, std::uint64_t seed);  // m/s, 8760
double weibullKFromMoments(const std::vector<double>& v);  // k whose CV matches the series'
double lag1Autocorrelation(const std::vector<double>& v);

// ----- the hourly year and the simulation (simulate.cpp) -----
struct Context {
    ProjectData data;
    std::vector<double> load;           // kW
    SolarSeries solar;                  // empty when there is no solar resource
    std::vector<double> windSpeed;      // m/s at anemometer height, empty when none
    std::vector<float> loadF;           // the same as floats for the fast loop
    std::vector<float> pvPerKw;         // kW AC-equivalent DC output per kW of PV
    std::vector<double> windHub;        // m/s at the hub height, empty when none
    std::vector<float> windPerTurbine;  // kW per turbine at hub height and site air density
    std::vector<double> ambient;        // deg C
    std::vector<double> cell;           // deg C of the PV cells, empty without solar
    std::vector<float> hydroAvailable;  // kW electrical a plant of any size could make, empty
                                        // without a hydro resource and plant
    double annualLoadKWh = 0;
    double peakLoadKw = 0;
};
// Builds the hourly year from a project (throws Error when inputs are incomplete); buildYear
// builds what the project's resources allow (no solar or wind series without their resource).
std::shared_ptr<const Context> buildContext(const ProjectData& data);
std::shared_ptr<const Context> buildYear(const ProjectData& data);

struct SystemSpec {
    double pvKw = 0;
    int windCount = 0;
    double dieselKw = 0;
    int batteryCount = 0;
    double converterKw = 0;
    int dispatch = 0;  // 0 load following, 1 cycle charging
    double hydroKw = 0;
};

// One hour's flows (kW over one hour = kWh).
struct HourFlows {
    float load, served, unmet, capacityShortage;
    float pv, wind, hydro, generator;
    float inverterIn, inverterOut, rectifierIn, rectifierOut;
    float batteryCharge, batteryDischarge;  // at the battery terminals (DC)
    float excessAc, excessDc;
    float stateOfCharge;  // kWh after the hour
    float fuel;           // L
};

struct Detail {
    std::vector<HourFlows> hours;  // filled when wantHours
    bool wantHours = false;
    std::array<double, 12> pv{}, wind{}, hydro{}, generator{}, load{}, served{}, unmet{}, excess{},
        fuel{};
};

struct SimTotals {
    double load = 0, served = 0, unmet = 0, capacityShortage = 0;
    double pv = 0, wind = 0, hydro = 0, generator = 0, excess = 0;
    double fuel = 0, generatorHours = 0, starts = 0;
    double batteryThroughput = 0, batteryIn = 0, batteryOut = 0;
    double inverterOut = 0, rectifierOut = 0;
    double finalSoc = 0;
};

// The dispatch (dispatch.cpp): one system's year; or up to kBatchSize systems of one kind
// (batchKind: with or without battery and generator) side by side, each getting the totals
// simulate() gives it alone. `portable` takes the kernel every processor runs even where a faster
// one would be taken (for the tests).
SimTotals simulate(const Context& ctx, const SystemSpec& spec, Detail* detail = nullptr);
constexpr int kBatchSize = 4;
int batchKind(const SystemSpec& spec);  // 0..3
void simulateBatch(const Context& ctx, const SystemSpec* specs, int count, SimTotals* totals,
                   bool portable = false);

// Economics of one simulated system.
struct ComponentCost {
    std::string kind;  // "PV", "Wind", "Hydro", "Diesel", "Battery", "Converter", "System"
    double capital = 0, replacement = 0, om = 0, fuel = 0, salvage = 0;  // present values
    double total() const { return capital + replacement + om + fuel - salvage; }
    double lifetimeYears = 0;
};
struct Economics {
    std::vector<ComponentCost> components;
    double npc = 0, initialCapital = 0, annualized = 0, costOfEnergy = 0;
    double crf = 0;
};
double capitalRecoveryFactor(double rate, double years);
Economics evaluate(const Context& ctx, const SystemSpec& spec, const SimTotals& totals);
Result makeResult(const Context& ctx, const SystemSpec& spec, const SimTotals& totals);
std::int16_t typeCodeOf(const SystemSpec& spec);
std::int32_t typeColour(std::int16_t typeCode);  // r + 256 g + 65536 b
std::string describe(const Context* ctx, const ProjectData& data, const Result& r);

// The plant sizes searched: the listed sizes up to the largest available power, and that power
// itself when the list goes beyond it; {0} without a river or a plant.
std::vector<double> hydroSizes(const ProjectData& data);
// The largest hourly power a plant of any size could take from the river, kW electrical.
double hydroAvailablePeak(const ProjectData& data);

// Every system of the search space, in a fixed order (invalid combinations left out), and their
// number, counted from the list sizes without enumerating them.
std::vector<SystemSpec> enumerateSystems(const ProjectData& data);
std::int64_t countSystems(const ProjectData& data);
constexpr std::int64_t kMaxSystems = 5'000'000;

// The hourly year as CSV, one row per hour (export.cpp); series a project has no resource for are
// left empty.
std::string hourlyYearCsv(const Context& ctx);

// HTML pages (html.cpp)
std::string inputSummaryHtml(const ProjectData& data, const Context* ctx);
std::string systemSummaryHtml(const Context& ctx, const SystemSpec& spec);
std::string htmlEscape(const std::string& text);

struct Project::Impl {
    bool loaded = false;
    std::filesystem::path path;
    ProjectData data;

    // calculation
    std::shared_ptr<const Context> ctx;  // of the last started calculation
    std::vector<SystemSpec> systems;
    std::vector<Result> all;  // indexed like systems
    // The work: indices into systems grouped by batchKind, and batches (first, count) of them.
    std::vector<int> order;
    std::vector<std::pair<int, int>> batches;
    std::vector<Result> list0, list1;
    std::vector<std::thread> workers;
    std::atomic<bool> running{false};
    std::atomic<bool> stop{false};
    std::atomic<std::int64_t> next{0};
    std::atomic<std::int64_t> done{0};
    std::atomic<int> active{0};
    std::atomic<std::int64_t> total{0};
    std::mutex joinMutex;
    double lastSeconds = 0;
    bool resultsValid = false;
    std::chrono::steady_clock::time_point started;

    void join();
    void requireIdle(const char* operation) const;
};

// Argument checks of the automation operations: throw Error naming the operation.
std::string numberText(double v);
std::string groupedNumber(std::int64_t v);  // 1234567 -> "1,234,567"
void checkRange(const char* op, const char* what, double v, double lo, double hi);

}  // namespace zorvel
