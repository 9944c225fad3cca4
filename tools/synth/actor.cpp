#include "actor.h"

#include <algorithm>

namespace rallinox::synth {
namespace {

double smoothstep(double u) {
    u = std::clamp(u, 0.0, 1.0);
    return u * u * (3.0 - 2.0 * u);
}

Vec3 along(const MoveOrder& order, const Vec3& from, double t) {
    const double span = std::max(order.arrive - order.start, 1e-3);
    return lerp(from, order.target, smoothstep((t - order.start) / span));
}

constexpr double kCrouchLead = 0.25;

}  // namespace

Actor::Actor(Appearance look, Vec3 start, int team) : look_(std::move(look)), start_(start.flat()), team_(team) {}

void Actor::moveTo(double start, double arrive, const Vec3& target, Facing facing) {
    // A new order cuts short any later ones planned before it.
    while (!legs_.empty() && legs_.back().order.start >= start) legs_.pop_back();
    const Leg leg{{start, std::max(arrive, start + 0.05), target.flat(), facing}, position(start),
                  distanceWalked(start)};
    legs_.push_back(leg);
}

const Actor::Leg* Actor::activeLeg(double t) const {
    auto it = std::upper_bound(legs_.begin(), legs_.end(), t,
                               [](double time, const Leg& leg) { return time < leg.order.start; });
    return it == legs_.begin() ? nullptr : &*(it - 1);
}

Vec3 Actor::position(double t) const {
    const Leg* leg = activeLeg(t);
    return leg ? along(leg->order, leg->from, t) : start_;
}

Vec3 Actor::velocity(double t) const {
    constexpr double h = 0.02;
    return (position(t + h) - position(t - h)) * (0.5 / h);
}

Facing Actor::facing(double t) const {
    const Leg* leg = activeLeg(t);
    return leg ? leg->order.facing : Facing::Net;
}

double Actor::distanceWalked(double t) const {
    const Leg* leg = activeLeg(t);
    return leg ? leg->walkedBefore + (position(t) - leg->from).length() : 0.0;
}

double Actor::jumpHeight(double t) const {
    for (const Jump& j : jumps_) {
        const double u = (t - j.takeoff) / j.airtime;
        if (u >= 0 && u <= 1) return j.height * 4.0 * u * (1.0 - u);
    }
    return 0.0;
}

double Actor::crouch(double t) const {
    for (const Jump& j : jumps_) {
        const double before = j.takeoff - t;
        const double after = t - (j.takeoff + j.airtime);
        if (before >= 0 && before < kCrouchLead) return 1.0 - std::abs(before - kCrouchLead / 2) / (kCrouchLead / 2);
        if (after >= 0 && after < kCrouchLead) return 1.0 - after / kCrouchLead;
    }
    const ArmPose pose = armPose(t);
    if (pose == ArmPose::Ready || pose == ArmPose::Platform) return 0.45;
    return 0.0;
}

ArmPose Actor::armPose(double t) const {
    // Later events override earlier ones, so short actions sit on top of a
    // long "ready" stance.
    for (auto it = arms_.rbegin(); it != arms_.rend(); ++it) {
        if (t >= it->start && t < it->end) return it->pose;
    }
    return ArmPose::Relaxed;
}

}  // namespace rallinox::synth
