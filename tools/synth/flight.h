#pragma once
// Ball flight with gravity and air drag (linear drag, closed form), and
// what happens when it meets the floor: bounces that lose energy, then a
// roll that slows to a stop.
#include <vector>

#include "vec3.h"

namespace rallinox::synth {

struct Flight {
    double start = 0;  // seconds in match time
    double end = 0;
    Vec3 origin;
    Vec3 velocity;     // at `start`
    bool rolling = false;  // on the floor: no gravity, stronger friction

    // Flight that leaves `from` at time `start` and reaches `to` exactly
    // `duration` seconds later.
    static Flight between(const Vec3& from, const Vec3& to, double start, double duration);
    // A shot from one half to the other at about `speed`, lobbed higher
    // when needed to clear the net.
    static Flight overNet(const Vec3& from, const Vec3& to, double start, double speed);
    // Ball rolled along the floor from `from` to `to`.
    static Flight rolled(const Vec3& from, const Vec3& to, double start, double duration);

    Vec3 positionAt(double t) const;
    Vec3 velocityAt(double t) const;
    // First moment after `start` when the ball's bottom touches the floor,
    // or a negative number when it does not within `horizon` seconds.
    double floorContact(double horizon = 6.0) const;
    // Highest point of the flight between its start and end.
    double apexHeight() const;
};

// Bounces and the final roll of a ball that reaches the floor at the end
// of `incoming`, until it rests or `until` is reached.
std::vector<Flight> bounceAndRoll(const Flight& incoming, double until);

}  // namespace rallinox::synth
