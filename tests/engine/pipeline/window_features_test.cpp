#include "engine/window_features.h"

#include "ball_boxes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace rallinox {
namespace {

constexpr double kFps = 30.0;
const double kDiagonal = std::hypot(1920.0, 1080.0);

EngineParams videoParams() {
    EngineParams params;
    params.videoWidth = 1920;
    params.videoHeight = 1080;
    params.analysisFps = kFps;
    return params;
}

// A 10 x 10 ball box centred on (cx, cy).
BallDetection ballAt(int frame, double cx, double cy, int trackId = 1) {
    return ballBox(frame, trackId, static_cast<int>(cx) - 5, static_cast<int>(cy) - 5);
}

std::vector<BallDetection> ballFrames(int first, int last) {
    std::vector<BallDetection> detections;
    for (int frame = first; frame <= last; ++frame) detections.push_back(ballAt(frame, 400, 200));
    return detections;
}

std::vector<WindowFeatures> windows(const std::vector<BallDetection>& detections, int count) {
    return computeWindowFeatures(detections, {1}, count, 5, videoParams());
}

TEST(WindowFeatures, OneRecordPerWindowStart) {
    const auto records = windows({}, 12);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].frame, 0);
    EXPECT_EQ(records[1].frame, 5);
    EXPECT_EQ(records[2].frame, 10);
    EXPECT_TRUE(windows({}, 0).empty());
}

TEST(WindowFeatures, WithoutABallEveryRecordSaysSo) {
    // A track that is not a ball track counts for nothing.
    for (const WindowFeatures& record : windows({ballAt(3, 100, 100, 2), ballAt(4, 110, 100, 2)}, 40)) {
        EXPECT_EQ(record.Is_Ball_Active, 0);
        EXPECT_EQ(record.Inside_Run, 0);
        EXPECT_EQ(record.Current_Run_Duration, 0);
        EXPECT_EQ(record.Time_Since_Prev_Run, -1);
        EXPECT_EQ(record.Time_To_Next_Run, -1);
        EXPECT_EQ(record.Gap_Duration, -1);
        EXPECT_EQ(record.Gap_Distance, -1);
        EXPECT_EQ(record.Run_Start_X, -1);
        EXPECT_EQ(record.Run_Start_Y, -1);
        EXPECT_EQ(record.Run_Start_Vx, 0);
        EXPECT_EQ(record.Run_Start_Vy, 0);
        EXPECT_EQ(record.Run_Start_Upward, -1);
        EXPECT_EQ(record.Window2s_Ball_Ratio, 0);
        EXPECT_EQ(record.Window2s_Max_Speed, 0);
        EXPECT_EQ(record.Window2s_Mean_Y, 0);
        EXPECT_EQ(record.Window2s_Max_Y_Disp, 0);
    }
}

TEST(WindowFeatures, FifteenEmptyFramesStayInsideOneRunSixteenSplitIt) {
    std::vector<BallDetection> joined = ballFrames(0, 9);
    for (const BallDetection& detection : ballFrames(25, 34)) joined.push_back(detection);
    const WindowFeatures inGap = windows(joined, 40)[2];  // frame 10
    EXPECT_EQ(inGap.Is_Ball_Active, 0);
    EXPECT_EQ(inGap.Inside_Run, 1);
    EXPECT_DOUBLE_EQ(inGap.Current_Run_Duration, 34 / kFps);
    EXPECT_DOUBLE_EQ(inGap.Frames_Since_Run_Start, 10 / kFps);
    EXPECT_DOUBLE_EQ(inGap.Frames_To_Run_End, 24 / kFps);

    std::vector<BallDetection> split = ballFrames(0, 9);
    for (const BallDetection& detection : ballFrames(26, 35)) split.push_back(detection);
    const WindowFeatures between = windows(split, 40)[2];
    EXPECT_EQ(between.Inside_Run, 0);
    EXPECT_DOUBLE_EQ(between.Time_Since_Prev_Run, 1 / kFps);
    EXPECT_DOUBLE_EQ(between.Time_To_Next_Run, 16 / kFps);
    EXPECT_DOUBLE_EQ(between.Gap_Duration, 17 / kFps);
    EXPECT_DOUBLE_EQ(between.Gap_Distance, 0);
    // Between two runs the next run is the reference.
    EXPECT_DOUBLE_EQ(between.Run_Start_X, 400 / 1920.0);
}

TEST(WindowFeatures, AfterTheLastRunItsStartIsTheReference) {
    std::vector<BallDetection> detections;
    for (int frame = 0; frame <= 3; ++frame) detections.push_back(ballAt(frame, 300 + 4 * frame, 200));
    const auto records = windows(detections, 12);
    EXPECT_EQ(records[0].Inside_Run, 1);
    EXPECT_EQ(records[1].Inside_Run, 0);
    EXPECT_DOUBLE_EQ(records[1].Time_Since_Prev_Run, 2 / kFps);
    EXPECT_EQ(records[1].Time_To_Next_Run, -1);
    EXPECT_EQ(records[1].Gap_Duration, -1);
    EXPECT_DOUBLE_EQ(records[1].Run_Start_X, 300 / 1920.0);
    EXPECT_DOUBLE_EQ(records[1].Run_Start_Y, 200 / 1080.0);
    // Velocities 0 (first frame), 4, 4, 4 pixels per frame.
    EXPECT_DOUBLE_EQ(records[1].Run_Start_Vx, 3.0 * kFps / kDiagonal);
    EXPECT_EQ(records[1].Run_Start_Upward, 0);
}

TEST(WindowFeatures, ARunThatStartsUpwardIsMarked) {
    std::vector<BallDetection> detections;
    for (int frame = 10; frame <= 30; ++frame) detections.push_back(ballAt(frame, 400, 400 - 2 * (frame - 10)));
    const WindowFeatures record = windows(detections, 40)[2];  // frame 10
    EXPECT_EQ(record.Run_Start_Upward, 1);
    EXPECT_LT(record.Run_Start_Vy, 0);
    EXPECT_GT(record.Window2s_Max_Y_Disp, 0);
    EXPECT_EQ(windows(detections, 40)[0].Run_Start_Upward, -1);  // before the first run
}

TEST(WindowFeatures, TwoSecondWindowDescribesTheBallMovement) {
    std::vector<BallDetection> detections;
    for (int frame = 0; frame <= 60; ++frame) detections.push_back(ballAt(frame, 100 + 3 * frame, 300));
    const WindowFeatures record = windows(detections, 100)[6];  // frame 30: window 0..60
    EXPECT_DOUBLE_EQ(record.Window2s_Ball_Ratio, 1.0);
    EXPECT_NEAR(record.Window2s_Mean_Speed, 3 * kFps / kDiagonal, 1e-12);
    EXPECT_NEAR(record.Window2s_Max_Speed, 3 * kFps / kDiagonal, 1e-12);
    EXPECT_NEAR(record.Window2s_Std_Speed, 0, 1e-12);
    EXPECT_DOUBLE_EQ(record.Window2s_Mean_Y, 300 / 1080.0);
    EXPECT_DOUBLE_EQ(record.Window2s_Std_Y, 0);
    EXPECT_GT(record.Window2s_Std_X, 0);
    const WindowFeatures later = windows(detections, 100)[12];  // frame 60: window 30..90
    EXPECT_DOUBLE_EQ(later.Window2s_Ball_Ratio, 31 / 61.0);
}

TEST(WindowFeatures, FollowsTheBallAlreadyChosenWhenSeveralShareAFrame) {
    // First frame: the higher box; then the box nearer the last chosen centre.
    const std::vector<BallDetection> detections{ballAt(0, 100, 500), ballAt(0, 700, 200, 2), ballAt(1, 110, 500),
                                                ballAt(1, 690, 210, 2)};
    const WindowFeatures record = computeWindowFeatures(detections, {1, 2}, 5, 5, videoParams())[0];
    EXPECT_DOUBLE_EQ(record.Run_Start_X, 700 / 1920.0);
    EXPECT_DOUBLE_EQ(record.Run_Start_Vx, (-10.0 / 2) * kFps / kDiagonal);
}

}  // namespace
}  // namespace rallinox
