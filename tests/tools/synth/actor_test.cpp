#include <gtest/gtest.h>

#include "actor.h"
#include "pose.h"

using namespace rallinox::synth;

namespace {

Appearance look(double height = 1.9) {
    Appearance a;
    a.height = height;
    return a;
}

double length(const Vec3& a, const Vec3& b) { return (a - b).length(); }

}  // namespace

TEST(ActorMoves, ArriveOnTimeAndStartGently) {
    Actor a(look(), {1, 1, 0}, 0);
    a.moveTo(2.0, 4.0, {5, 1, 0}, Facing::Motion);
    EXPECT_LT(length(a.position(1.0), {1, 1, 0}), 1e-9);
    EXPECT_LT(length(a.position(4.0), {5, 1, 0}), 1e-9);
    EXPECT_LT(length(a.position(9.0), {5, 1, 0}), 1e-9);
    EXPECT_LT(a.velocity(2.05).length(), a.velocity(3.0).length() / 4);
    EXPECT_NEAR(a.distanceWalked(10.0), 4.0, 1e-9);
}

TEST(ActorMoves, ANewOrderTakesOverFromWhereTheActorIs) {
    Actor a(look(), {0, 0, 0}, 0);
    a.moveTo(0.0, 2.0, {4, 0, 0}, Facing::Motion);
    a.moveTo(5.0, 6.0, {4, 3, 0}, Facing::Net);
    const Vec3 halfway = a.position(1.0);
    a.moveTo(1.0, 3.0, {halfway.x, 5, 0}, Facing::Ball);
    // The order at 5 s was planned before the one at 1 s and is dropped.
    EXPECT_LT(length(a.position(7.0), {halfway.x, 5, 0}), 1e-9);
    EXPECT_NEAR(a.distanceWalked(7.0), halfway.x + 5.0, 1e-6);
    EXPECT_EQ(a.facing(2.0), Facing::Ball);
}

TEST(ActorJumps, RiseToTheirHeightMidAirWithACrouchAround) {
    Actor a(look(), {0, 0, 0}, 1);
    a.jump({10.0, 0.8, 0.6});
    EXPECT_EQ(a.jumpHeight(9.9), 0.0);
    EXPECT_NEAR(a.jumpHeight(10.4), 0.6, 1e-9);
    EXPECT_LT(a.jumpHeight(10.7), 0.6);
    EXPECT_GT(a.crouch(9.88), 0.5);
    EXPECT_GT(a.crouch(10.85), 0.5);
    EXPECT_EQ(a.crouch(12.0), 0.0);
}

TEST(ActorArms, ShortActionsSitOnTopOfALongStance) {
    Actor a(look(), {0, 0, 0}, 0);
    a.arms(0.0, 100.0, ArmPose::Ready);
    a.arms(10.0, 10.5, ArmPose::Platform);
    EXPECT_EQ(a.armPose(5.0), ArmPose::Ready);
    EXPECT_EQ(a.armPose(10.2), ArmPose::Platform);
    EXPECT_EQ(a.armPose(150.0), ArmPose::Relaxed);
    EXPECT_GT(a.crouch(5.0), 0.0);
}

TEST(Pose, LimbsKeepTheirLengthsWhileRunningAndJumping) {
    Actor a(look(1.8), {0, 0, 0}, 0);
    a.moveTo(0.0, 2.0, {6, 3, 0}, Facing::Motion);
    a.jump({2.5, 0.8, 0.7});
    a.arms(2.3, 3.4, ArmPose::Spike);
    std::optional<double> thigh, forearm;
    for (double t = 0.2; t < 3.4; t += 0.1) {
        const Pose p = poseAt(a, t, nullptr, {4.5, -10, 6});
        for (int side = 0; side < 2; ++side) {
            const double th = length(p.hip[side], p.knee[side]);
            const double fa = length(p.elbow[side], p.hand[side]);
            if (!thigh) thigh = th, forearm = fa;
            EXPECT_NEAR(th, *thigh, 1e-6) << t;
            EXPECT_NEAR(fa, *forearm, 1e-6) << t;
        }
    }
}

TEST(Pose, StandsOnTheFloorAndLeavesItWhenJumping) {
    Actor a(look(1.9), {3, 3, 0}, 0);
    a.jump({5.0, 0.8, 0.7});
    const Pose standing = poseAt(a, 1.0, nullptr, {4.5, -10, 6});
    EXPECT_NEAR(std::min(standing.ankle[0].z, standing.ankle[1].z), 0.04 * 1.9, 1e-6);
    EXPECT_NEAR(standing.head.z + standing.headRadius, 1.9, 0.12);
    const Pose flying = poseAt(a, 5.4, nullptr, {4.5, -10, 6});
    EXPECT_GT(std::min(flying.ankle[0].z, flying.ankle[1].z), 0.6);
}

TEST(Pose, FacesTheBallAndHoldsItInFront) {
    Actor a(look(), {4, 4, 0}, 0);
    a.moveTo(0.0, 0.1, {4, 4, 0}, Facing::Ball);
    a.arms(0.0, 10.0, ArmPose::Hold);
    const Vec3 ball{8, 4, 1};
    const Pose p = poseAt(a, 1.0, &ball, {4.5, -10, 6});
    EXPECT_NEAR(p.forward.x, 1.0, 1e-9);
    EXPECT_GT((p.ballHold - p.neck).dot(p.forward), 0.2);
    for (int side = 0; side < 2; ++side) EXPECT_LT(length(p.hand[side], p.ballHold), 0.2);
}

TEST(Pose, BlockingArmsReachAboveTheHead) {
    Actor a(look(), {4, 8.5, 0}, 0);
    a.arms(0.0, 1.0, ArmPose::Block);
    const Pose p = poseAt(a, 0.5, nullptr, {4.5, -10, 6});
    EXPECT_GT(p.hand[0].z, p.head.z + 0.3);
    EXPECT_GT(p.hand[1].z, p.head.z + 0.3);
}
