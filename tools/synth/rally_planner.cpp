#include "rally_planner.h"

#include <algorithm>
#include <cmath>

namespace rallinox::synth {
namespace {

// Rough lengths that turn a wanted rally length into a number of attacks.
constexpr double kServePhaseSec = 2.2;
constexpr double kExchangeSec = 3.0;
// Long enough that someone has picked the dead ball up before it ends.
constexpr double kRollSec = 30.0;
// Players farther than this from where the ball goes keep their place.
constexpr double kSettleReach = 4.0;

Vec3 clampToCourt(Vec3 p, int team) {
    p.x = std::clamp(p.x, 0.4, kCourtWidth - 0.4);
    p.y = team == 0 ? std::clamp(p.y, 0.3, kNetY - 0.8) : std::clamp(p.y, kNetY + 0.8, kCourtLength - 0.3);
    return p;
}

class RallyPlanner {
public:
    RallyPlanner(PlannerState& state, double toss)
        : s_(state), random_(state.random), toss_(toss), busyUntil_(state.plan.actors.size(), toss) {}

    RallyOutcome run(double targetSec);

private:
    struct Touch {
        double time;
        Vec3 point;
        int actor;
    };

    void fly(const Flight& f, int team) {
        s_.plan.matchBall.add(f);
        touchTeam_ = team;
    }
    int team(int actor) const { return s_.plan.actors[static_cast<size_t>(actor)].team(); }
    void reach(int actor, const Vec3& contact, double time, ArmPose pose, double since);
    void settle(double since, int possessing, const Vec3& ballGoesTo);
    Touch serve();
    Touch receive(int receiving, double since, const Vec3& from, double speed);
    RallyOutcome finish(const Flight& toFloor);
    RallyOutcome intoNet(const Vec3& from, double start, int hitter);
    RallyOutcome endServe(const Touch& contact, int receiving);
    RallyOutcome endAttack(const Vec3& attack, double time, int attacker);
    Vec3 outsidePoint(int team);

    PlannerState& s_;
    Random& random_;
    double toss_;
    std::vector<double> busyUntil_;
    int touchTeam_ = 0;
};

void RallyPlanner::reach(int actor, const Vec3& contact, double time, ArmPose pose, double since) {
    Actor& a = s_.actor(actor);
    const double behind = (pose == ArmPose::Platform || pose == ArmPose::Ready) ? 0.35 : 0.15;
    const Vec3 stand = contact.flat() - netward(team(actor)) * behind;
    const double start = std::max(since + 0.15, busyUntil_[static_cast<size_t>(actor)]);
    a.moveTo(start, std::max(time - 0.15, start + 0.3), stand, Facing::Ball);
    a.arms(time - 0.35, time + 0.2, pose);
    busyUntil_[static_cast<size_t>(actor)] = time + 0.3;
}

// After a touch only the players near where the ball goes run to their
// places; the others shift a step or stand, as on real courts.
void RallyPlanner::settle(double since, int possessing, const Vec3& ballGoesTo) {
    for (int team = 0; team < 2; ++team) {
        const auto& slots = s_.teams[static_cast<size_t>(team)].slot;
        for (int slot = 0; slot < 6; ++slot) {
            const int index = slots[static_cast<size_t>(slot)];
            if (busyUntil_[static_cast<size_t>(index)] > since + 0.8) continue;
            Actor& actor = s_.actor(index);
            const double from = std::max(since + 0.1, busyUntil_[static_cast<size_t>(index)]);
            const Vec3 now = actor.position(from);
            if ((now - ballGoesTo).flat().length() > kSettleReach) {
                if (random_.chance(0.5)) {
                    const Vec3 step = now + Vec3{random_.normal(0, 0.15), random_.normal(0, 0.15), 0};
                    actor.moveTo(from, from + 0.6, clampToCourt(step, team), Facing::Ball);
                }
                continue;
            }
            Vec3 base = slotBase(team, slot);
            const bool front = slot >= 1 && slot <= 3;
            if (team != possessing && front) base = base + netward(team) * 1.2;
            if (team == possessing && front) base = base - netward(team) * 1.0;
            base = base + Vec3{random_.normal(0, 0.3), random_.normal(0, 0.3), 0};
            actor.moveTo(from, since + 1.0, base, Facing::Ball);
        }
    }
}

RallyPlanner::Touch RallyPlanner::serve() {
    const int serving = s_.servingTeam;
    const int server = s_.teams[static_cast<size_t>(serving)].slot[0];
    Actor& a = s_.actor(server);
    const Vec3 spot = a.position(toss_);
    const Vec3 dir = netward(serving);
    const Vec3 hand = raised(spot + dir * 0.3, 1.25);
    const bool jumpServe = random_.chance(0.35);
    const double tossSec = jumpServe ? random_.uniform(1.1, 1.35) : random_.uniform(0.65, 0.9);
    const double contactTime = toss_ + tossSec;
    Vec3 contact;
    if (jumpServe) {
        contact = raised(spot + dir * 1.5, 3.05);
        a.moveTo(contactTime - 1.0, contactTime - 0.42, spot + dir * 1.25, Facing::Net);
        a.jump({contactTime - 0.42, 0.85, 0.55});
    } else {
        contact = raised(spot + dir * 0.35, a.look().height * 1.33);
    }
    a.arms(toss_, toss_ + 0.3, ArmPose::Toss);
    a.arms(contactTime - 0.45, contactTime + 0.15, ArmPose::Spike);
    busyUntil_[static_cast<size_t>(server)] = contactTime + 0.3;
    fly(Flight::between(hand, contact, toss_, tossSec), serving);
    return {contactTime, contact, server};
}

RallyPlanner::Touch RallyPlanner::receive(int receiving, double since, const Vec3& from, double speed) {
    const auto& slots = s_.teams[static_cast<size_t>(receiving)].slot;
    static const int backRow[3] = {0, 4, 5};
    const int slot = random_.chance(0.75) ? backRow[random_.index(3)] : 1 + random_.index(3);
    const int receiver = slots[static_cast<size_t>(slot)];
    Vec3 point = s_.actor(receiver).position(since) + Vec3{random_.uniform(-1.3, 1.3), random_.uniform(-1.3, 1.3), 0};
    point = raised(clampToCourt(point, receiving), random_.uniform(0.55, 0.9));
    const Flight shot = Flight::overNet(from, point, since, speed);
    fly(shot, touchTeam_);
    reach(receiver, point, shot.end, ArmPose::Platform, since);
    settle(since, receiving, point);
    return {shot.end, point, receiver};
}

RallyOutcome RallyPlanner::finish(const Flight& toFloor) {
    fly(toFloor, touchTeam_);
    s_.plan.matchBall.add(bounceAndRoll(toFloor, toFloor.end + kRollSec));
    const Vec3 landing = toFloor.positionAt(toFloor.end);
    const int winner = insideCourt(landing) ? 1 - sideOf(landing) : 1 - touchTeam_;
    return {toFloor.end, toFloor, winner};
}

RallyOutcome RallyPlanner::intoNet(const Vec3& from, double start, int hitter) {
    const Vec3 net{std::clamp(from.x + random_.uniform(-0.6, 0.6), 0.5, 8.5), kNetY - netward(hitter).y * 0.08,
                   random_.uniform(1.3, 2.25)};
    const Flight shot = Flight::between(from, net, start, (net - from).length() / random_.uniform(10, 16));
    fly(shot, hitter);
    const double fall = std::sqrt(2.0 * (net.z - kBallRadius) / kGravity) * 1.05;
    const Vec3 floor{net.x, net.y - netward(hitter).y * 0.35, kBallRadius};
    return finish(Flight::between(net, floor, shot.end, fall));
}

Vec3 RallyPlanner::outsidePoint(int team) {
    const Vec3 p = random_.chance(0.5)
                       ? teamPoint(team, random_.uniform(-0.5, 9.5), random_.uniform(9.4, 11.5))
                       : teamPoint(team, random_.chance(0.5) ? random_.uniform(-2.0, -0.35) : random_.uniform(9.35, 10.5),
                                   random_.uniform(1.5, 8.5));
    return raised(p, kBallRadius);
}

RallyOutcome RallyPlanner::endServe(const Touch& contact, int receiving) {
    const double speed = random_.uniform(12, 22);
    const double kind = random_.uniform(0, 1);
    if (kind < 0.3) {
        const Vec3 ace = raised(teamPoint(receiving, random_.uniform(0.5, 8.5), random_.uniform(2.0, 8.7)), kBallRadius);
        const Flight shot = Flight::overNet(contact.point, ace, contact.time, speed);
        settle(contact.time, receiving, ace);
        return finish(shot);
    }
    if (kind < 0.6) {
        const Vec3 out = outsidePoint(receiving);
        const Flight shot = Flight::overNet(contact.point, out, contact.time, speed);
        settle(contact.time, receiving, out);
        return finish(shot);
    }
    if (kind < 0.8) return intoNet(contact.point, contact.time, touchTeam_);
    // Reception error: the pass flies off the court.
    const Touch pass = receive(receiving, contact.time, contact.point, speed);
    const Vec3 away = outsidePoint(receiving);
    touchTeam_ = receiving;
    return finish(Flight::between(pass.point, away, pass.time, random_.uniform(1.0, 1.8)));
}

RallyOutcome RallyPlanner::endAttack(const Vec3& attack, double time, int attacker) {
    const int defending = 1 - attacker;
    const double speed = random_.uniform(16, 25);
    const double kind = random_.uniform(0, 1);
    if (kind < 0.45) {
        const Vec3 kill = raised(teamPoint(defending, random_.uniform(0.3, 8.7), random_.uniform(1.5, 8.8)), kBallRadius);
        return finish(Flight::overNet(attack, kill, time, speed));
    }
    if (kind < 0.65) return finish(Flight::overNet(attack, outsidePoint(defending), time, speed));
    if (kind < 0.75) return intoNet(attack, time, attacker);
    if (kind < 0.9) {
        // Stuffed by the block: the ball drops back on the attackers' side.
        const Vec3 block{attack.x + random_.uniform(-0.3, 0.3), kNetY + netward(attacker).y * 0.1, random_.uniform(2.7, 3.0)};
        const Flight shot = Flight::between(attack, block, time, 0.12);
        fly(shot, attacker);
        const Vec3 floor = raised(teamPoint(attacker, random_.uniform(0.5, 8.5), random_.uniform(0.5, 3.0)), kBallRadius);
        touchTeam_ = defending;
        return finish(Flight::between(block, floor, shot.end, random_.uniform(0.5, 0.8)));
    }
    // The defender touches it but cannot keep it in play.
    const Touch dig = receive(defending, time, attack, speed);
    touchTeam_ = defending;
    return finish(Flight::between(dig.point, outsidePoint(defending), dig.time, random_.uniform(0.9, 1.6)));
}

RallyOutcome RallyPlanner::run(double targetSec) {
    for (int team = 0; team < 2; ++team) {
        for (int index : s_.teams[static_cast<size_t>(team)].slot) s_.actor(index).arms(toss_ - 1.0, toss_ + 1e4, ArmPose::Ready);
    }
    const int exchanges = std::max(0, static_cast<int>(std::floor((targetSec - kServePhaseSec) / kExchangeSec + random_.uniform(0, 1))));
    const Touch serveContact = serve();
    int possessing = 1 - s_.servingTeam;
    if (exchanges == 0) return endServe(serveContact, possessing);

    const double serveSpeed = random_.uniform(12, 22);
    Touch first = receive(possessing, serveContact.time, serveContact.point, serveSpeed);
    for (int exchange = 0;; ++exchange) {
        const Lineup& lineup = s_.teams[static_cast<size_t>(possessing)];
        const int setter = lineup.setter != first.actor ? lineup.setter : lineup.slot[2];
        const Vec3 setPoint = raised(teamPoint(possessing, random_.uniform(5.2, 6.5), random_.uniform(0.6, 1.4)),
                                     random_.uniform(2.3, 2.6));
        const Flight pass = Flight::between(first.point, setPoint, first.time, random_.uniform(1.2, 1.7));
        fly(pass, possessing);
        reach(setter, setPoint, pass.end, ArmPose::Overhead, first.time);
        settle(first.time, possessing, setPoint);

        // Set to an outside, middle or back-row attacker.
        const double choice = random_.uniform(0, 1);
        double fromLeft, fromNet, setSec;
        if (choice < 0.4) fromLeft = random_.uniform(0.6, 1.4), fromNet = random_.uniform(1.0, 2.5), setSec = random_.uniform(1.2, 1.5);
        else if (choice < 0.65) fromLeft = random_.uniform(7.6, 8.4), fromNet = random_.uniform(1.0, 2.5), setSec = random_.uniform(1.0, 1.3);
        else if (choice < 0.85) fromLeft = random_.uniform(3.5, 5.0), fromNet = random_.uniform(0.6, 1.2), setSec = random_.uniform(0.5, 0.7);
        else fromLeft = random_.uniform(4.0, 5.0), fromNet = random_.uniform(3.3, 3.8), setSec = random_.uniform(1.1, 1.3);
        const Vec3 attack = raised(teamPoint(possessing, fromLeft, fromNet), random_.uniform(2.9, 3.3));
        const double attackTime = pass.end + setSec;
        const int attacker = s_.nearestPlayer(possessing, attack, pass.end, setter);
        fly(Flight::between(setPoint, attack, pass.end, setSec), possessing);

        Actor& hitter = s_.actor(attacker);
        hitter.moveTo(std::max(pass.end - 0.4, busyUntil_[static_cast<size_t>(attacker)]), attackTime - 0.42,
                      attack.flat() - netward(possessing) * 0.3, Facing::Ball);
        hitter.jump({attackTime - 0.42, 0.85, random_.uniform(0.5, 0.8)});
        hitter.arms(attackTime - 0.7, attackTime + 0.2, ArmPose::Spike);
        busyUntil_[static_cast<size_t>(attacker)] = attackTime + 0.5;

        const int defending = 1 - possessing;
        std::vector<int> front(s_.teams[static_cast<size_t>(defending)].slot.begin() + 1,
                               s_.teams[static_cast<size_t>(defending)].slot.begin() + 4);
        std::sort(front.begin(), front.end(), [&](int a, int b) {
            return std::abs(s_.actor(a).position(pass.end).x - attack.x) < std::abs(s_.actor(b).position(pass.end).x - attack.x);
        });
        const int blockers = 1 + (random_.chance(0.6) ? 1 : 0);
        for (int b = 0; b < blockers; ++b) {
            Actor& blocker = s_.actor(front[static_cast<size_t>(b)]);
            const Vec3 spot{std::clamp(attack.x + (b - 0.5 * (blockers - 1)) * 0.7, 0.3, 8.7),
                            kNetY + netward(possessing).y * 0.45, 0};
            blocker.moveTo(pass.end, attackTime - 0.25, spot, Facing::Net);
            blocker.jump({attackTime - 0.2, 0.7, random_.uniform(0.35, 0.55)});
            blocker.arms(attackTime - 0.45, attackTime + 0.5, ArmPose::Block);
            busyUntil_[static_cast<size_t>(front[static_cast<size_t>(b)])] = attackTime + 0.6;
        }
        settle(pass.end, possessing, attack);

        if (exchange + 1 >= exchanges) return endAttack(attack, attackTime, possessing);
        touchTeam_ = possessing;
        if (random_.chance(0.2)) {
            // Deflected off the block and covered by the attacking team.
            const Vec3 block{attack.x, kNetY + netward(possessing).y * 0.1, random_.uniform(2.7, 3.0)};
            const Flight shot = Flight::between(attack, block, attackTime, 0.12);
            fly(shot, possessing);
            const Vec3 cover = raised(clampToCourt(teamPoint(possessing, attack.x < 4.5 ? attack.x : 9 - attack.x,
                                                             random_.uniform(2.0, 4.0)), possessing), 0.6);
            const int coverer = s_.nearestPlayer(possessing, cover, attackTime, attacker);
            const Flight deflection = Flight::between(block, cover, shot.end, random_.uniform(0.8, 1.1));
            fly(deflection, defending);
            reach(coverer, cover, deflection.end, ArmPose::Platform, attackTime);
            first = {deflection.end, cover, coverer};
        } else {
            first = receive(defending, attackTime, attack, random_.uniform(14, 22));
            possessing = defending;
        }
    }
}

}  // namespace

RallyOutcome planRally(PlannerState& state, double tossTime, double targetSec) {
    RallyPlanner planner(state, tossTime);
    const RallyOutcome outcome = planner.run(targetSec);
    state.plan.rallies.push_back({tossTime, outcome.dead});
    for (int team = 0; team < 2; ++team) {
        for (int index : state.teams[static_cast<size_t>(team)].slot) {
            state.actor(index).arms(outcome.dead + 0.5, outcome.dead + 1e4, ArmPose::Relaxed);
        }
    }
    return outcome;
}

}  // namespace rallinox::synth
