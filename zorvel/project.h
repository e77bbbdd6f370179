// Zorvel automation interface: the project object the model window drives.
//
// Usage, in the order the model window calls it:
//
//   zorvel::Project p;                       // created new for each run
//   p.OpenFile(templatePath);                // a .zvx project (JSON, see zorvel/README.md)
//   p.SetLatitude(lat); p.SetLongitude(lon); // degrees, north / east positive
//   p.SetRealDiscountRate(5.0f);             // percent
//   p.SetCapacityShortage(1.0f);             // percent of annual energy that may go unserved
//   zorvel::Fuel f = p.GetFuel("Diesel"); f.SetPrice(0.40f); p.PutFuel("Diesel", f);
//   auto s = p.GetSolarResource(); if (!s) s.emplace();
//   s->SetMonthlyRadiation(p.GetLatitude(), radiation12); p.PutSolarResource(*s);
//   auto w = p.GetWindResource(); if (!w) w.emplace();
//   w->SetAltitude(elev); w->SetMonthlySpeeds(speeds12) ... or w->SetFromPowerDensity(pd,
//   elev, 2.0f); p.PutWindResource(*w); p.SetNotes("..." + p.GetNotes()); if (p.InputsComplete() ==
//   1) { p.StartCalculation(); while (p.IsCalculating() == 1) {...} } for (int i = 0; i <
//   p.ResultCount(0); ++i) { zorvel::Result r = p.GetResult(0, i); ... }
//
// Every failure throws zorvel::Error, whose what() is the description text the callers report.
//
// Threads: StartCalculation returns at once and runs the search on worker threads (std::thread).
// IsCalculating, PercentComplete and StopCalculation may be called from any thread at any time
// while those threads run; a stop takes effect within 100 ms (the workers are joined by then or
// by the next IsCalculating()/destructor). While a calculation runs, the operations that change
// the project, read the result lists or write files throw zorvel::Error ("...: a calculation is
// running; stop it or wait until it ends."); the getters of the inputs, DescribeSystem and
// SystemTypeColor still answer. A stopped run leaves the result lists empty. The destructor stops
// and joins a running calculation. One Project must not be used by two threads at once, apart
// from the three calls named above.
//
// Strings are UTF-8. Paths are std::filesystem::path (a std::string converts implicitly).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace zorvel {

// Every failure of the model: what() is a description text such as
// "Project file 'x.zvx': key 'economics.lifetime_years' must be a number".
class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A fuel with its price. The templates hold one fuel, "Diesel".
class Fuel {
  public:
    Fuel() = default;
    void SetPrice(float pricePerLitre);  // $/L, must be >= 0 and finite
    float GetPrice() const { return price_; }
    // Physical properties (from the project file; defaults are those of diesel).
    float densityKgPerL = 0.820f;            // kg/L
    float lowerHeatingValueMJPerKg = 43.2f;  // MJ/kg
  private:
    float price_ = 1.0f;
};

// Monthly global horizontal radiation at a site.
class SolarResource {
  public:
    SolarResource() = default;
    // latitude in degrees (north positive); values: exactly 12 monthly means in kWh/m2/day,
    // January first, each >= 0 and <= 12. Throws Error otherwise.
    void SetMonthlyRadiation(float latitude, std::span<const float> monthlyKWhPerM2Day);
    float Latitude() const { return latitude_; }
    const std::array<float, 12>& MonthlyRadiation() const { return monthly_; }
    bool IsSet() const { return set_; }

  private:
    float latitude_ = 0.0f;
    std::array<float, 12> monthly_{};
    bool set_ = false;
};

// Wind at a site: either 12 monthly mean speeds (at the anemometer height) with Weibull k,
// lag-1 autocorrelation and a diurnal pattern, or one annual power density with a k.
class WindResource {
  public:
    enum class Mode { MonthlySpeeds, PowerDensity };
    WindResource() = default;
    void SetAltitude(float metresAboveSeaLevel);     // site elevation, -500..9000 m
    void SetAutocorrelation(float lag1);             // 0..1
    void SetWK(float weibullK);                      // 0.5..10
    void SetPatternStrength(float diurnalStrength);  // 0..1
    void SetPeakHour(int hourOfDay);                 // 0..23 (24 is taken as 0)
    void SetMonthlySpeeds(std::span<const float> monthlyMetresPerSecond);  // exactly 12, 0..50
    // Annual power density in W/m2 at the anemometer height, site elevation and Weibull k:
    // sets Mode::PowerDensity with c = (2 PD / (rho Gamma(1 + 3/k)))^(1/3).
    void SetFromPowerDensity(float powerDensityWPerM2, float altitude, float weibullK);

    Mode GetMode() const { return mode_; }
    float Altitude() const { return altitude_; }
    float Autocorrelation() const { return autocorrelation_; }
    float WK() const { return k_; }
    float PatternStrength() const { return patternStrength_; }
    int PeakHour() const { return peakHour_; }
    const std::array<float, 12>& MonthlySpeeds() const { return monthly_; }
    float PowerDensity() const { return powerDensity_; }
    float AnemometerHeight() const { return anemometerHeight_; }
    void SetAnemometerHeight(float metres);  // 1..300 m, default 50 m
    bool IsSet() const { return set_; }

  private:
    Mode mode_ = Mode::MonthlySpeeds;
    float altitude_ = 0.0f;
    float autocorrelation_ = 0.85f;
    float k_ = 2.0f;
    float patternStrength_ = 0.25f;
    int peakHour_ = 15;
    std::array<float, 12> monthly_{};
    float powerDensity_ = 0.0f;
    float anemometerHeight_ = 50.0f;
    bool set_ = false;
};

// The river at a site for a run-of-river plant: 12 monthly mean hydro powers in kW, January
// first, as the hydro layer holds them (the hydraulic power of the flow at the site).
class HydroResource {
  public:
    HydroResource() = default;
    // Exactly 12 values, each finite, >= 0 and <= kMaxHydroKw. Throws Error naming the month.
    void SetMonthlyPower(std::span<const float> monthlyKw);
    const std::array<float, 12>& MonthlyPower() const { return monthly_; }
    bool IsSet() const { return set_; }
    // More than a gigawatt is no village's river: a unit or data error.
    static constexpr float kMaxHydroKw = 1.0e6f;

  private:
    std::array<float, 12> monthly_{};
    bool set_ = false;
};

// One simulated system of a result list: its sizes, its costs and its annual figures.
class Result {
  public:
    float NetPresentCost() const { return static_cast<float>(npc); }  // $, present value
    std::int16_t SystemTypeCode() const { return typeCode; }

    // Sizes (0 = component absent).
    double pvKw = 0;         // PV array, kW DC
    int windCount = 0;       // number of wind turbines
    double dieselKw = 0;     // generator, kW
    int batteryCount = 0;    // batteries
    double converterKw = 0;  // converter, kW
    double hydroKw = 0;      // run-of-river plant, kW electrical
    int dispatch = 0;        // 0 load following, 1 cycle charging
    // Figures of the simulated year and the economics.
    double npc = 0;                // net present cost, $
    double initialCapital = 0;     // $
    double annualizedCost = 0;     // total annualised cost, $/yr
    double operatingCost = 0;      // annualised cost less annualised capital, $/yr
    double costOfEnergy = 0;       // levelised cost of energy, $/kWh served
    double renewableFraction = 0;  // 0..1
    double capacityShortage = 0;   // 0..1 of annual load
    double unmetLoadKWh = 0;       // kWh/yr
    double excessKWh = 0;          // kWh/yr
    double fuelLitres = 0;         // L/yr
    double generatorHours = 0;     // h/yr
    double servedKWh = 0;          // kWh/yr of load served
    bool feasible = false;
    std::int16_t typeCode = 0;
    int index = -1;  // position in the search (internal)
};

class Project {
  public:
    Project();
    ~Project();
    Project(const Project&) = delete;
    Project& operator=(const Project&) = delete;

    // 1. Loads a .zvx project; on failure the project keeps its previous state.
    void OpenFile(const std::filesystem::path& path);
    // 2.
    void SetLatitude(float degrees);  // -90..90
    float GetLatitude() const;
    void SetLongitude(float degrees);  // -180..180
    float GetLongitude() const;
    // 3.
    void SetRealDiscountRate(float percent);  // 0..100
    float GetRealDiscountRate() const;
    void SetCapacityShortage(float percent);  // 0..100
    float GetCapacityShortage() const;
    // 4. GetFuel throws Error when the project has no fuel of that name.
    Fuel GetFuel(const std::string& name) const;
    void PutFuel(const std::string& name, const Fuel& fuel);
    // 5./6. Empty when the project has none; then the caller creates a new one.
    std::optional<SolarResource> GetSolarResource() const;
    void PutSolarResource(const SolarResource& resource);
    std::optional<WindResource> GetWindResource() const;
    void PutWindResource(const WindResource& resource);
    // The site's river; a project without one has no hydro plant in its search.
    std::optional<HydroResource> GetHydroResource() const;
    void PutHydroResource(const HydroResource& resource);
    void RemoveHydroResource();
    // A site without that resource: the resource goes, and the PV array (or the wind turbines)
    // with it, so the search tries the systems the site can have.
    void RemoveSolarResource();
    void RemoveWindResource();
    // 7.
    std::string GetNotes() const;
    void SetNotes(const std::string& text);
    // 8. Writes the project (JSON); throws Error when the file cannot be written.
    void SaveFileAs(const std::filesystem::path& path);
    // 9. 1 when a project is loaded with load, solar and wind resources and at least one
    //    component, else 0. Never throws.
    int InputsComplete() const;
    // Why InputsComplete() is 0 (empty when it is 1).
    std::string MissingInputs() const;
    // 10. StartCalculation throws Error when inputs are not complete or a calculation runs.
    void StartCalculation();
    int IsCalculating() const;      // 1 while running, else 0
    float PercentComplete() const;  // systems done / systems to try x 100
    void StopCalculation();         // returns within 100 ms, the workers ended; no-op when idle
    // 11. Non-zero when the page was written; throws Error with the reason otherwise.
    int WriteInputSummary(const std::filesystem::path& path) const;
    // 12. List 0: feasible systems by ascending net present cost. List 1: every system tried,
    //     feasible first, each part by ascending net present cost. Other lists throw Error.
    int ResultCount(int list) const;
    Result GetResult(int list, int index) const;  // throws Error on a bad list or index
    std::string DescribeSystem(const Result& result) const;
    // A fixed colour number r + 256 g + 65536 b for each type code; grey for unknown codes.
    std::int32_t SystemTypeColor(std::int16_t typeCode) const;
    void WriteSystemSummary(const std::filesystem::path& path, const Result& result) const;

    // Beyond what the model window uses (for the zorvel program, tests and benchmarks).
    std::string Name() const;           // project name from the file
    std::int64_t SystemsToTry() const;  // size of the search space of the loaded project
    std::int64_t SystemsDone() const;
    double LastCalculationSeconds() const;  // wall time of the last finished calculation
    void CalculateBlocking();               // StartCalculation and wait for it
    // The pages of WriteInputSummary / WriteSystemSummary as text.
    std::string InputSummaryHtml() const;
    std::string SystemSummaryHtml(const Result& result) const;
    // Writes the synthetic hourly year of the present inputs as CSV (columns hour, load_kw,
    // ghi_kw_m2, poa_kw_m2, ambient_c, cell_c, pv_kw_per_kw, wind_hub_m_s, wind_kw_per_turbine,
    // hydro_kw);
    // throws Error when no project is open, a calculation runs or the file cannot be written.
    void ExportHourlyYear(const std::filesystem::path& path) const;
    // Text name of a type code, e.g. "PV/Diesel/Battery".
    static std::string SystemTypeName(std::int16_t typeCode);

    struct Impl;
    Impl& impl();  // the model's data (zorvel/model.h); not for the model window
    const Impl& impl() const;

  private:
    std::unique_ptr<Impl> d;
};

// Type codes: bit 0 PV, bit 1 wind, bit 2 diesel, bit 3 battery, bit 4 hydro (the converter is
// implied by PV or battery). E.g. 5 = PV/Diesel, 13 = PV/Diesel/Battery, 28 = Hydro/Diesel/Battery.
enum SystemTypeBits : std::int16_t {
    kTypePV = 1,
    kTypeWind = 2,
    kTypeDiesel = 4,
    kTypeBattery = 8,
    kTypeHydro = 16
};

}  // namespace zorvel
