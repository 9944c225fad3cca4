#include "flight.h"

#include <algorithm>
#include <cmath>

namespace rallinox::synth {
namespace {

// Drag time constants: a volleyball in flight loses about a third of its
// speed in a second; on the floor it rolls a few metres.
constexpr double kAirTau = 2.5;
constexpr double kRollTau = 0.9;
constexpr double kRestitution = 0.72;
constexpr double kBounceFriction = 0.8;
constexpr double kMinBounceSpeed = 0.9;

double decay(double t, double tau) { return tau * (1.0 - std::exp(-t / tau)); }

constexpr double kNetClearance = 0.25;

double netCrossingHeight(const Flight& f) {
    const bool startsBefore = f.origin.y < kNetY;
    for (double t = f.start; t <= f.end; t += 0.005) {
        const Vec3 p = f.positionAt(t);
        if ((p.y < kNetY) != startsBefore) return p.z;
    }
    return 1e9;
}

}  // namespace

Flight Flight::overNet(const Vec3& from, const Vec3& to, double start, double speed) {
    double duration = std::max(0.3, (to - from).length() / speed);
    Flight f = between(from, to, start, duration);
    for (int i = 0; i < 40 && netCrossingHeight(f) < kNetHeight + kNetClearance; ++i) {
        duration *= 1.07;
        f = between(from, to, start, duration);
    }
    return f;
}

Flight Flight::between(const Vec3& from, const Vec3& to, double start, double duration) {
    Flight f;
    f.start = start;
    f.end = start + duration;
    f.origin = from;
    const double k = decay(duration, kAirTau);
    const Vec3 d = to - from;
    f.velocity = {d.x / k, d.y / k, (d.z + kGravity * kAirTau * duration) / k - kGravity * kAirTau};
    return f;
}

Flight Flight::rolled(const Vec3& from, const Vec3& to, double start, double duration) {
    Flight f;
    f.start = start;
    f.end = start + duration;
    f.origin = {from.x, from.y, kBallRadius};
    f.rolling = true;
    const double k = decay(duration, kRollTau);
    f.velocity = {(to.x - from.x) / k, (to.y - from.y) / k, 0};
    return f;
}

Vec3 Flight::positionAt(double t) const {
    const double dt = std::max(0.0, t - start);
    if (rolling) {
        const double k = decay(dt, kRollTau);
        return {origin.x + velocity.x * k, origin.y + velocity.y * k, kBallRadius};
    }
    const double k = decay(dt, kAirTau);
    return {origin.x + velocity.x * k, origin.y + velocity.y * k,
            origin.z + (velocity.z + kGravity * kAirTau) * k - kGravity * kAirTau * dt};
}

Vec3 Flight::velocityAt(double t) const {
    const double dt = std::max(0.0, t - start);
    if (rolling) return velocity * std::exp(-dt / kRollTau);
    const double e = std::exp(-dt / kAirTau);
    return {velocity.x * e, velocity.y * e, (velocity.z + kGravity * kAirTau) * e - kGravity * kAirTau};
}

double Flight::floorContact(double horizon) const {
    constexpr double step = 0.01;
    double previous = start;
    for (double t = start + step; t <= start + horizon; t += step) {
        if (positionAt(t).z <= kBallRadius) {
            double low = previous, high = t;
            for (int i = 0; i < 30; ++i) {
                const double mid = 0.5 * (low + high);
                (positionAt(mid).z <= kBallRadius ? high : low) = mid;
            }
            return high;
        }
        previous = t;
    }
    return -1.0;
}

double Flight::apexHeight() const {
    double apex = origin.z;
    for (double t = start; t <= end; t += 0.01) apex = std::max(apex, positionAt(t).z);
    return std::max(apex, positionAt(end).z);
}

std::vector<Flight> bounceAndRoll(const Flight& incoming, double until) {
    std::vector<Flight> pieces;
    Flight current = incoming;
    double t = current.end;
    while (t < until) {
        const Vec3 v = current.velocityAt(t);
        Flight next;
        next.start = t;
        next.origin = current.positionAt(t);
        next.origin.z = kBallRadius;
        next.velocity = {v.x * kBounceFriction, v.y * kBounceFriction, -v.z * kRestitution};
        if (next.velocity.z < kMinBounceSpeed) {
            next.rolling = true;
            next.velocity.z = 0;
            next.end = until;
            pieces.push_back(next);
            break;
        }
        const double contact = next.floorContact();
        next.end = contact > 0 ? std::min(contact, until) : until;
        pieces.push_back(next);
        current = next;
        t = next.end;
    }
    return pieces;
}

}  // namespace rallinox::synth
