#pragma once
// One rally from the serve toss to the moment the ball is dead: the chain
// of contacts (serve, pass, set, attack, block, dig) and how players move
// to make them.
#include "lineup.h"

namespace rallinox::synth {

struct RallyOutcome {
    double dead = 0;      // the ball touches the floor
    Flight landing;       // the flight that ends on the floor
    int winner = 0;
};

// The server (slot 0 of the serving team) holds the ball at the service
// spot until `tossTime`. `targetSec` is the wanted length of the rally.
RallyOutcome planRally(PlannerState& state, double tossTime, double targetSec);

}  // namespace rallinox::synth
