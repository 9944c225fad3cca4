#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include "ball_render.h"

using namespace rallinox::synth;

namespace {

const cv::Scalar kFloor(60, 90, 140);

cv::Mat floorImage() { return cv::Mat(120, 160, CV_8UC3, kFloor); }

cv::Mat changedMask(const cv::Mat& image) {
    cv::Mat diff;
    cv::absdiff(image, kFloor, diff);
    cv::Mat grey;
    cv::cvtColor(diff, grey, cv::COLOR_BGR2GRAY);
    return grey > 3;
}

int changedPixels(const cv::Mat& image) { return cv::countNonZero(changedMask(image)); }

BallStyle style() {
    Random random(3);
    return chooseBallStyle(random);
}

}  // namespace

TEST(BallDrawing, StillBallCoversItsDiscOnly) {
    cv::Mat image = floorImage();
    const DrawnBall ball = drawBall(image, {80, 60}, {80, 60}, 6.0, style(), 0.0);
    const int changed = changedPixels(image);
    EXPECT_GT(changed, 0.8 * M_PI * 36);
    EXPECT_LT(changed, M_PI * 49);
    EXPECT_EQ(image.at<cv::Vec3b>(60, 90), cv::Vec3b(60, 90, 140));
    EXPECT_NE(image.at<cv::Vec3b>(60, 80), cv::Vec3b(60, 90, 140));
    EXPECT_DOUBLE_EQ(visibleShare(image, ball), 1.0);
}

TEST(BallDrawing, MotionBlurSmearsAlongThePath) {
    cv::Mat still = floorImage(), moving = floorImage();
    drawBall(still, {80, 60}, {80, 60}, 5.0, style(), 0.0);
    drawBall(moving, {60, 60}, {100, 60}, 5.0, style(), 0.0);
    const cv::Rect movingBox = cv::boundingRect(changedMask(moving));
    EXPECT_GT(changedPixels(moving), 2 * changedPixels(still));
    // Spread over more pixels, each is paler than the still ball.
    cv::Mat diff;
    cv::absdiff(moving, kFloor, diff);
    double peakMoving = 0, peakStill = 0;
    cv::minMaxLoc(diff.reshape(1), nullptr, &peakMoving);
    cv::absdiff(still, kFloor, diff);
    cv::minMaxLoc(diff.reshape(1), nullptr, &peakStill);
    EXPECT_LT(peakMoving, peakStill);
    EXPECT_GT(movingBox.width, 3 * movingBox.height / 2);
}

TEST(BallDrawing, CoveredBallIsSeenAsPartlyVisible) {
    cv::Mat image = floorImage();
    const DrawnBall ball = drawBall(image, {80, 60}, {80, 60}, 8.0, style(), 1.0);
    cv::rectangle(image, cv::Rect(0, 0, 80, 120), cv::Scalar(10, 10, 10), cv::FILLED);
    EXPECT_NEAR(visibleShare(image, ball), 0.5, 0.1);
    cv::rectangle(image, cv::Rect(0, 0, 160, 120), cv::Scalar(10, 10, 10), cv::FILLED);
    EXPECT_EQ(visibleShare(image, ball), 0.0);
}

TEST(BallDrawing, BallLeavingThePictureIsClipped) {
    cv::Mat image = floorImage();
    const DrawnBall ball = drawBall(image, {158, 60}, {170, 60}, 6.0, style(), 0.0);
    EXPECT_LE(ball.box.br().x, image.cols);
    const DrawnBall outside = drawBall(image, {400, 400}, {400, 400}, 6.0, style(), 0.0);
    EXPECT_EQ(outside.box.area(), 0);
    EXPECT_EQ(visibleShare(image, outside), 0.0);
}
