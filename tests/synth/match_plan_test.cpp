#include <gtest/gtest.h>

#include <cmath>

#include "match_plan.h"

using namespace rallinox::synth;

namespace {

MatchPlan planFor(uint64_t seed, double seconds) {
    Random cameraRandom(seed);
    const Camera camera = chooseCamera(View::Baseline, {1280, 720}, cameraRandom);
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
