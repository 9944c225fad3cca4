#include <gtest/gtest.h>

#include "camera.h"

using namespace rallinox::synth;

namespace {

double playerPixels(const Camera& c, const Vec3& foot) {
    return cv::norm(*c.project(foot) - *c.project(foot + Vec3{0, 0, 1.9}));
}

bool inPicture(const Camera& c, const Vec3& p) {
    const auto q = c.project(p);
    return q && q->x >= 0 && q->y >= 0 && q->x < c.size.width && q->y < c.size.height;
}

}  // namespace

TEST(Camera, PointsBehindTheCameraAreNotProjected) {
    const Camera c = Camera::lookAt({4.5, -10, 6}, {4.5, 9, 0}, 1000, {1920, 1080});
    EXPECT_FALSE(c.project({4.5, -12, 6}).has_value());
    const auto centre = c.project({4.5, 9, 0});
    ASSERT_TRUE(centre.has_value());
    EXPECT_NEAR(centre->x, 960, 1e-6);
    EXPECT_NEAR(centre->y, 540, 1e-6);
}

TEST(Camera, PolygonReachingBehindTheCameraIsClipped) {
    const Camera c = Camera::lookAt({4.5, -10, 6}, {4.5, 9, 0}, 1000, {1920, 1080});
    const auto points = c.projectPolygon({{-20, -40, 0}, {30, -40, 0}, {30, 40, 0}, {-20, 40, 0}});
    EXPECT_GE(points.size(), 3u);
}

struct Limits {
    double nearMin, nearMax, farMin, farMax;
};

// Player sizes at 1080 lines for both placements and reaches; close cameras
// also fill 60-100 % of the picture width with the court.
void expectPlacements(View view, Reach reach, cv::Size size, Limits limits, uint64_t seed) {
    const double scale = size.height / 1080.0;
    const bool baseline = view == View::Baseline;
    const Vec3 nearFoot = baseline ? Vec3{4.5, 1, 0} : Vec3{1, 9, 0};
    const Vec3 farFoot = baseline ? Vec3{4.5, 17, 0} : Vec3{8, 9, 0};
    Random random(seed);
    for (int i = 0; i < 20; ++i) {
        const Camera c = chooseCamera(view, reach, size, random);
        EXPECT_LT(baseline ? c.position.y : c.position.x, 0.0);
        EXPECT_GE(playerPixels(c, nearFoot) / scale, limits.nearMin);
        EXPECT_LE(playerPixels(c, nearFoot) / scale, limits.nearMax);
        EXPECT_GE(playerPixels(c, farFoot) / scale, limits.farMin);
        EXPECT_LE(playerPixels(c, farFoot) / scale, limits.farMax);
        // The far side is always in the picture; a far camera sees all of the court.
        const std::vector<Vec3> farCorners = baseline ? std::vector<Vec3>{{0, 18, 0}, {9, 18, 0}}
                                                      : std::vector<Vec3>{{9, 0, 0}, {9, 18, 0}};
        for (const Vec3& corner : farCorners) EXPECT_TRUE(inPicture(c, corner));
        const double ballPx = 2 * kBallRadius * c.pixelsPerMetre({4.5, 9, 1.5}) / scale;
        if (reach == Reach::Close) {
            EXPECT_GE(courtWidthShare(c), 0.6);
            // The match ball is 15-25 px across at the middle of the court.
            EXPECT_GE(ballPx, 15) << "placement " << i;
            EXPECT_LE(ballPx, 25) << "placement " << i;
        } else {
            // Smaller than in any recording measured, yet more than a speck.
            EXPECT_GE(ballPx, 10) << "placement " << i;
            EXPECT_LE(ballPx, 18) << "placement " << i;
            for (const Vec3& corner : {Vec3{0, 0, 0}, Vec3{9, 0, 0}, Vec3{0, 18, 0}, Vec3{9, 18, 0}}) {
                EXPECT_TRUE(inPicture(c, corner));
            }
        }
    }
}

TEST(Camera, ClosePlacementsHaveTheSizesOfRealClubFootage) {
    expectPlacements(View::Baseline, Reach::Close, {1920, 1080}, {200, 400, 120, 180}, 11);
    expectPlacements(View::Side, Reach::Close, {1280, 720}, {200, 400, 120, 180}, 12);
    expectPlacements(View::Baseline, Reach::Close, {3840, 2160}, {200, 400, 120, 180}, 13);
}

TEST(Camera, FarPlacementsSeeTheWholeCourtWithSmallPlayers) {
    expectPlacements(View::Baseline, Reach::Far, {1920, 1080}, {150, 200, 80, 120}, 14);
    expectPlacements(View::Side, Reach::Far, {1280, 720}, {150, 220, 90, 140}, 15);
}

TEST(Camera, CourtWidthShareCountsOnlyWhatIsInThePicture) {
    const Camera wide = Camera::lookAt({4.5, -30, 10}, {4.5, 9, 0}, 600, {1920, 1080});
    EXPECT_GT(courtWidthShare(wide), 0.0);
    EXPECT_LT(courtWidthShare(wide), 0.3);
    const Camera close = Camera::lookAt({4.5, -1, 3}, {4.5, 9, 0}, 2500, {1920, 1080});
    EXPECT_DOUBLE_EQ(courtWidthShare(close), 1.0);
}
