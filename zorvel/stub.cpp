#include "zorvel/project.h"
namespace zorvel {
struct Project::Impl {};
static void ni() { throw Error("Zorvel: not implemented yet"); }
Project::Project() : d(std::make_unique<Impl>()) {}
Project::~Project() = default;
void Project::OpenFile(const std::filesystem::path&) { ni(); }
void Project::SetLatitude(float) { ni(); }
float Project::GetLatitude() const { ni(); return 0; }
void Project::SetLongitude(float) { ni(); }
float Project::GetLongitude() const { ni(); return 0; }
void Project::SetRealDiscountRate(float) { ni(); }
float Project::GetRealDiscountRate() const { ni(); return 0; }
void Project::SetCapacityShortage(float) { ni(); }
float Project::GetCapacityShortage() const { ni(); return 0; }
Fuel Project::GetFuel(const std::string&) const { ni(); return {}; }
void Project::PutFuel(const std::string&, const Fuel&) { ni(); }
std::optional<SolarResource> Project::GetSolarResource() const { ni(); return {}; }
void Project::PutSolarResource(const SolarResource&) { ni(); }
std::optional<WindResource> Project::GetWindResource() const { ni(); return {}; }
void Project::PutWindResource(const WindResource&) { ni(); }
std::string Project::GetNotes() const { ni(); return {}; }
void Project::SetNotes(const std::string&) { ni(); }
void Project::SaveFileAs(const std::filesystem::path&) { ni(); }
int Project::InputsComplete() const { return 0; }
std::string Project::MissingInputs() const { return "not implemented"; }
void Project::StartCalculation() { ni(); }
int Project::IsCalculating() const { return 0; }
float Project::PercentComplete() const { return 0; }
void Project::StopCalculation() {}
int Project::WriteInputSummary(const std::filesystem::path&) const { ni(); return 0; }
int Project::ResultCount(int) const { ni(); return 0; }
Result Project::GetResult(int, int) const { ni(); return {}; }
std::string Project::DescribeSystem(const Result&) const { ni(); return {}; }
std::int32_t Project::SystemTypeColor(std::int16_t) const { ni(); return 0; }
void Project::WriteSystemSummary(const std::filesystem::path&, const Result&) const { ni(); }
std::string Project::Name() const { return {}; }
std::int64_t Project::SystemsToTry() const { return 0; }
std::int64_t Project::SystemsDone() const { return 0; }
double Project::LastCalculationSeconds() const { return 0; }
void Project::CalculateBlocking() { ni(); }
std::string Project::SystemTypeName(std::int16_t) { return {}; }
Project::Impl& Project::impl() { return *d; }
const Project::Impl& Project::impl() const { return *d; }
void Fuel::SetPrice(float p) { price_ = p; }
void SolarResource::SetMonthlyRadiation(float, std::span<const float>) { ni(); }
void WindResource::SetAltitude(float) { ni(); }
void WindResource::SetAutocorrelation(float) { ni(); }
void WindResource::SetWK(float) { ni(); }
void WindResource::SetPatternStrength(float) { ni(); }
void WindResource::SetPeakHour(int) { ni(); }
void WindResource::SetMonthlySpeeds(std::span<const float>) { ni(); }
void WindResource::SetFromPowerDensity(float, float, float) { ni(); }
void WindResource::SetAnemometerHeight(float) { ni(); }
}
