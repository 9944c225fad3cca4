#pragma once
// The two teams on the court: who stands in which rotation slot, where the
// slots are, and geometry seen from each team's side of the net.
#include <array>

#include "match_plan.h"

namespace rallinox::synth {

struct Lineup {
    std::array<int, 6> slot{};   // actor index in positions 1..6 (slot 0 serves)
    std::array<int, 2> bench{};  // substitutes waiting at the side line
    int setter = -1;
};

struct PlannerState {
    PlannerState(const Camera& camera, Random& random) : camera(camera), random(random) {}
    const Camera& camera;
    Random& random;
    MatchPlan plan;
    std::array<Lineup, 2> teams;
    int servingTeam = 0;

    Actor& actor(int index) { return plan.actors[static_cast<size_t>(index)]; }
    // Court actor of `team` whose planned position at `t` is closest to `point`.
    int nearestPlayer(int team, const Vec3& point, double t, int excluded = -1) const;
};

// Team 0 defends the half y < 9, team 1 the other. `fromLeft` is measured
// from the team's own left side line, `fromNet` back from the net.
Vec3 teamPoint(int team, double fromLeft, double fromNet);
// Direction a team faces when looking at the net.
Vec3 netward(int team);
Vec3 slotBase(int team, int slot);
int sideOf(const Vec3& p);  // team whose half contains p
bool insideCourt(const Vec3& p);

// Skin and hair drawn from the same range as the players', for anyone on foot.
cv::Scalar randomSkin(Random& random);
cv::Scalar randomHair(Random& random);
// A player in the given kit.
Appearance player(Random& random, const cv::Scalar& jersey, const cv::Scalar& shorts, bool female);

// Creates the twelve players, the substitutes and the referee.
void castTeams(PlannerState& state);

}  // namespace rallinox::synth
