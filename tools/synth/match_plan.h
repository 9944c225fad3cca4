#pragma once
// The whole match planned up front from the seed: who moves where, every
// ball's path, and the ground-truth rallies.
#include <vector>

#include "actor.h"
#include "ball_path.h"
#include "camera.h"
#include "random.h"

namespace rallinox::synth {

struct TimeSpan {
    double start = 0, end = 0;
};

struct PointWon {
    double time = 0;  // the ball is dead
    int team = 0;
};

struct MatchPlan {
    double duration = 0;
    std::vector<Actor> actors;
    BallPath matchBall;
    std::vector<BallPath> warmupBalls;  // several balls at once before the match
    std::vector<TimeSpan> rallies;      // serve toss to ball dead
    std::vector<TimeSpan> warmups;
    std::vector<PointWon> points;       // who won each rally
    // Ball activity between rallies that is not play: the dead ball fetched
    // and passed to the server, and the server bouncing it before the toss.
    std::vector<TimeSpan> retrievals;
    std::vector<TimeSpan> serveBounces;
};

// Rally and break lengths follow indoor statistics: play about 5.5 ± 4.4 s,
// breaks about 35 ± 26 s. The camera decides where passers-by are seen.
MatchPlan planMatch(double durationSec, const Camera& camera, Random& random);

}  // namespace rallinox::synth
