#include "tools/sample_region.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/sample_random.h"
#include "tools/smooth_noise.h"

namespace tools {
namespace {

constexpr double twoPi = 2 * std::numbers::pi;
constexpr int thetaSteps = 1440;  // vertices every quarter degree along rings
constexpr int rhoSteps = 240;     // and every 1/240 of the way out along borders
constexpr double thetaStep = twoPi / thetaSteps;
constexpr double rhoStep = 1.0 / rhoSteps;

double harmonics(const std::vector<Harmonic>& hs, double t) {
    double s = 0;
    for (const auto& h : hs) s += h.amplitude * std::sin(h.frequency * t + h.phase);
    return s;
}

// Angle from a to b going anticlockwise, in [0, 2 pi).
double ccw(double a, double b) {
    double d = std::fmod(b - a, twoPi);
    return d < 0 ? d + twoPi : d;
}

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }
// Octave noise is bunched around 0.5; spread it over most of [0, 1].
double spread(double n) { return clamp01((n - 0.5) * 2.2 + 0.5); }
double smoothstep(double e0, double e1, double x) {
    const double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

std::vector<ThetaCurve> borders(SampleRandom& rnd, int n, double offset, double jitter, double amplitude) {
    std::vector<ThetaCurve> out;
    for (int i = 0; i < n; ++i) {
        const double base = offset + twoPi * i / n + rnd.range(-jitter, jitter);
        out.push_back({base,
                       {{amplitude, rnd.range(3.5, 6.0), rnd.range(0, twoPi)},
                        {amplitude * 0.4, rnd.range(9.0, 13.0), rnd.range(0, twoPi)}}});
    }
    return out;
}

}  // namespace

double ThetaCurve::at(double rho) const { return base + harmonics(wiggle, rho); }
double RhoCurve::at(double theta) const { return base + harmonics(wiggle, theta); }

Region::Region()
    : centre_{500000, 1050000},
      coast_{{0.13, 2, 1.3}, {0.08, 3, 0.4}, {0.05, 5, 2.1}, {0.03, 7, 0.7}, {0.015, 11, 4.0}, {0.008, 17, 1.9}},
      meanRadius_(300000),
      zero_{0, {}},
      inner_{0.17, {{0.02, 3, 1.1}, {0.01, 5, 0.3}}},
      middle_{0.34, {{0.045, 2, 0.7}, {0.03, 3, 2.1}, {0.012, 7, 0.4}}},
      district_{0.68, {{0.04, 3, 2.5}, {0.02, 5, 1.0}, {0.01, 9, 0.2}}},
      shore_{1, {}} {
    SampleRandom rnd(20240611);
    stateBorders_ = borders(rnd, 7, 0.35, 0.18, 0.09);
    halfBorders_ = stateBorders_;
    for (size_t i = 0; i < halfBorders_.size(); ++i) {
        const auto& a = stateBorders_[i];
        const auto& b = stateBorders_[(i + 1) % stateBorders_.size()];
        halfBorders_[i] = {a.base + ccw(a.base, b.base) / 2,
                           {{0.05, rnd.range(3.5, 6.0), rnd.range(0, twoPi)}, {0.02, 11, rnd.range(0, twoPi)}}};
    }
    middleBorders_ = borders(rnd, 3, 0.2, 0.3, 0.12);

    outline_ = cellRing({nullptr, nullptr, &zero_, &shore_});
    bounds_ = ringBounds(outline_);
    area_ = ringArea(outline_);
    windLow_ = sunLow_ = INFINITY;
    windHigh_ = sunHigh_ = -INFINITY;
    for (double x = bounds_.left(); x < bounds_.right(); x += 5000)
        for (double y = bounds_.bottom(); y < bounds_.top(); y += 5000)
            if (contains({x, y})) {
                const double w = rawWindiness({x, y}), s = rawSunshine({x, y});
                windLow_ = std::min(windLow_, w);
                windHigh_ = std::max(windHigh_, w);
                sunLow_ = std::min(sunLow_, s);
                sunHigh_ = std::max(sunHigh_, s);
            }
}

double Region::coastDistance(double theta) const { return meanRadius_ * (1 + harmonics(coast_, theta)); }

engine::Point Region::toMap(double theta, double rho) const {
    const double r = rho * coastDistance(theta);
    return {centre_.x + r * std::cos(theta), centre_.y + r * std::sin(theta)};
}

void Region::toPolar(const engine::Point& p, double& theta, double& rho) const {
    const double dx = p.x - centre_.x, dy = p.y - centre_.y;
    theta = std::atan2(dy, dx);
    if (theta < 0) theta += twoPi;
    rho = std::hypot(dx, dy) / coastDistance(theta);
}

double Region::rhoOf(const engine::Point& p) const {
    double theta, rho;
    toPolar(p, theta, rho);
    return rho;
}

bool Region::contains(const engine::Point& p) const { return rhoOf(p) < 1; }

Region::Corner Region::meet(const ThetaCurve& t, const RhoCurve& r) const {
    if (&r == &zero_) return {t.at(0), 0};
    double rho = r.base;
    for (int i = 0; i < 60; ++i) rho = r.at(t.at(rho));
    return {t.at(rho), rho};
}

std::vector<double> Region::thetasOn(const RhoCurve& r) const {
    std::vector<double> out;
    const bool outerRing = &r == &middle_ || &r == &district_ || &r == &shore_;
    const bool innerRing = &r == &inner_ || &r == &middle_;
    if (outerRing) {
        for (const auto& t : stateBorders_) out.push_back(meet(t, r).theta);
        for (const auto& t : halfBorders_) out.push_back(meet(t, r).theta);
    }
    if (innerRing)
        for (const auto& t : middleBorders_) out.push_back(meet(t, r).theta);
    return out;
}

std::vector<double> Region::rhosOn(const ThetaCurve& t) const {
    const bool inner = &t >= middleBorders_.data() && &t < middleBorders_.data() + middleBorders_.size();
    if (inner) return {meet(t, inner_).rho, meet(t, middle_).rho};
    return {meet(t, middle_).rho, meet(t, district_).rho};
}

void Region::sweepAround(Ring& out, const RhoCurve& r, double from, double span, bool forward) const {
    const double eps = 0.1 * thetaStep;
    std::vector<double> offsets;
    auto consider = [&](double theta) {
        const double o = ccw(from, theta);
        if (o > eps && o < span - eps) offsets.push_back(o);
    };
    for (int j = 0; j < thetaSteps; ++j) consider(j * thetaStep);
    for (double t : thetasOn(r)) consider(t);
    std::sort(offsets.begin(), offsets.end());
    if (!forward) std::reverse(offsets.begin(), offsets.end());
    for (double o : offsets) {
        const double theta = from + o;
        out.push_back(toMap(theta, r.at(theta)));
    }
}

void Region::sweepOut(Ring& out, const ThetaCurve& t, double from, double to) const {
    const double eps = 0.1 * rhoStep;
    const double lo = std::min(from, to), hi = std::max(from, to);
    std::vector<double> rhos;
    auto consider = [&](double rho) {
        if (rho > lo + eps && rho < hi - eps) rhos.push_back(rho);
    };
    for (int k = 1; k < rhoSteps; ++k) consider(k * rhoStep);
    for (double r : rhosOn(t)) consider(r);
    std::sort(rhos.begin(), rhos.end());
    if (from > to) std::reverse(rhos.begin(), rhos.end());
    for (double rho : rhos) out.push_back(toMap(t.at(rho), rho));
}

Ring Region::cellRing(const PolarCell& c) const {
    Ring ring;
    if (!c.left) {
        // The whole turn: start on a grid angle so the sweep sees every other angle.
        ring.push_back(toMap(0, c.top->at(0)));
        sweepAround(ring, *c.top, 0, twoPi, true);
    } else {
        const Corner lb = meet(*c.left, *c.bottom), rb = meet(*c.right, *c.bottom);
        const Corner rt = meet(*c.right, *c.top), lt = meet(*c.left, *c.top);
        if (c.bottom == &zero_) {
            ring.push_back(centre_);
        } else {
            ring.push_back(toMap(lb.theta, lb.rho));
            sweepAround(ring, *c.bottom, lb.theta, ccw(lb.theta, rb.theta), true);
            ring.push_back(toMap(rb.theta, rb.rho));
        }
        sweepOut(ring, *c.right, rb.rho, rt.rho);
        ring.push_back(toMap(rt.theta, rt.rho));
        sweepAround(ring, *c.top, lt.theta, ccw(lt.theta, rt.theta), false);
        ring.push_back(toMap(lt.theta, lt.rho));
        sweepOut(ring, *c.left, lt.rho, lb.rho);
    }
    ring.push_back(ring.front());
    std::reverse(ring.begin(), ring.end());  // clockwise outer rings, as shapefiles keep them
    return ring;
}

std::vector<PolarCell> Region::states() const {
    std::vector<PolarCell> out{{nullptr, nullptr, &zero_, &middle_}};
    const size_t n = stateBorders_.size();
    for (size_t i = 0; i < n; ++i)
        out.push_back({&stateBorders_[i], &stateBorders_[(i + 1) % n], &middle_, &shore_});
    return out;
}

std::vector<PolarCell> Region::districts() const {
    std::vector<PolarCell> out;
    const size_t m = middleBorders_.size();
    for (size_t j = 0; j < m; ++j) out.push_back({&middleBorders_[j], &middleBorders_[(j + 1) % m], &zero_, &middle_});
    const size_t n = stateBorders_.size();
    for (size_t i = 0; i < n; ++i) {
        const auto* l = &stateBorders_[i];
        const auto* r = &stateBorders_[(i + 1) % n];
        out.push_back({l, r, &middle_, &district_});
        out.push_back({l, r, &district_, &shore_});
    }
    return out;
}

std::vector<PolarCell> Region::subdistricts() const {
    std::vector<PolarCell> out;
    const size_t m = middleBorders_.size();
    for (size_t j = 0; j < m; ++j) {
        const auto* l = &middleBorders_[j];
        const auto* r = &middleBorders_[(j + 1) % m];
        out.push_back({l, r, &zero_, &inner_});
        out.push_back({l, r, &inner_, &middle_});
    }
    const size_t n = stateBorders_.size();
    for (size_t i = 0; i < n; ++i) {
        const ThetaCurve* sides[3] = {&stateBorders_[i], &halfBorders_[i], &stateBorders_[(i + 1) % n]};
        for (int h = 0; h < 2; ++h) {
            out.push_back({sides[h], sides[h + 1], &middle_, &district_});
            out.push_back({sides[h], sides[h + 1], &district_, &shore_});
        }
    }
    return out;
}

int Region::stateOf(const engine::Point& p) const {
    double theta, rho;
    toPolar(p, theta, rho);
    if (rho < middle_.at(theta)) return 0;
    const size_t n = stateBorders_.size();
    for (size_t i = 0; i < n; ++i) {
        const double a = stateBorders_[i].at(rho), b = stateBorders_[(i + 1) % n].at(rho);
        if (ccw(a, theta) < ccw(a, b)) return int(i) + 1;
    }
    return 1;
}

double Region::elevation(const engine::Point& p) const {
    const double u = (p.x - centre_.x) / 1000, v = (p.y - centre_.y) / 1000;  // km
    const double coast = smoothstep(0, 0.45, 1 - std::min(rhoOf(p), 1.0));
    // A ridge running north-west to south-east, a massif in the south-east, rolling hills.
    const double a = -0.6;
    const double across = (u + 60) * std::sin(a) - (v - 40) * std::cos(a);
    const double along = (u + 60) * std::cos(a) + (v - 40) * std::sin(a);
    const double ridge = std::exp(-(across * across) / (55.0 * 55.0)) * 1700 *
                         (0.5 + 0.9 * smoothNoise(along / 80, 3.7, 5));
    const double massif = std::exp(-((u - 140) * (u - 140) + (v + 90) * (v + 90)) / (70.0 * 70.0)) * 1100;
    const double hills = spread(fractalNoise(u / 90, v / 90, 11)) * 700;
    return 30 + coast * (120 + ridge + massif + hills);
}

double Region::windiness(const engine::Point& p) const {
    return clamp01((rawWindiness(p) - windLow_) / (windHigh_ - windLow_));
}

double Region::sunshine(const engine::Point& p) const {
    return clamp01((rawSunshine(p) - sunLow_) / (sunHigh_ - sunLow_));
}

double Region::rawWindiness(const engine::Point& p) const {
    const double u = (p.x - centre_.x) / 1000, v = (p.y - centre_.y) / 1000;
    const double trend = 0.5 + 0.5 * (u * 0.55 + v * 0.835) / 330;  // poor south-west, windy north-east
    const double n = spread(fractalNoise(u / 120, v / 120, 23));
    return 0.72 * trend + 0.18 * n + 0.15 * elevation(p) / 3000;
}

double Region::rawSunshine(const engine::Point& p) const {
    const double u = (p.x - centre_.x) / 1000, v = (p.y - centre_.y) / 1000;
    return 0.75 * v / 330 + 0.25 * spread(fractalNoise(u / 150, v / 150, 37));
}

double Region::moisture(const engine::Point& p) const {
    const double u = (p.x - centre_.x) / 1000, v = (p.y - centre_.y) / 1000;
    return clamp01(1 - 0.6 * sunshine(p) + 0.6 * (spread(fractalNoise(u / 70, v / 70, 41)) - 0.5));
}

double distance(const engine::Point& a, const engine::Point& b) { return std::hypot(a.x - b.x, a.y - b.y); }

double distanceToPath(const engine::Point& p, const Path& path) {
    if (path.empty()) return INFINITY;
    double best = (p.x - path[0].x) * (p.x - path[0].x) + (p.y - path[0].y) * (p.y - path[0].y);
    for (size_t i = 1; i < path.size(); ++i) {
        const auto& a = path[i - 1];
        const auto& b = path[i];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double len2 = dx * dx + dy * dy;
        const double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0;
        const double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
        best = std::min(best, ex * ex + ey * ey);
    }
    return std::sqrt(best);
}

bool ringContains(const Ring& ring, const engine::Point& p) {
    bool in = false;
    for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const auto& a = ring[i];
        const auto& b = ring[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
}

double ringArea(const Ring& ring) {
    double s = 0;
    for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) s += ring[j].x * ring[i].y - ring[i].x * ring[j].y;
    return std::abs(s) / 2;
}

engine::Point ringCentroid(const Ring& ring) {
    double a = 0, cx = 0, cy = 0;
    for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const double c = ring[j].x * ring[i].y - ring[i].x * ring[j].y;
        a += c;
        cx += (ring[j].x + ring[i].x) * c;
        cy += (ring[j].y + ring[i].y) * c;
    }
    return {cx / (3 * a), cy / (3 * a)};
}

engine::Rectangle ringBounds(const Ring& ring) {
    double l = INFINITY, b = INFINITY, r = -INFINITY, t = -INFINITY;
    for (const auto& p : ring) {
        l = std::min(l, p.x);
        r = std::max(r, p.x);
        b = std::min(b, p.y);
        t = std::max(t, p.y);
    }
    return {l, b, r, t};
}

}  // namespace tools
