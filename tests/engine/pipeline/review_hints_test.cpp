#include "engine/review_hints.h"

#include "ball_boxes.h"

#include <gtest/gtest.h>

namespace rallinox {
namespace {

std::vector<double> curve(int count, std::vector<std::pair<int, int>> playing, double level = 0.9) {
    std::vector<double> probabilities(count, 0.0);
    for (auto [first, last] : playing)
        for (int frame = first; frame <= last; ++frame) probabilities[frame] = level;
    return probabilities;
}

RallySegment rally(int start, int end, int coreStart, int coreEnd) {
    RallySegment result;
    result.start = start;
    result.end = end;
    result.coreStart = coreStart;
    result.coreEnd = coreEnd;
    return result;
}

BallDetection ballAt(int frame, int x, int y) { return ballBox(frame, 1, x, y); }

std::vector<FrameHint> ofKind(const std::vector<FrameHint>& hints, HintKind kind) {
    std::vector<FrameHint> found;
    for (const FrameHint& hint : hints)
        if (hint.kind == kind) found.push_back(hint);
    return found;
}

TEST(JoinedHint, ALongPauseBetweenEnoughPlayIsPointedAt) {
    // 3.5 s of play, a 4 s pause, 2.5 s of play.
    const std::vector<double> probabilities = curve(400, {{0, 105}, {225, 300}});
    const auto hints = buildHints(probabilities, {rally(0, 300, 0, 300)}, {}, {}, EngineParams{});
    ASSERT_EQ(hints.size(), 1u);
    EXPECT_EQ(hints[0].kind, HintKind::Joined);
    EXPECT_EQ(hints[0].startFrame, 0);
    EXPECT_EQ(hints[0].endFrame, 300);
    EXPECT_EQ(hints[0].atFrame, 165);
}

TEST(JoinedHint, NeedsEnoughPlayOnBothSidesAndALongPause) {
    const EngineParams params;
    // Only 2 s of play after the pause.
    EXPECT_TRUE(buildHints(curve(400, {{0, 105}, {240, 300}}), {rally(0, 300, 0, 300)}, {}, {}, params).empty());
    // A pause of 2.5 s.
    EXPECT_TRUE(buildHints(curve(400, {{0, 105}, {180, 300}}), {rally(0, 300, 0, 300)}, {}, {}, params).empty());
}

TEST(MissedHint, PlayThatNoRallyCoversIsReported) {
    const std::vector<double> probabilities = curve(1000, {{600, 754}});
    const auto alone = buildHints(probabilities, {}, {}, {}, EngineParams{});
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_EQ(alone[0].kind, HintKind::Missed);
    EXPECT_EQ(alone[0].startFrame, 600);
    EXPECT_EQ(alone[0].endFrame, 754);
    EXPECT_EQ(alone[0].atFrame, 0);

    const auto partly = ofKind(buildHints(probabilities, {rally(500, 700, 545, 655)}, {}, {}, EngineParams{}), HintKind::Missed);
    ASSERT_EQ(partly.size(), 1u);
    EXPECT_EQ(partly[0].startFrame, 701);
    EXPECT_EQ(partly[0].endFrame, 754);

    EXPECT_TRUE(ofKind(buildHints(probabilities, {rally(550, 800, 595, 755)}, {}, {}, EngineParams{}), HintKind::Missed)
                    .empty());
}

TEST(MissedHint, TooShortPlayIsNotReported) {
    // One second of play stays below the 1.5 s needed.
    EXPECT_TRUE(buildHints(curve(1000, {{600, 629}}), {}, {}, {}, EngineParams{}).empty());
}

TEST(MissedHint, AFastBallTrackOutsideTheRalliesIsReported) {
    std::vector<BallDetection> fast;
    for (int frame = 1050; frame < 1060; ++frame) fast.push_back(ballAt(frame, 100 + 50 * (frame - 1050), 200));
    const std::vector<double> quiet(2000, 0.0);

    const auto alone = buildHints(quiet, {}, fast, {1}, EngineParams{});
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_EQ(alone[0].startFrame, 1050 - 90);
    EXPECT_EQ(alone[0].endFrame, 1059 + 90);

    // Cut back so that it does not reach into the rallies around it.
    const auto between = buildHints(quiet, {rally(0, 1000, 45, 955), rally(1100, 1300, 1145, 1255)}, fast, {1},
                                    EngineParams{});
    const auto missed = ofKind(between, HintKind::Missed);
    ASSERT_EQ(missed.size(), 1u);
    EXPECT_EQ(missed[0].startFrame, 1001);
    EXPECT_EQ(missed[0].endFrame, 1099);

    // Starting within a second before a rally counts as covered.
    EXPECT_TRUE(ofKind(buildHints(quiet, {rally(1070, 1300, 1115, 1255)}, fast, {1}, EngineParams{}), HintKind::Missed)
                    .empty());
    // Not a ball track.
    EXPECT_TRUE(buildHints(quiet, {}, fast, {2}, EngineParams{}).empty());
}

TEST(MissedHint, ASlowBallTrackIsNotReported) {
    std::vector<BallDetection> slow;
    for (int frame = 1050; frame < 1060; ++frame) slow.push_back(ballAt(frame, 100 + 2 * (frame - 1050), 200));
    EXPECT_TRUE(buildHints(std::vector<double>(2000, 0.0), {}, slow, {1}, EngineParams{}).empty());
}

TEST(DoubtfulHint, LittlePlayAndAStillBallMakeARallyDoubtful) {
    const std::vector<double> probabilities = curve(400, {{100, 160}}, 0.6);  // 2 s at 0.6
    const RallySegment shortPlay = rally(55, 205, 100, 160);
    const auto hints = buildHints(probabilities, {shortPlay}, {}, {}, EngineParams{});
    ASSERT_EQ(hints.size(), 1u);
    EXPECT_EQ(hints[0].kind, HintKind::Doubtful);
    EXPECT_EQ(hints[0].startFrame, 55);
    EXPECT_EQ(hints[0].endFrame, 205);

    // The ball crossing most of the picture makes it convincing.
    const std::vector<BallDetection> crossing{ballAt(110, 100, 200), ballAt(150, 700, 200)};
    EXPECT_TRUE(buildHints(probabilities, {shortPlay}, crossing, {1}, EngineParams{}).empty());
    // So does a confident model.
    EXPECT_TRUE(buildHints(curve(400, {{100, 160}}, 0.9), {shortPlay}, {}, {}, EngineParams{}).empty());
}

TEST(Hints, SuspiciousSegmentsAreNotRallies) {
    RallySegment marked = rally(500, 800, 545, 755);
    marked.suspicious = true;
    const auto hints = buildHints(curve(1000, {{600, 754}}), {marked}, {}, {}, EngineParams{});
    ASSERT_EQ(hints.size(), 1u);
    EXPECT_EQ(hints[0].kind, HintKind::Missed);
}

}  // namespace
}  // namespace rallinox
