#include "neighbour_court.h"

#include "break_planner.h"

namespace rallinox::synth {
namespace {

// Beyond the advertising boards along our court's far side line.
constexpr double kCourtFromX = 14.5, kCourtToX = 20.0;

void planPair(PlannerState& state, double until, const cv::Scalar& jersey, double y) {
    Random& random = state.random;
    const int first = static_cast<int>(state.plan.actors.size());
    const Vec3 spots[2] = {{random.uniform(kCourtFromX, kCourtToX), y, 0},
                           {random.uniform(kCourtFromX, kCourtToX), y + random.uniform(3.0, 6.0), 0}};
    for (const Vec3& spot : spots) {
        state.plan.actors.emplace_back(player(random, jersey, {30, 30, 30}, random.chance(0.5)), spot, -1);
    }
    BallPath ball;
    double t = random.uniform(0.0, 5.0);
    int from = 0;
    while (t < until) {
        // A run of passes, then the ball is dropped and fetched.
        const int passes = 3 + random.index(10);
        for (int i = 0; i < passes && t < until; ++i) {
            const int to = 1 - from;
            const Vec3 a = raised(state.actor(first + from).position(t), random.uniform(0.7, 2.4));
            const double duration = random.uniform(1.0, 1.8);
            const Vec3 b = raised(state.actor(first + to).position(t + duration), random.uniform(0.7, 2.4));
            ball.add(Flight::between(a, b, t, duration));
            state.actor(first + to).arms(t + duration - 0.35, t + duration + 0.2,
                                         b.z > 1.8 ? ArmPose::Overhead : ArmPose::Platform);
            t += duration;
            from = to;
        }
        const Vec3 dropped = raised(state.actor(first + from).position(t), 0.9);
        const Vec3 floor{dropped.x + random.uniform(-2, 2), dropped.y + random.uniform(-2, 2), kBallRadius};
        ball.add(bounceAndRoll(Flight::between(dropped, floor, t, 0.45), t + 4.0));
        const double pickUp = t + random.uniform(3.0, 10.0);
        Actor& fetcher = state.actor(first + from);
        const Vec3 home = fetcher.position(t);
        fetcher.moveTo(t + 0.5, pickUp - 0.3, floor, Facing::Motion);
        ball.hold(pickUp - 0.3, pickUp + walkSeconds(floor, home), first + from);
        t = pickUp + walkSeconds(floor, home);
        fetcher.moveTo(pickUp, t - 0.1, home, Facing::Motion);
    }
    state.plan.warmupBalls.push_back(std::move(ball));
}

}  // namespace

void planNeighbourCourt(PlannerState& state, double until) {
    const cv::Scalar jersey{state.random.uniform(0, 255), state.random.uniform(0, 255), state.random.uniform(0, 255)};
    planPair(state, until, jersey, state.random.uniform(0.0, 3.0));
    planPair(state, until, jersey, state.random.uniform(9.0, 12.0));
}

}  // namespace rallinox::synth
