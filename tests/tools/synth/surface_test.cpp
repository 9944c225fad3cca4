#include <gtest/gtest.h>

#include "surface.h"

using namespace rallinox::synth;

namespace {

// Grey floor seen from high behind a baseline; boards run down the court.
struct Floor {
    Camera camera = Camera::lookAt(Vec3{4.5, -8, 6}, Vec3{4.5, 9, 0}, 900, cv::Size(640, 360));
    cv::Mat image = cv::Mat(camera.size, CV_8UC3, cv::Scalar(128, 128, 128));
    void shade(const cv::Mat& mask, uint64_t seed) {
        Random random(seed);
        const Surface ground{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        const BoardPattern boards = BoardPattern::floorBoards(random);
        shadeSurface(image, mask, camera, ground, boards);
    }
    double spread(const cv::Rect& area) const {
        cv::Scalar mean, sd;
        cv::meanStdDev(image(area), mean, sd);
        return sd[1];
    }
};

}  // namespace

TEST(FloorBoards, ShowNearbyFadeFarAwayAndStayInsideTheMask) {
    Floor floor;
    cv::Mat mask(floor.camera.size, CV_8U, cv::Scalar(0));
    mask(cv::Rect(0, 0, 320, 360)).setTo(255);
    floor.shade(mask, 11);
    const cv::Mat untouched(360, 320, CV_8UC3, cv::Scalar(128, 128, 128));
    EXPECT_EQ(cv::norm(floor.image(cv::Rect(320, 0, 320, 360)), untouched, cv::NORM_INF), 0.0);
    // Boards and seams near the camera; far down the hall a pixel spans
    // many boards and the floor evens out rather than shimmering.
    const double nearby = floor.spread({100, 340, 60, 16}), far = floor.spread({100, 2, 60, 16});  // 8 m and 40 m away
    EXPECT_GT(nearby, 2.0);
    EXPECT_LT(far, nearby / 2);
}

TEST(FloorBoards, SameSeedLaysTheSameFloor) {
    Floor a, b, c;
    const cv::Mat all(a.camera.size, CV_8U, cv::Scalar(255));
    a.shade(all, 11);
    b.shade(all, 11);
    c.shade(all, 12);
    EXPECT_EQ(cv::norm(a.image, b.image, cv::NORM_INF), 0.0);
    EXPECT_GT(cv::norm(a.image, c.image, cv::NORM_L1), 0.0);
}
