#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include "crowd.h"
#include "hall.h"
#include "sensor.h"

using namespace rallinox::synth;

namespace {

Camera baselineCamera() {
    Random random(4);
    return chooseCamera(View::Baseline, Reach::Far, {640, 360}, random);
}

}  // namespace

TEST(Hall, ShakeShiftsTheWholeBackground) {
    const Camera camera = baselineCamera();
    Random random(8), detail(9);
    const Hall hall = buildHall(camera, random, detail);
    cv::Mat still, shaken;
    copyBackground(hall, {0, 0}, still);
    copyBackground(hall, {3, -2}, shaken);
    ASSERT_EQ(still.size(), camera.size);
    const cv::Rect inner(20, 20, 600, 320);
    EXPECT_EQ(cv::norm(still(inner), shaken(inner + cv::Point(3, -2)), cv::NORM_INF), 0.0);
    EXPECT_GT(cv::norm(still(inner), shaken(inner), cv::NORM_L1), 0.0);
}

TEST(Hall, NetCoversThePictureAtTheNet) {
    const Camera camera = baselineCamera();
    Random random(8), detail(9);
    const Hall hall = buildHall(camera, random, detail);
    cv::Mat frame;
    copyBackground(hall, {0, 0}, frame);
    const cv::Mat before = frame.clone();
    overlayNet(hall, {0, 0}, frame);
    const cv::Point2d tape = *camera.project({4.5, kNetY, kNetHeight - 0.03});
    const cv::Point2d floor = *camera.project({4.5, 4.0, 0});
    EXPECT_NE(frame.at<cv::Vec3b>(cv::Point(tape)), before.at<cv::Vec3b>(cv::Point(tape)));
    EXPECT_EQ(frame.at<cv::Vec3b>(cv::Point(floor)), before.at<cv::Vec3b>(cv::Point(floor)));
}

TEST(Sensor, ShakeStaysWithinTheMargin) {
    Random random(2);
    const Sensor sensor({1920, 1080}, 12, random);
    for (double t = 0; t < 3600; t += 0.37) {
        const cv::Point shake = sensor.shakeAt(t);
        EXPECT_LE(std::abs(shake.x), 12);
        EXPECT_LE(std::abs(shake.y), 12);
    }
}

TEST(Sensor, NoiseDependsOnTheFrameOnly) {
    Random random(2);
    const Sensor sensor({320, 180}, 8, random);
    const cv::Mat grey(180, 320, CV_8UC3, cv::Scalar(120, 120, 120));
    cv::Mat a = grey.clone(), b = grey.clone(), c = grey.clone();
    sensor.apply(a, 1.0, 30);
    sensor.apply(b, 1.0, 30);
    sensor.apply(c, 1.0, 31);
    EXPECT_EQ(cv::norm(a, b, cv::NORM_INF), 0.0);
    EXPECT_GT(cv::norm(a, c, cv::NORM_L1), 0.0);
    EXPECT_NEAR(cv::mean(a)[0], 120.0 * (1.0 + 0.0), 120.0 * 0.06);
}

TEST(Crowd, StandsStirFromFrameToFrameButRepeatAMoment) {
    const Camera camera = baselineCamera();
    Random random(5), detail(6);
    const Crowd crowd(camera, random, detail);
    cv::Mat background(camera.size, CV_8UC3, cv::Scalar(90, 90, 90));
    crowd.drawSeated(background, camera);
    EXPECT_GT(cv::norm(background, cv::Mat(camera.size, CV_8UC3, cv::Scalar(90, 90, 90)), cv::NORM_L1), 0.0);
    auto at = [&](double t) {
        cv::Mat frame = background.clone();
        crowd.draw(frame, camera, t);
        // The LED board changes anyway; only the people count here.
        std::vector<cv::Point> board;
        for (const Vec3& p : {Vec3{12.98, 0, 0}, Vec3{12.98, 18, 0}, Vec3{12.98, 18, 0.9}, Vec3{12.98, 0, 0.9}}) {
            if (const auto q = camera.project(p)) board.push_back(cv::Point(*q));
        }
        if (board.size() == 4) cv::rectangle(frame, cv::boundingRect(board) + cv::Size(4, 4) - cv::Point(2, 2), cv::Scalar(0, 0, 0), cv::FILLED);
        return frame;
    };
    EXPECT_EQ(cv::norm(at(2.0), at(2.0), cv::NORM_INF), 0.0);
    EXPECT_GT(cv::norm(at(2.0), at(2.5), cv::NORM_L1), 0.0);
}
