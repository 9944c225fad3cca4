#include <gtest/gtest.h>

#include <algorithm>

#include "break_planner.h"

using namespace rallinox::synth;

namespace {

struct Fixture {
    explicit Fixture(uint64_t seed) : random(seed) {
        Random cameraRandom(seed);
        camera = chooseCamera(View::Baseline, Reach::Far, {1280, 720}, cameraRandom);
        state = std::make_unique<PlannerState>(camera, random);
        castTeams(*state);
    }
    Camera camera;
    Random random;
    std::unique_ptr<PlannerState> state;
};

}  // namespace

TEST(RallyPlanner, WinnerFollowsWhereTheBallDies) {
    for (uint64_t seed = 1; seed <= 30; ++seed) {
        Fixture f(seed);
        const double toss = planFirstServe(*f.state, 0.0, 5.0);
        const RallyOutcome outcome = planRally(*f.state, toss, f.random.uniform(1.0, 20.0));
        ASSERT_GT(outcome.dead, toss + 1.0);
        const Vec3 landing = outcome.landing.positionAt(outcome.landing.end);
        EXPECT_NEAR(landing.z, kBallRadius, 1e-6);
        if (insideCourt(landing)) {
            EXPECT_EQ(outcome.winner, 1 - sideOf(landing)) << "seed " << seed;
        }
        EXPECT_EQ(f.state->plan.rallies.back().end, outcome.dead);
    }
}

TEST(RallyPlanner, LongerWantedRalliesLastLonger) {
    double shortTotal = 0, longTotal = 0;
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        Fixture a(seed), b(seed);
        const double tossA = planFirstServe(*a.state, 0.0, 5.0), tossB = planFirstServe(*b.state, 0.0, 5.0);
        shortTotal += planRally(*a.state, tossA, 2.0).dead - tossA;
        longTotal += planRally(*b.state, tossB, 15.0).dead - tossB;
    }
    EXPECT_LT(shortTotal / 20, 4.5);
    EXPECT_GT(longTotal / 20, 10.0);
}

TEST(RallyPlanner, EveryShotOverTheNetClearsIt) {
    Fixture f(77);
    double toss = planFirstServe(*f.state, 0.0, 5.0);
    for (int rally = 0; rally < 15; ++rally) {
        const RallyOutcome outcome = planRally(*f.state, toss, 12.0);
        toss = planBreak(*f.state, outcome, 20.0);
    }
    int crossings = 0;
    for (const Flight& flight : f.state->plan.matchBall.flights()) {
        for (double t = flight.start; t + 0.005 < flight.end; t += 0.005) {
            const Vec3 a = flight.positionAt(t), b = flight.positionAt(t + 0.005);
            const bool crosses = (a.y - kNetY) * (b.y - kNetY) < 0 && a.x > 0 && a.x < kCourtWidth && !flight.rolling;
            if (!crosses) continue;
            ++crossings;
            // Only shots into the net (which then drop) meet it below the tape.
            const bool intoNet = std::abs(flight.positionAt(flight.end).y - kNetY) < 0.1;
            if (!intoNet) {
                EXPECT_GT(a.z, kNetHeight);
            }
        }
    }
    EXPECT_GT(crossings, 15);
}

TEST(BreakPlanner, NextServerHoldsTheBallAtTheServiceSpot) {
    Fixture f(5);
    double toss = planFirstServe(*f.state, 0.0, 5.0);
    for (int rally = 0; rally < 10; ++rally) {
        const int servingBefore = f.state->servingTeam;
        const std::array<int, 6> slotsBefore = f.state->teams[static_cast<size_t>(servingBefore)].slot;
        const RallyOutcome outcome = planRally(*f.state, toss, 6.0);
        const std::array<int, 6> winnerSlotsBefore = f.state->teams[static_cast<size_t>(outcome.winner)].slot;
        toss = planBreak(*f.state, outcome, 25.0);
        EXPECT_GE(toss, outcome.dead + 25.0);
        EXPECT_EQ(f.state->servingTeam, outcome.winner);
        const Lineup& lineup = f.state->teams[static_cast<size_t>(outcome.winner)];
        if (outcome.winner != servingBefore) {
            // Side-out: the winners rotate, the player from position 2 serves.
            EXPECT_EQ(lineup.slot[0], winnerSlotsBefore[1]);
        } else {
            EXPECT_EQ(lineup.slot[0], slotsBefore[0]);
        }
        const auto ball = f.state->plan.matchBall.at(toss - 0.01);
        ASSERT_TRUE(ball.has_value());
        EXPECT_EQ(ball->holder, lineup.slot[0]);
        const Vec3 spot = f.state->actor(lineup.slot[0]).position(toss);
        EXPECT_TRUE(outcome.winner == 0 ? spot.y < 0 : spot.y > kCourtLength) << spot.y;
    }
}

TEST(RallyPlanner, OnlyThePlayersNearTheBallRunDuringARally) {
    std::vector<double> moved;
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        Fixture f(seed);
        const double toss = planFirstServe(*f.state, 0.0, 5.0);
        const RallyOutcome outcome = planRally(*f.state, toss, 12.0);
        for (int team = 0; team < 2; ++team) {
            for (int index : f.state->teams[static_cast<size_t>(team)].slot) {
                const Actor& a = f.state->actor(index);
                double path = 0;
                for (double t = toss; t < outcome.dead; t += 0.1) path += (a.position(t + 0.1) - a.position(t)).flat().length();
                moved.push_back(path);
            }
        }
    }
    std::sort(moved.begin(), moved.end());
    // A third of the players walk less than 3 m in a 12-s rally (when all
    // twelve ran back to their places after every touch, hardly any did);
    // the ones near the ball run much more.
    EXPECT_LT(moved[moved.size() / 3], 3.0);
    EXPECT_GT(moved.back(), 8.0);
}
