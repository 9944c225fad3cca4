#include "break_planner.h"

#include <algorithm>

namespace rallinox::synth {
namespace {

constexpr double kJogSpeed = 2.6;
constexpr double kHoldHeight = 1.1;

Vec3 jittered(const Vec3& p, Random& random, double sd) {
    return p + Vec3{random.normal(0, sd), random.normal(0, sd), 0};
}

void rotate(Lineup& lineup) { std::rotate(lineup.slot.begin(), lineup.slot.begin() + 1, lineup.slot.end()); }

// The moment the ball, after its bounces, rolls slowly enough to pick up.
double restTime(const Flight& landing) {
    const std::vector<Flight> pieces = bounceAndRoll(landing, landing.end + 9.0);
    for (const Flight& piece : pieces) {
        if (!piece.rolling) continue;
        for (double t = piece.start; t < piece.end; t += 0.1) {
            if (piece.velocityAt(t).length() < 0.5) return t;
        }
        return piece.end;
    }
    return pieces.empty() ? landing.end : pieces.back().end;
}

class BreakPlanner {
public:
    BreakPlanner(PlannerState& state, const RallyOutcome& last, double breakSec)
        : s_(state), random_(state.random), last_(last), toss_(last.dead + breakSec) {}

    double run();

private:
    void serverWalksBack(int server);
    void fetchBall(int retriever, int server);
    void dribbleAndToss(int server);
    void teammate(int actor, int team, int slot, bool timeout);
    void substitute(int team);

    PlannerState& s_;
    Random& random_;
    const RallyOutcome& last_;
    double toss_;
    Vec3 serveSpot_;
    double catchTime_ = 0;
};

void BreakPlanner::serverWalksBack(int server) {
    const int team = s_.servingTeam;
    Actor& a = s_.actor(server);
    const double leave = last_.dead + random_.uniform(0.8, 2.5);
    const Vec3 waiting = teamPoint(team, random_.uniform(2.0, 7.0), random_.uniform(9.8, 10.8));
    a.moveTo(leave, leave + walkSeconds(a.position(leave), waiting), waiting, Facing::Motion);
    serveSpot_ = teamPoint(team, random_.uniform(1.0, 8.0), random_.uniform(10.0, 12.5));
}

void BreakPlanner::fetchBall(int retriever, int server) {
    Actor& r = s_.actor(retriever);
    const double rest = restTime(last_.landing);
    const double setOff = last_.dead + random_.uniform(0.4, 1.5);
    // Where the ball lies once it has nearly stopped.
    const std::vector<Flight> pieces = bounceAndRoll(last_.landing, last_.landing.end + 9.0);
    const Vec3 lying = pieces.empty() ? last_.landing.positionAt(last_.landing.end) : pieces.back().positionAt(rest + 1.0);
    const double pickUp = std::max(rest + 0.3, setOff + walkSeconds(r.position(setOff), lying, kJogSpeed));
    r.moveTo(setOff, pickUp - 0.2, lying - (lying - r.position(setOff)).flat().normalized() * 0.35, Facing::Motion);
    r.arms(pickUp - 0.3, pickUp + 0.1, ArmPose::Platform);
    if (retriever == server) {
        s_.plan.matchBall.hold(pickUp, toss_, server);
        r.arms(pickUp + 0.1, toss_, ArmPose::Hold);
        catchTime_ = pickUp;
        s_.plan.retrievals.push_back({last_.dead, catchTime_});
        return;
    }
    const double throwTime = pickUp + random_.uniform(0.6, 1.8);
    s_.plan.matchBall.hold(pickUp, throwTime, retriever);
    r.arms(pickUp + 0.1, throwTime - 0.3, ArmPose::Hold);
    r.arms(throwTime - 0.3, throwTime + 0.2, ArmPose::Toss);

    Actor& catcher = s_.actor(server);
    const Vec3 from = raised(r.position(throwTime), kHoldHeight + 0.2);
    const bool roll = random_.chance(0.35);
    const double duration = roll ? random_.uniform(2.0, 3.5) : random_.uniform(0.9, 1.6);
    // Where the server will be; a throw over the net arcs above it.
    const Vec3 catchAt = catcher.position(throwTime + duration) + netward(s_.servingTeam) * 0.3;
    const Vec3 to = raised(catchAt, roll ? kBallRadius : kHoldHeight);
    const Flight pass = roll ? Flight::rolled(from, to, throwTime, duration)
                      : sideOf(from) != sideOf(to) ? Flight::overNet(from, to, throwTime, (to - from).length() / duration)
                                                   : Flight::between(from, to, throwTime, duration);
    catchTime_ = pass.end;
    s_.plan.retrievals.push_back({last_.dead, catchTime_});
    s_.plan.matchBall.add(pass);
    s_.plan.matchBall.hold(catchTime_, toss_, server);
    catcher.arms(catchTime_ - 0.3, toss_, roll ? ArmPose::Platform : ArmPose::Hold);
    catcher.arms(catchTime_ + 0.4, toss_, ArmPose::Hold);
    const double back = throwTime + random_.uniform(0.5, 2.0);
    const Vec3 base = jittered(r.position(last_.dead), random_, 0.5);
    r.moveTo(back, back + walkSeconds(r.position(back), base), base, Facing::Motion);
}

void BreakPlanner::dribbleAndToss(int server) {
    Actor& a = s_.actor(server);
    const double arrive = std::max(catchTime_ + 1.5, toss_ - random_.uniform(7.0, 12.0));
    const double leave = arrive - walkSeconds(a.position(catchTime_ + 1.0), serveSpot_);
    a.moveTo(std::max(leave, catchTime_ + 0.5), arrive, serveSpot_, Facing::Net);
    toss_ = std::max(toss_, arrive + 3.0);
    const Vec3 dir = netward(s_.servingTeam);
    const Vec3 hand = raised(serveSpot_ + dir * 0.3, 1.0);
    const Vec3 floor = raised(serveSpot_ + dir * 0.4, kBallRadius);
    const int bounces = 1 + random_.index(4);
    const double first = toss_ - random_.uniform(1.5, 2.5) - 0.75 * bounces;
    s_.plan.serveBounces.push_back({first, first + 0.75 * bounces});
    for (int i = 0; i < bounces; ++i) {
        // Thrown down, caught on the way up; the hold resumes after each.
        const double t = first + 0.75 * i;
        s_.plan.matchBall.add(Flight::between(hand, floor, t, 0.3));
        s_.plan.matchBall.add(Flight::between(floor, hand, t + 0.3, 0.4));
        s_.plan.matchBall.hold(t + 0.7, toss_, server);
    }
}

void BreakPlanner::teammate(int actor, int team, int slot, bool timeout) {
    Actor& a = s_.actor(actor);
    double t = last_.dead + random_.uniform(0.3, 1.2);
    if (team == last_.winner) {
        if (random_.chance(0.5)) a.arms(last_.dead + 0.2, last_.dead + 1.4, ArmPose::Cheer);
        const Vec3 huddle = jittered(teamPoint(team, 4.5, 4.5), random_, 0.6);
        a.moveTo(t, t + walkSeconds(a.position(t), huddle, 2.0), huddle, Facing::Motion);
    } else {
        const Vec3 step = jittered(a.position(t), random_, 0.8);
        a.moveTo(t, t + walkSeconds(a.position(t), step), step, Facing::Motion);
    }
    t = last_.dead + random_.uniform(4.0, 7.0);
    const Vec3 base = jittered(slotBase(team, slot), random_, 0.3);
    if (timeout) {
        const Vec3 bench = jittered(teamPoint(team, -1.8, 4.0), random_, 0.7);
        a.moveTo(t, t + walkSeconds(a.position(t), bench), bench, Facing::Motion);
        wander(a, bench, t + walkSeconds(a.position(t), bench), toss_ - 16.0, random_);
        t = toss_ - 15.0;
    }
    const double arrive = t + walkSeconds(a.position(t), base);
    a.moveTo(t, arrive, base, Facing::Motion);
    wander(a, base, arrive, toss_ - 3.0, random_);
    a.moveTo(toss_ - 2.5, toss_ - 1.0, base, Facing::Net);
}

void BreakPlanner::substitute(int team) {
    Lineup& lineup = s_.teams[static_cast<size_t>(team)];
    const int slot = 2 + random_.index(4);  // never the server (slot 0) or usually the setter
    const int leaving = lineup.slot[static_cast<size_t>(slot)];
    if (leaving == lineup.setter) return;
    const int bench = random_.index(2);
    const int coming = lineup.bench[static_cast<size_t>(bench)];
    Actor& out = s_.actor(leaving);
    Actor& in = s_.actor(coming);
    const Vec3 gate = teamPoint(team, -0.4, 3.0);
    const Vec3 seat = in.position(last_.dead);
    double t = last_.dead + random_.uniform(3.0, 6.0);
    const double atGate = t + walkSeconds(out.position(t), gate);
    out.moveTo(t, atGate, gate, Facing::Motion);
    out.moveTo(atGate + 1.0, atGate + 1.0 + walkSeconds(gate, seat), seat, Facing::Camera);
    in.moveTo(atGate - walkSeconds(seat, gate) - 0.5, atGate - 0.5, gate + Vec3{-0.3, 0.3, 0}, Facing::Motion);
    const Vec3 base = slotBase(team, slot);
    const double inPlace = atGate + 1.0 + walkSeconds(gate, base);
    in.moveTo(atGate + 1.0, inPlace, base, Facing::Motion);
    wander(in, base, inPlace, toss_ - 3.0, random_);
    in.moveTo(toss_ - 2.5, toss_ - 1.0, base, Facing::Net);
    lineup.slot[static_cast<size_t>(slot)] = coming;
    lineup.bench[static_cast<size_t>(bench)] = leaving;
}

double BreakPlanner::run() {
    if (last_.winner != s_.servingTeam) rotate(s_.teams[static_cast<size_t>(last_.winner)]);
    s_.servingTeam = last_.winner;
    const int server = s_.teams[static_cast<size_t>(s_.servingTeam)].slot[0];
    const Vec3 lying = last_.landing.positionAt(last_.landing.end);
    int retriever = s_.nearestPlayer(sideOf(lying), lying, last_.dead);
    if (retriever < 0) retriever = server;
    if (retriever != server) serverWalksBack(server);
    else serveSpot_ = teamPoint(s_.servingTeam, random_.uniform(1.0, 8.0), random_.uniform(10.0, 12.5));
    fetchBall(retriever, server);
    dribbleAndToss(server);

    const bool timeout = toss_ - last_.dead > 55.0;
    if (!timeout && random_.chance(0.2)) substitute(random_.index(2));
    for (int team = 0; team < 2; ++team) {
        const auto& slots = s_.teams[static_cast<size_t>(team)].slot;
        for (int slot = 0; slot < 6; ++slot) {
            const int index = slots[static_cast<size_t>(slot)];
            const bool substitutedIn = std::find(s_.teams[static_cast<size_t>(team)].bench.begin(),
                                                 s_.teams[static_cast<size_t>(team)].bench.end(), index) !=
                                       s_.teams[static_cast<size_t>(team)].bench.end();
            if (index == server || index == retriever || substitutedIn) continue;
            teammate(index, team, slot, timeout);
        }
    }
    return toss_;
}

}  // namespace

double walkSeconds(const Vec3& from, const Vec3& to, double speed) { return 0.5 + (to - from).flat().length() / speed; }

void wander(Actor& actor, const Vec3& around, double from, double until, Random& random) {
    for (double t = from + random.uniform(2.0, 8.0); t + 2.0 < until; t += random.uniform(3.0, 9.0)) {
        const Vec3 spot = around + Vec3{random.normal(0, 0.4), random.normal(0, 0.4), 0};
        actor.moveTo(t, t + 1.5, spot, random.chance(0.6) ? Facing::Net : Facing::Motion);
    }
}

double planBreak(PlannerState& state, const RallyOutcome& last, double breakSec) {
    return BreakPlanner(state, last, breakSec).run();
}

double planFirstServe(PlannerState& state, double ballFrom, double earliestToss) {
    const int team = state.servingTeam;
    const int server = state.teams[static_cast<size_t>(team)].slot[0];
    Actor& a = state.actor(server);
    const Vec3 spot = teamPoint(team, state.random.uniform(1.0, 8.0), state.random.uniform(10.0, 12.5));
    const double arrive = ballFrom + walkSeconds(a.position(ballFrom), spot);
    a.moveTo(ballFrom, arrive, spot, Facing::Net);
    const double toss = std::max(earliestToss, arrive + 2.0);
    state.plan.matchBall.hold(ballFrom, toss, server);
    a.arms(ballFrom, toss, ArmPose::Hold);
    return toss;
}

}  // namespace rallinox::synth
