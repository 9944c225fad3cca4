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

TEST(Camera, BaselinePlacementsHavePlayerSizesOfRealFootage) {
    Random random(11);
    for (int i = 0; i < 20; ++i) {
        const Camera c = chooseCamera(View::Baseline, {1920, 1080}, random);
        EXPECT_LT(c.position.y, 0.0);
        EXPECT_GE(playerPixels(c, {4.5, 1, 0}), 90);
        EXPECT_LE(playerPixels(c, {4.5, 1, 0}), 150);
        EXPECT_GE(playerPixels(c, {4.5, 17, 0}), 50);
        EXPECT_LE(playerPixels(c, {4.5, 17, 0}), 80);
        for (const Vec3& corner : {Vec3{0, 0, 0}, Vec3{9, 0, 0}, Vec3{0, 18, 0}, Vec3{9, 18, 0}}) {
            EXPECT_TRUE(inPicture(c, corner));
        }
    }
}

TEST(Camera, SidePlacementsSeeTheWholeCourtFromTheStands) {
    Random random(12);
    for (int i = 0; i < 20; ++i) {
        const Camera c = chooseCamera(View::Side, {1280, 720}, random);
        EXPECT_LT(c.position.x, 0.0);
        for (const Vec3& corner : {Vec3{0, 0, 0}, Vec3{9, 0, 0}, Vec3{0, 18, 0}, Vec3{9, 18, 0}}) {
            EXPECT_TRUE(inPicture(c, corner));
        }
    }
}
