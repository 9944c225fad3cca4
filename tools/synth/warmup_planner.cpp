#include "warmup_planner.h"

#include <algorithm>

#include "break_planner.h"

namespace rallinox::synth {
namespace {

struct LooseBall {
    int team = 0;
    int holder = -1;  // who plays it next
    double time = 0;  // when
    Vec3 point;       // where it is played from
};

class WarmupPlanner {
public:
    WarmupPlanner(PlannerState& state, double start, double end)
        : s_(state), random_(state.random), start_(start), end_(end), busyUntil_(state.plan.actors.size(), start) {}

    double run();

private:
    int freePlayer(int team, double t, int excluded);
    void play(LooseBall& ball, BallPath& path);

    PlannerState& s_;
    Random& random_;
    double start_, end_;
    std::vector<double> busyUntil_;
};

int WarmupPlanner::freePlayer(int team, double t, int excluded) {
    const auto& slots = s_.teams[static_cast<size_t>(team)].slot;
    for (int attempt = 0; attempt < 12; ++attempt) {
        const int index = slots[static_cast<size_t>(random_.index(6))];
        if (index != excluded && busyUntil_[static_cast<size_t>(index)] <= t) return index;
    }
    return -1;
}

void WarmupPlanner::play(LooseBall& ball, BallPath& path) {
    const double t = ball.time;
    const int hitter = ball.holder;
    Actor& a = s_.actor(hitter);
    if (t > end_) {
        // Back to the ball cart at the side line; the ball leaves the picture.
        const Vec3 cart = raised(teamPoint(ball.team, -3.0, 5.0), 0.8);
        path.add(Flight::between(ball.point, cart, t, 1.2));
        a.arms(t - 0.3, t + 0.2, ArmPose::Toss);
        ball.time = 1e18;
        return;
    }
    if (random_.chance(0.15)) {
        // A hit into the floor; whoever is free fetches it.
        a.arms(t - 0.5, t + 0.2, ArmPose::Spike);
        const Vec3 floor = raised(teamPoint(ball.team, random_.uniform(0.5, 8.5), random_.uniform(1.0, 8.5)), kBallRadius);
        const Flight hit = Flight::between(ball.point, floor, t, random_.uniform(0.5, 0.9));
        path.add(hit);
        const auto rolls = bounceAndRoll(hit, hit.end + 8.0);
        path.add(rolls);
        const int fetcher = freePlayer(ball.team, hit.end, -1);
        const double pickUp = hit.end + random_.uniform(3.0, 5.0);
        if (fetcher < 0) {
            ball.time = pickUp;
            ball.point = rolls.empty() ? floor : rolls.back().positionAt(pickUp);
            return;
        }
        const Vec3 lying = rolls.empty() ? floor : rolls.back().positionAt(pickUp);
        Actor& f = s_.actor(fetcher);
        f.moveTo(hit.end + 0.5, pickUp - 0.2, lying, Facing::Motion);
        path.hold(pickUp, pickUp + 1.0, fetcher);
        f.arms(pickUp, pickUp + 1.0, ArmPose::Hold);
        busyUntil_[static_cast<size_t>(fetcher)] = pickUp + 1.2;
        ball.holder = fetcher;
        ball.time = pickUp + 1.0;
        ball.point = raised(lying, 1.1);
        return;
    }
    const int receiver = freePlayer(ball.team, t, hitter);
    if (receiver < 0) {
        ball.time += 0.5;
        return;
    }
    Actor& r = s_.actor(receiver);
    const double duration = random_.uniform(1.0, 2.0);
    const Vec3 target = r.position(t) + Vec3{random_.normal(0, 0.8), random_.normal(0, 0.8), 0};
    const bool overhead = random_.chance(0.4);
    const Vec3 contact = raised(target, overhead ? r.look().height * 1.1 : random_.uniform(0.6, 0.9));
    path.add(Flight::between(ball.point, contact, t, duration));
    a.arms(t - 0.3, t + 0.2, overhead ? ArmPose::Overhead : ArmPose::Platform);
    r.moveTo(std::max(t + 0.2, busyUntil_[static_cast<size_t>(receiver)]), t + duration - 0.2, target, Facing::Motion);
    busyUntil_[static_cast<size_t>(receiver)] = t + duration + 0.3;
    ball.holder = receiver;
    ball.time = t + duration;
    ball.point = contact;
}

double WarmupPlanner::run() {
    for (int team = 0; team < 2; ++team) {
        for (int index : s_.teams[static_cast<size_t>(team)].slot) {
            const Vec3 spot = teamPoint(team, random_.uniform(0.8, 8.2), random_.uniform(1.0, 8.0));
            s_.actor(index).moveTo(start_ + random_.uniform(0, 2), start_ + 4.0, spot, Facing::Motion);
        }
    }
    std::vector<LooseBall> balls;
    const int count = 3 + random_.index(3);
    for (int i = 0; i < count; ++i) {
        LooseBall ball;
        ball.team = i % 2;
        ball.holder = s_.teams[static_cast<size_t>(ball.team)].slot[static_cast<size_t>(i / 2)];
        ball.time = start_ + random_.uniform(4.5, 8.0);
        ball.point = raised(teamPoint(ball.team, 4.5, 4.5), 1.1);
        balls.push_back(ball);
        s_.plan.warmupBalls.emplace_back();
        s_.plan.warmupBalls.back().hold(start_, ball.time, ball.holder);
        busyUntil_[static_cast<size_t>(ball.holder)] = ball.time + 0.3;
    }
    // Play the balls in time order so that each player's moves stay ordered.
    while (true) {
        auto next = std::min_element(balls.begin(), balls.end(),
                                     [](const LooseBall& a, const LooseBall& b) { return a.time < b.time; });
        if (next->time > 1e17) break;
        play(*next, s_.plan.warmupBalls[static_cast<size_t>(next - balls.begin())]);
    }
    const double end = end_ + 2.0;
    for (int team = 0; team < 2; ++team) {
        const auto& slots = s_.teams[static_cast<size_t>(team)].slot;
        for (int slot = 0; slot < 6; ++slot) {
            Actor& a = s_.actor(slots[static_cast<size_t>(slot)]);
            const double leave = std::max(end, busyUntil_[static_cast<size_t>(slots[static_cast<size_t>(slot)])]);
            a.moveTo(leave, leave + walkSeconds(a.position(leave), slotBase(team, slot)), slotBase(team, slot), Facing::Motion);
        }
    }
    return end;
}

}  // namespace

double planWarmup(PlannerState& state, double start, double lengthSec) {
    return WarmupPlanner(state, start, start + lengthSec).run();
}

void planPasserby(PlannerState& state, double start) {
    const Camera& camera = state.camera;
    Random& random = state.random;
    const Vec3 ahead = Vec3{camera.forward.x, camera.forward.y, 0}.normalized();
    const Vec3 side = Vec3{camera.right.x, camera.right.y, 0}.normalized();
    const Vec3 below = camera.position.flat();
    const double wantedY = camera.size.height * random.uniform(0.7, 1.0);
    for (double d = 0.5; d < 30.0; d += 0.25) {
        const Vec3 spot = below + ahead * d;
        const auto waist = camera.project(spot + Vec3{0, 0, 1.0});
        if (!waist || waist->y > wantedY) continue;
        const double halfWidth = camera.depth(spot) * camera.size.width / (2.0 * camera.focal) + 1.5;
        const bool leftToRight = random.chance(0.5);
        const Vec3 from = spot - side * (leftToRight ? halfWidth : -halfWidth);
        const Vec3 to = spot + side * (leftToRight ? halfWidth : -halfWidth);
        Appearance look;
        look.jersey = {random.uniform(20, 230), random.uniform(20, 230), random.uniform(20, 230)};
        look.shorts = {random.uniform(20, 90), random.uniform(20, 90), random.uniform(20, 110)};
        look.skin = randomSkin(random);
        look.hair = randomHair(random);
        look.socks = look.shorts;
        look.shoes = {40, 40, 40};
        look.height = random.normal(1.75, 0.08);
        look.kneePads = false;
        look.trousers = true;
        state.plan.actors.emplace_back(look, from, -1);
        Actor& walker = state.plan.actors.back();
        const double duration = (to - from).length() / random.uniform(1.0, 1.6);
        walker.moveTo(start, start + duration, to, Facing::Motion);
        walker.visibleFrom = start;
        walker.visibleUntil = start + duration;
        return;
    }
}

}  // namespace rallinox::synth
