#include "match_plan.h"

#include <algorithm>

#include "break_planner.h"
#include "neighbour_court.h"
#include "warmup_planner.h"

namespace rallinox::synth {
namespace {

// Indoor statistics of play and break lengths (seconds).
constexpr double kRallyMean = 5.5, kRallySd = 4.4;
constexpr double kBreakMean = 35.0, kBreakSd = 26.0;

}  // namespace

MatchPlan planMatch(double durationSec, const Camera& camera, Random& random) {
    PlannerState state(camera, random);
    state.plan.duration = durationSec;
    castTeams(state);
    state.servingTeam = random.index(2);

    double ballFrom = random.uniform(0.0, 2.0);
    if (random.chance(0.35)) {
        const double end = planWarmup(state, 0.0, random.uniform(25.0, 80.0));
        state.plan.warmups.push_back({0.0, end});
        ballFrom = end + 2.0;
    }
    double toss = planFirstServe(state, ballFrom, ballFrom + random.uniform(3.0, 10.0));
    while (toss < durationSec) {
        const double target = std::clamp(random.lognormal(kRallyMean, kRallySd), 1.2, 45.0);
        const RallyOutcome outcome = planRally(state, toss, target);
        if (outcome.dead < durationSec) state.plan.points.push_back({outcome.dead, outcome.winner});
        const double breakSec = std::clamp(random.lognormal(kBreakMean, kBreakSd), 8.0, 240.0);
        if (random.chance(0.3)) planPasserby(state, outcome.dead + random.uniform(2.0, breakSec - 4.0));
        toss = planBreak(state, outcome, breakSec);
    }
    // Some halls hold several courts, with people playing on the next one.
    if (random.chance(0.3)) planNeighbourCourt(state, durationSec);
    // A rally cut off by the end of the video ends with it.
    for (TimeSpan& rally : state.plan.rallies) rally.end = std::min(rally.end, durationSec);
    std::erase_if(state.plan.rallies, [](const TimeSpan& r) { return r.end - r.start < 0.5; });
    return std::move(state.plan);
}

}  // namespace rallinox::synth
