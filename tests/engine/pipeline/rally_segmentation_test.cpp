#include "engine/rally_segmentation.h"

#include "ball_boxes.h"

#include <gtest/gtest.h>

namespace rallinox {
namespace {

// Paddings of 1.5 s are 45 frames at the default 30 analysed frames per second.
constexpr int kPad = 45;

std::vector<double> curve(int count, std::vector<std::pair<int, int>> playing) {
    std::vector<double> probabilities(count, 0.1);
    for (auto [first, last] : playing)
        for (int frame = first; frame <= last; ++frame) probabilities[frame] = 0.9;
    return probabilities;
}

RallySegment segment(int start, int end, bool suspicious = false) {
    RallySegment result;
    result.start = start;
    result.end = end;
    result.coreStart = start + kPad;
    result.coreEnd = end - kPad;
    result.suspicious = suspicious;
    return result;
}

// A ball track crossing the picture between two frames.
std::vector<BallDetection> flight(int trackId, int first, int last) {
    std::vector<BallDetection> boxes;
    for (int frame = first; frame <= last; ++frame) boxes.push_back(ballBox(frame, trackId, 100 + 5 * (frame - first), 200));
    return boxes;
}

TEST(Segmentation, ShortPausesAreClosed) {
    const auto segments = segmentRallies({0.6, 0.6, 0.4, 0.6}, {}, {}, EngineParams{});
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_EQ(segments[0].coreStart, 0);
    EXPECT_EQ(segments[0].coreEnd, 3);
    EXPECT_TRUE(segments[0].merged);
}

TEST(Segmentation, PaddingsAreAddedAndClippedToTheFrames) {
    const auto segments = segmentRallies(curve(200, {{100, 199}}), {}, {}, EngineParams{});
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_EQ(segments[0].start, 100 - kPad);
    EXPECT_EQ(segments[0].end, 199);
    EXPECT_EQ(segments[0].coreEnd, 199);
    EXPECT_DOUBLE_EQ(segments[0].startPadSec, 1.5);
    EXPECT_FALSE(segments[0].suspicious);

    const auto early = segmentRallies(curve(400, {{10, 100}}), {}, {}, EngineParams{});
    EXPECT_EQ(early[0].start, 0);
    EXPECT_EQ(early[0].end, 100 + kPad);
}

TEST(Segmentation, PausesOfThirtyFramesSeparateRallies) {
    EXPECT_EQ(segmentRallies(curve(600, {{0, 99}, {130, 299}}), {}, {}, EngineParams{}).size(), 2u);
    EXPECT_EQ(segmentRallies(curve(600, {{0, 99}, {129, 299}}), {}, {}, EngineParams{}).size(), 1u);
}

TEST(Segmentation, AShortCoreIsSuspiciousAndDroppedWithoutABallTrack) {
    EngineParams params;
    const auto segments = segmentRallies(curve(300, {{100, 136}}), {}, {}, params);  // 1.2 s
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_TRUE(segments[0].suspicious);
    EXPECT_TRUE(refineRallies(segments, {}, {}, {}, params).empty());

    // A weak ball track does not confirm it either.
    EXPECT_TRUE(refineRallies(segments, flight(4, 100, 136), {4}, {{4, 0.3}}, params).empty());
}

TEST(Refinement, AConvincingBallTrackConfirmsASuspiciousSegment) {
    EngineParams params;
    params.minRallySec = 1.0;  // the padded segment lasts 4.2 s
    const auto segments = segmentRallies(curve(300, {{100, 136}}), {}, {}, params);
    const auto rallies = refineRallies(segments, flight(4, 100, 136), {4}, {{4, 0.9}}, params);
    ASSERT_EQ(rallies.size(), 1u);
    EXPECT_FALSE(rallies[0].suspicious);
    // The same track barely moving is not convincing.
    std::vector<BallDetection> still;
    for (int frame = 100; frame <= 136; ++frame) still.push_back(ballBox(frame, 4, 300, 200));
    EXPECT_TRUE(refineRallies(segments, still, {4}, {{4, 0.9}}, params).empty());
}

TEST(Refinement, ASuspiciousSegmentTooSoonAfterARallyIsDropped) {
    EngineParams params;
    const std::vector<RallySegment> soon{segment(0, 300), segment(300 + 90, 300 + 90 + 150, true)};  // 3 s later
    EXPECT_EQ(refineRallies(soon, flight(4, 400, 500), {4}, {{4, 0.9}}, params).size(), 1u);
    const std::vector<RallySegment> later{segment(0, 300), segment(300 + 270, 300 + 270 + 150, true)};  // 9 s later
    EXPECT_EQ(refineRallies(later, flight(4, 580, 680), {4}, {{4, 0.9}}, params).size(), 2u);
}

TEST(Refinement, RalliesCloserThanTwoSecondsAreJoined) {
    EngineParams params;
    const auto joined = refineRallies({segment(0, 300), segment(357, 600)}, {}, {}, {}, params);  // 1.9 s
    ASSERT_EQ(joined.size(), 1u);
    EXPECT_EQ(joined[0].start, 0);
    EXPECT_EQ(joined[0].end, 600);
    EXPECT_TRUE(joined[0].merged);
    EXPECT_EQ(refineRallies({segment(0, 300), segment(363, 600)}, {}, {}, {}, params).size(), 2u);  // 2.1 s
}

TEST(Refinement, ShortRalliesAreDiscardedWithAnInformationLine) {
    EngineParams params;  // 1.5 s minimum plus paddings of 1.5 s and 1.5 s
    testing::internal::CaptureStdout();
    const auto rallies = refineRallies({segment(0, 132), segment(1000, 1135)}, {}, {}, {}, params);
    const std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_EQ(rallies.size(), 1u);
    EXPECT_EQ(rallies[0].start, 1000);
    EXPECT_EQ(printed, "[INFO] Stage 11: Discarding rally (total duration 4.4s < 4.5s threshold)\n");
}

TEST(Segmentation, AWarmUpWithSeveralBallsIsDroppedUnlessConfirmed) {
    EngineParams params;
    const std::vector<double> probabilities = curve(3000, {{100, 2800}});  // 90 s of play
    std::vector<BallDetection> balls;
    for (int frame = 200; frame < 300; ++frame) {
        balls.push_back(ballBox(frame, 1, 300, 100));
        if (frame < 240) balls.push_back(ballBox(frame, 2, 600, 100));  // two balls in 40 % of the ball frames
    }
    const auto warmup = segmentRallies(probabilities, balls, {1, 2}, params);
    ASSERT_EQ(warmup.size(), 1u);
    EXPECT_TRUE(warmup[0].suspicious);
    EXPECT_TRUE(refineRallies(warmup, balls, {1, 2}, {{1, 0.9}, {2, 0.9}}, params).empty());

    balls.resize(0);
    for (int frame = 200; frame < 300; ++frame) {
        balls.push_back(ballBox(frame, 1, 300, 100));
        if (frame < 220) balls.push_back(ballBox(frame, 2, 600, 100));  // 20 %
    }
    EXPECT_FALSE(segmentRallies(probabilities, balls, {1, 2}, params)[0].suspicious);
}

}  // namespace
}  // namespace rallinox
