#include <gtest/gtest.h>

#include "ball_path.h"
#include "flight.h"

using namespace rallinox::synth;

namespace {

double distance(const Vec3& a, const Vec3& b) { return (a - b).length(); }

}  // namespace

TEST(BallFlight, ReachesItsTargetAtTheGivenTime) {
    const Vec3 from{4.5, 1.0, 2.8}, to{2.0, 15.0, 0.8};
    const Flight f = Flight::between(from, to, 10.0, 1.3);
    EXPECT_LT(distance(f.positionAt(10.0), from), 1e-9);
    EXPECT_LT(distance(f.positionAt(11.3), to), 1e-9);
    EXPECT_GT(f.apexHeight(), 2.8);
}

TEST(BallFlight, AirDragSlowsTheBallDown) {
    const Flight f = Flight::between({0, 0, 1}, {0, 16, 1}, 0.0, 1.0);
    const double early = distance(f.positionAt(0.1), f.positionAt(0.0));
    const double late = distance(f.positionAt(1.0), f.positionAt(0.9));
    EXPECT_GT(f.velocityAt(0.0).y, f.velocityAt(1.0).y);
    EXPECT_GT(early, late * 0.9);
}

TEST(BallFlight, FallsWithGravity) {
    Flight drop;
    drop.origin = {1, 1, 3.0};
    drop.end = 2.0;
    const double contact = drop.floorContact();
    // Free fall from 3 m takes about 0.77 s; drag adds a little.
    EXPECT_NEAR(contact, std::sqrt(2 * (3.0 - kBallRadius) / kGravity), 0.05);
    EXPECT_NEAR(drop.positionAt(contact).z, kBallRadius, 1e-6);
}

TEST(BallBounces, LoseHeightThenRollToAStop) {
    const Flight spike = Flight::between({4, 7, 3.1}, {5, 14, kBallRadius}, 0.0, 0.5);
    const std::vector<Flight> pieces = bounceAndRoll(spike, 12.0);
    ASSERT_GE(pieces.size(), 2u);
    double previousApex = 1e9;
    for (size_t i = 0; i + 1 < pieces.size(); ++i) {
        const double apex = pieces[i].apexHeight();
        EXPECT_LT(apex, previousApex);
        previousApex = apex;
        EXPECT_NEAR(pieces[i].end, pieces[i + 1].start, 1e-9);
        EXPECT_LT(distance(pieces[i].positionAt(pieces[i].end), pieces[i + 1].origin), 0.01);
    }
    const Flight& roll = pieces.back();
    EXPECT_TRUE(roll.rolling);
    EXPECT_LT(roll.velocityAt(12.0).length(), 0.05);
    EXPECT_NEAR(roll.positionAt(11.0).z, kBallRadius, 1e-9);
}

TEST(BallFlight, RolledBallArrivesOnTheFloor) {
    const Flight roll = Flight::rolled({1, 1, 1.2}, {6, 9, 0}, 3.0, 2.5);
    EXPECT_LT(distance(roll.positionAt(5.5), {6, 9, kBallRadius}), 1e-9);
    EXPECT_NEAR(roll.positionAt(4.0).z, kBallRadius, 1e-12);
}

TEST(BallPath, LatestPieceWinsAndGapsAreEmpty) {
    BallPath path;
    path.add(Flight::between({0, 0, 1}, {0, 5, 1}, 0.0, 2.0));
    path.hold(1.0, 3.0, 7);
    EXPECT_TRUE(path.at(0.5)->position.has_value());
    EXPECT_EQ(path.at(1.5)->holder, 7);
    path.add(Flight::between({0, 5, 1}, {0, 9, 1}, 2.0, 1.0));
    EXPECT_TRUE(path.at(2.5)->position.has_value());
    EXPECT_FALSE(path.at(3.5).has_value());
}
