#pragma once
// Players on the next court of a sports hall, passing balls to each other
// for the whole video: people and balls that move but are not our match.
#include "lineup.h"

namespace rallinox::synth {

// Adds two pairs passing a ball each, on a court beside ours, until `until`.
void planNeighbourCourt(PlannerState& state, double until);

}  // namespace rallinox::synth
