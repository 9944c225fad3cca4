#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "match_plan.h"
#include "neighbour_court.h"

using namespace rallinox::synth;

namespace {

MatchPlan planFor(uint64_t seed, double seconds) {
    Random cameraRandom(seed);
    const Camera camera = chooseCamera(View::Baseline, Reach::Far, {1280, 720}, cameraRandom);
    Random random(seed + 1);
    return planMatch(seconds, camera, random);
}

double mean(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v) sum += x;
    return sum / v.size();
}

}  // namespace

TEST(MatchPlan, SameSeedGivesTheSameMatch) {
    const MatchPlan a = planFor(3, 600), b = planFor(3, 600);
    ASSERT_EQ(a.rallies.size(), b.rallies.size());
    for (size_t i = 0; i < a.rallies.size(); ++i) {
        EXPECT_EQ(a.rallies[i].start, b.rallies[i].start);
        EXPECT_EQ(a.rallies[i].end, b.rallies[i].end);
    }
    for (double t = 0; t < 600; t += 0.7) {
        const auto pa = a.matchBall.at(t), pb = b.matchBall.at(t);
        ASSERT_EQ(pa.has_value(), pb.has_value());
        if (pa && pa->position) {
            EXPECT_EQ(pa->position->y, pb->position->y);
        }
    }
    const MatchPlan other = planFor(4, 600);
    EXPECT_NE(other.rallies.front().start, a.rallies.front().start);
}

TEST(MatchPlan, RallyAndBreakLengthsFollowIndoorStatistics) {
    const MatchPlan plan = planFor(5, 4 * 3600);
    std::vector<double> plays, breaks;
    for (size_t i = 0; i < plan.rallies.size(); ++i) {
        plays.push_back(plan.rallies[i].end - plan.rallies[i].start);
        if (i) breaks.push_back(plan.rallies[i].start - plan.rallies[i - 1].end);
    }
    ASSERT_GT(plays.size(), 200u);
    // Toss to dead ball: the 5.5 s of play plus about a second of toss.
    EXPECT_GT(mean(plays), 4.5);
    EXPECT_LT(mean(plays), 9.0);
    EXPECT_GT(mean(breaks), 28.0);
    EXPECT_LT(mean(breaks), 50.0);
    EXPECT_LT(*std::min_element(plays.begin(), plays.end()), 3.0);
    EXPECT_GT(*std::max_element(plays.begin(), plays.end()), 15.0);
}

TEST(MatchPlan, RalliesRunFromTheServersHandsToTheFloor) {
    const MatchPlan plan = planFor(6, 900);
    ASSERT_FALSE(plan.rallies.empty());
    for (size_t i = 0; i + 1 < plan.rallies.size(); ++i) {
        const TimeSpan& r = plan.rallies[i];
        EXPECT_LT(r.end, plan.rallies[i + 1].start);
        const auto before = plan.matchBall.at(r.start - 0.05);
        ASSERT_TRUE(before.has_value());
        EXPECT_GE(before->holder, 0) << "rally " << i;
        for (double t = r.start + 0.05; t < r.end; t += 0.1) {
            const auto during = plan.matchBall.at(t);
            ASSERT_TRUE(during && during->position) << "rally " << i << " at " << t;
            EXPECT_GT(during->position->z, kBallRadius - 1e-6);
        }
        const auto dead = plan.matchBall.at(r.end);
        ASSERT_TRUE(dead && dead->position);
        EXPECT_NEAR(dead->position->z, kBallRadius, 0.02) << "rally " << i;
    }
}

TEST(MatchPlan, WarmupPlaysSeveralBallsAtOnceWithoutTheMatchBall) {
    for (uint64_t seed = 1; seed < 40; ++seed) {
        const MatchPlan plan = planFor(seed, 200);
        if (plan.warmups.empty()) continue;
        const double middle = 0.5 * (plan.warmups[0].start + plan.warmups[0].end);
        int inPlay = 0;
        for (const BallPath& ball : plan.warmupBalls) inPlay += ball.at(middle).has_value();
        EXPECT_GE(inPlay, 3);
        EXPECT_FALSE(plan.matchBall.at(middle).has_value());
        EXPECT_GT(plan.rallies.front().start, plan.warmups[0].end);
        return;
    }
    FAIL() << "no seed produced a warm-up";
}

TEST(MatchPlan, BreaksRecordTheBallRetrievalAndTheServersBounces) {
    const MatchPlan plan = planFor(8, 900);
    ASSERT_GT(plan.rallies.size(), 5u);
    ASSERT_EQ(plan.points.size(), plan.rallies.size());
    ASSERT_GE(plan.retrievals.size(), plan.rallies.size() - 1);
    ASSERT_GE(plan.serveBounces.size(), plan.rallies.size() - 1);
    for (size_t i = 0; i + 1 < plan.rallies.size(); ++i) {
        EXPECT_DOUBLE_EQ(plan.retrievals[i].start, plan.rallies[i].end);
        EXPECT_DOUBLE_EQ(plan.points[i].time, plan.rallies[i].end);
        const TimeSpan& bounce = plan.serveBounces[i];
        EXPECT_GT(bounce.end, plan.retrievals[i].end);
        EXPECT_LT(bounce.end, plan.rallies[i + 1].start);
        // The last bounce: thrown down from the hands.
        const auto thrown = plan.matchBall.at(bounce.end - 0.75 + 0.15);
        ASSERT_TRUE(thrown && thrown->position) << "break " << i;
        EXPECT_LT(thrown->position->z, 1.0);
    }
}

// A ball that spends most of the match in the air beside our court.
bool passedBesideAllMatch(const BallPath& ball, double duration) {
    int samples = 0, beside = 0;
    for (double t = 0; t < duration; t += 0.5, ++samples) {
        const auto place = ball.at(t);
        beside += place && place->position && place->position->x > 12.5;
    }
    return beside > samples / 2;
}

TEST(MatchPlan, SomeHallsHavePlayersAndBallsOnTheNextCourt) {
    int halls = 0;
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        const MatchPlan plan = planFor(seed, 120);
        halls += std::any_of(plan.warmupBalls.begin(), plan.warmupBalls.end(),
                             [](const BallPath& ball) { return passedBesideAllMatch(ball, 120); });
    }
    EXPECT_GE(halls, 2);
    EXPECT_LE(halls, 12);
}

TEST(NeighbourCourt, TwoPairsPassBallsBesideOurCourtAllMatchLong) {
    Random cameraRandom(3);
    const Camera camera = chooseCamera(View::Side, Reach::Close, {1280, 720}, cameraRandom);
    Random random(4);
    PlannerState state(camera, random);
    castTeams(state);
    const size_t ours = state.plan.actors.size();
    planNeighbourCourt(state, 300);
    ASSERT_EQ(state.plan.actors.size(), ours + 4);
    ASSERT_EQ(state.plan.warmupBalls.size(), 2u);
    for (const BallPath& ball : state.plan.warmupBalls) EXPECT_TRUE(passedBesideAllMatch(ball, 300));
    for (size_t i = ours; i < state.plan.actors.size(); ++i) {
        for (double t = 0; t < 300; t += 1.0) EXPECT_GT(state.plan.actors[i].position(t).x, 12.0);
    }
}
