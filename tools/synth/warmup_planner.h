#pragma once
// A warm-up before the match: both teams pass and hit several balls at
// once on their own halves, then throw them back to the ball cart.
#include "lineup.h"

namespace rallinox::synth {

// Returns the time the warm-up ends.
double planWarmup(PlannerState& state, double start, double lengthSec);

// Someone walking across the picture close to the camera.
void planPasserby(PlannerState& state, double start);

}  // namespace rallinox::synth
