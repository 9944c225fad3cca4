// Motion detection, tracking, culling and splitting run one after the other
// on rendered frames of a ball in flight over a still floor.
#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include "engine/ball_tracker.h"
#include "engine/motion_detector.h"
#include "engine/track_culling.h"
#include "engine/track_splitter.h"

namespace rallinox {
namespace {

constexpr int kFrames = 40;

cv::Point2d ballAt(int frame) {
    const double t = frame - 20.0;
    return {120.0 + 15.0 * frame, 120.0 + 0.4 * t * t};
}

std::vector<FrameCandidates> detectFlight(const EngineParams& params) {
    MotionDetector detector;
    detector.setParams(params);
    std::vector<FrameCandidates> frames;
    for (int i = 0; i < kFrames; ++i) {
        cv::Mat frame(params.analysisHeight, params.analysisWidth, CV_8UC1, cv::Scalar(90));
        cv::rectangle(frame, {700, 380, 60, 60}, cv::Scalar(40), cv::FILLED);  // a still box
        if (i > 0) {
            cv::circle(frame, ballAt(i), 5, cv::Scalar(230), cv::FILLED, cv::LINE_AA);
        }
        frames.push_back(detector.detectMotion(frame, i));
    }
    return frames;
}

TEST(TrackingChain, FollowsABallInFlightFromPixelsToFeatures) {
    EngineParams params;
    params.analysisWidth = 854;
    params.analysisHeight = 480;

    const std::vector<FrameCandidates> frames = detectFlight(params);
    ASSERT_EQ(frames.size(), static_cast<size_t>(kFrames));
    const std::vector<BallDetection> tracked = runStage2(frames, params, nullptr);
    ASSERT_FALSE(tracked.empty());
    for (const BallDetection& d : tracked) {
        const cv::Point2d ball = ballAt(d.frame);
        EXPECT_NEAR(d.cx(), ball.x, 6.0) << "frame " << d.frame;
        EXPECT_NEAR(d.cy(), ball.y, 6.0) << "frame " << d.frame;
    }

    const std::vector<TrackFeatures> survivors = runStage3(tracked, params, nullptr);
    ASSERT_EQ(survivors.size(), 1u);
    const SplitResult split = runStage4(tracked, survivors, params);
    EXPECT_TRUE(split.splits.empty());
    const std::vector<TrackFeatures> records =
        runStage5(split.detections, split.changedTrackIds, params, nullptr);
    ASSERT_EQ(records.size(), 1u);
    const TrackFeatures& ball = records[0];
    EXPECT_GE(ball.Duration, kFrames - 3);
    EXPECT_GT(ball.Mean_Path_Efficiency_10, 0.9);
    EXPECT_EQ(ball.Vy_Reversals, 1);  // up, then down
    EXPECT_NEAR(ball.Peak_Relative_Time, 0.5, 0.1);
}

}  // namespace
}  // namespace rallinox
