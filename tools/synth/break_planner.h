#pragma once
// What happens between two rallies: the dead ball is fetched and thrown
// or rolled to the next server, teams rotate, celebrate, call time-outs,
// substitute and wait; the server walks back and bounces the ball.
#include "rally_planner.h"

namespace rallinox::synth {

// Plans the break after `last`; returns the time of the next serve toss,
// at least `breakSec` after the ball died.
double planBreak(PlannerState& state, const RallyOutcome& last, double breakSec);

// The server takes the ball from the cart at `ballFrom` and serves no
// earlier than `earliestToss`; returns the toss time.
double planFirstServe(PlannerState& state, double ballFrom, double earliestToss);

// Walking pace used for people who are not playing.
constexpr double kWalkSpeed = 1.3;
double walkSeconds(const Vec3& from, const Vec3& to, double speed = kWalkSpeed);
// Small steps on the spot so that waiting players never freeze.
void wander(Actor& actor, const Vec3& around, double from, double until, Random& random);

}  // namespace rallinox::synth
