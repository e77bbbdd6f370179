// The sun and the array: solar geometry, clear-sky radiation, the split of global radiation into
// beam and diffuse, the Perez sky on the tilted plane, the angle-of-incidence loss, and the
// temperatures of the air and of the cells. The sources are named in zorvel/README.md.
#pragma once

#include <array>
#include <vector>

namespace zorvel {

constexpr double kSolarConstant = 1.367;  // kW/m2

// ----- geometry (solar_geometry.cpp); angles in radians, days of the year from 0 -----
struct SunPosition {
    double declination;
    double equationOfTimeMinutes;  // apparent minus mean solar time
    double eccentricityFactor;     // (r0 / r)^2
};
// The sun at a moment of the model's year, given in days from 1 January 00:00 universal time.
SunPosition sunPosition(double day);
double sunsetHourAngle(double latitude, double declination);
double cosZenith(double latitude, double declination, double hourAngle);
// Angle of incidence on a plane of the given tilt and azimuth (0 = facing the equator, west
// positive), north latitudes positive.
double cosIncidence(double latitude, double declination, double hourAngle, double tilt,
                    double azimuth);
double extraterrestrialDaily(double latitudeDeg, int dayOfYear);  // kWh/m2/day on the horizontal

// One clock hour of the year at a site, for a plane facing the equator.
struct SunHour {
    float sunlit = 0;            // share of the hour with the sun above the horizon
    float normal = 0;            // extraterrestrial irradiance at normal incidence, kW/m2
    float cosZenith = 0;         // at the middle of the sunlit part
    float cosIncidence = 0;      // on the plane, at the middle of the sunlit part (may be < 0)
    float meanCosZenith = 0;     // cos(zenith) integrated over the hour / 1 h
    float meanCosIncidence = 0;  // max(cos(incidence), 0) integrated over the hour / 1 h
    float clearSky = 0;          // clear-sky global horizontal energy of the hour, kWh/m2
};
// The 8760 hours of local standard time (zone = longitude / 15, rounded).
std::vector<SunHour> sunHours(double latitudeDeg, double longitudeDeg, double tiltDeg);

// ----- irradiance (irradiance.cpp) -----
double haurwitzClearSky(double cosZenith);               // kW/m2, global horizontal
double kastenAirMass(double cosZenith);                  // relative optical air mass
double discBeamShare(double clearness, double airMass);  // Kn = DNI / extraterrestrial normal
struct PerezFactors {
    double f1, f2;
};
PerezFactors perezFactors(double epsilon, double delta, double zenith);
double physicalIam(double incidence);  // transmittance relative to normal incidence
struct PlaneOfArray {
    double beam = 0, sky = 0, ground = 0;  // kWh/m2 in the hour on the plane
    double effective = 0;                  // the same after the angle-of-incidence loss
    double total() const { return beam + sky + ground; }
};
// One hour's global horizontal energy on the plane: the beam by the DISC model, the sky diffuse
// by the Perez model, the ground by its reflectance.
PlaneOfArray planeOfArray(const SunHour& s, double ghi, double tiltDeg, double albedo,
                          double pressureRatio);

// ----- temperatures (temperature.cpp) -----
double airDensity(double elevationMetres);                       // kg/m3, standard atmosphere
double airDensity(double elevationMetres, double temperatureC);  // kg/m3 at that temperature
double pressureRatio(double elevationMetres);                    // p / 101325 Pa
// Hourly air temperature (deg C) from 12 monthly means or, when none are given, from the annual
// mean with a seasonal swing by latitude; each day swings more when it is clear.
std::vector<double> ambientTemperatures(double annualMeanC, const std::array<double, 12>* monthlyC,
                                        double latitudeDeg,
                                        const std::vector<double>& dailyClearSkyIndex);
// Cell temperature (deg C) of an open-rack module: the Sandia model, its heating scaled so the
// cell reaches its nominal operating cell temperature at 800 W/m2, 20 deg C and 1 m/s.
double cellTemperature(double poaKwM2, double ambientC, double windAt10m, double noctC);
constexpr double kDefaultCellWindSpeed = 1.0;  // m/s at 10 m when the project has no wind resource

}  // namespace zorvel
