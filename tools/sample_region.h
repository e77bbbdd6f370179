#pragma once
// The fictional country of the sample dataset, in UTM metres: a smooth irregular outline around
// a centre, its partition into states, districts and sub-districts, and the smooth fields
// (terrain, wind, sunshine, moisture) every grid layer is sampled from.
//
// Areas are built in polar coordinates (angle theta, rho = distance / coast distance), so the
// country is the band rho < 1 and every boundary is a curve theta(rho) or rho(theta). Neighbours
// evaluate the same curve at the same samples, so shared borders have identical vertices.

#include <vector>

#include "engine/rectangle.h"
#include "engine/types.h"
#include "tools/utm.h"

namespace tools {

using Ring = std::vector<engine::Point>;
using Path = std::vector<engine::Point>;

struct Harmonic {
    double amplitude, frequency, phase;
};

struct ThetaCurve {  // a border running outwards: theta as a function of rho
    double base;
    std::vector<Harmonic> wiggle;
    double at(double rho) const;
};

struct RhoCurve {  // a border running around: rho as a function of theta
    double base;
    std::vector<Harmonic> wiggle;
    double at(double theta) const;
};

// One area between two outward borders (both null: the whole turn) and two rings.
struct PolarCell {
    const ThetaCurve* left;
    const ThetaCurve* right;
    const RhoCurve* bottom;
    const RhoCurve* top;
};

class Region {
public:
    Region();

    UtmZone zone() const { return {37}; }
    engine::Point centre() const { return centre_; }
    engine::Rectangle bounds() const { return bounds_; }
    double area() const { return area_; }  // square metres

    double coastDistance(double theta) const;
    engine::Point toMap(double theta, double rho) const;
    void toPolar(const engine::Point& p, double& theta, double& rho) const;
    bool contains(const engine::Point& p) const;
    double rhoOf(const engine::Point& p) const;

    // The country outline, clockwise.
    const Ring& outline() const { return outline_; }
    // Closed clockwise ring of a cell.
    Ring cellRing(const PolarCell& c) const;

    std::vector<PolarCell> states() const;
    std::vector<PolarCell> districts() const;
    std::vector<PolarCell> subdistricts() const;
    // Index into states() of the state holding the point.
    int stateOf(const engine::Point& p) const;

    // Smooth fields over the country.
    double elevation(const engine::Point& p) const;      // metres
    double windiness(const engine::Point& p) const;      // 0 (poor) .. 1 (excellent)
    double sunshine(const engine::Point& p) const;       // 0 .. 1
    double moisture(const engine::Point& p) const;       // 0 .. 1

private:
    struct Corner {
        double theta, rho;
    };
    Corner meet(const ThetaCurve& t, const RhoCurve& r) const;
    std::vector<double> thetasOn(const RhoCurve& r) const;  // where outward borders meet it
    std::vector<double> rhosOn(const ThetaCurve& t) const;  // where rings cross it
    void sweepAround(Ring& out, const RhoCurve& r, double from, double span, bool forward) const;
    void sweepOut(Ring& out, const ThetaCurve& t, double from, double to) const;

    double rawWindiness(const engine::Point& p) const;
    double rawSunshine(const engine::Point& p) const;

    engine::Point centre_;
    std::vector<Harmonic> coast_;
    double meanRadius_;
    RhoCurve zero_, inner_, middle_, district_, shore_;
    std::vector<ThetaCurve> stateBorders_, halfBorders_, middleBorders_;
    Ring outline_;
    engine::Rectangle bounds_;
    double area_ = 0;
    // Ranges of the raw fields over the country, so the normalised ones span 0 to 1.
    double windLow_ = 0, windHigh_ = 1, sunLow_ = 0, sunHigh_ = 1;
};

// Geometry helpers shared by the layer builders.
double distance(const engine::Point& a, const engine::Point& b);
double distanceToPath(const engine::Point& p, const Path& path);
bool ringContains(const Ring& ring, const engine::Point& p);
double ringArea(const Ring& ring);  // absolute
engine::Point ringCentroid(const Ring& ring);
engine::Rectangle ringBounds(const Ring& ring);

}  // namespace tools
