#include "engine/track_splitter.h"

#include <gtest/gtest.h>

namespace rallinox {
namespace {

constexpr int kBall = 3;
constexpr int kPlayer = 7;

BallDetection box(int frame, int id, double cx, double cy, int size) {
    return {frame, id, static_cast<int>(cx - size / 2.0), static_cast<int>(cy - size / 2.0),
            size, size, false};
}

// A small ball rolling right for six points, then a large object zigzagging
// upward: the tracker swapped objects at point 5.
std::vector<BallDetection> swappedTrack(int points, int id = kBall, int firstFrame = 0) {
    std::vector<BallDetection> track;
    for (int j = 0; j < points; ++j) {
        if (j <= 5) {
            track.push_back(box(firstFrame + j, id, 105 + 3 * j, 105, 10));
        } else {
            track.push_back(box(firstFrame + j, id, 120 + ((j - 5) % 2) * 15, 105 - 15 * (j - 5), 30));
        }
    }
    return track;
}

// Another object standing next to the place of the swap.
std::vector<BallDetection> bystander(int points, int id = kPlayer) {
    std::vector<BallDetection> track;
    for (int j = 0; j < points; ++j) {
        track.push_back(box(j, id, 135, 105, 10));
    }
    return track;
}

std::vector<TrackFeatures> survivors(std::initializer_list<int> ids) {
    std::vector<TrackFeatures> records;
    for (const int id : ids) {
        TrackFeatures record;
        record.trackId = id;
        records.push_back(record);
    }
    return records;
}

std::vector<BallDetection> join(std::vector<BallDetection> a, const std::vector<BallDetection>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(TrackSplitter, CutsASwappedTrackNextToAnotherObject) {
    const auto input = join(swappedTrack(11), bystander(11));
    const SplitResult result = runStage4(input, survivors({kBall, kPlayer}), EngineParams{});

    ASSERT_EQ(result.splits.size(), 1u);
    EXPECT_EQ(result.splits[0].oldId, kBall);
    EXPECT_EQ(result.splits[0].frame, 5);
    EXPECT_DOUBLE_EQ(result.splits[0].cx, 120.0);
    EXPECT_DOUBLE_EQ(result.splits[0].cy, 105.0);
    EXPECT_EQ(result.changedTrackIds, (std::set<int>{kBall, kPlayer + 1}));

    ASSERT_EQ(result.detections.size(), 22u);
    for (int j = 0; j < 11; ++j) {
        EXPECT_EQ(result.detections[j].trackId, j < 5 ? kBall : kPlayer + 1) << "point " << j;
        EXPECT_EQ(result.detections[j].frame, j);
    }
    for (int j = 11; j < 22; ++j) {
        EXPECT_EQ(result.detections[j].trackId, kPlayer);
    }
}

TEST(TrackSplitter, LeavesTracksShorterThanTwoWindowsAndOne) {
    const SplitResult result =
        runStage4(join(swappedTrack(10), bystander(10)), survivors({kBall, kPlayer}), EngineParams{});
    EXPECT_TRUE(result.splits.empty());
    EXPECT_TRUE(result.changedTrackIds.empty());
    EXPECT_EQ(result.detections, join(swappedTrack(10), bystander(10)));
}

TEST(TrackSplitter, NeverCutsWhereNoOtherObjectIsNear) {
    const SplitResult result = runStage4(swappedTrack(11), survivors({kBall}), EngineParams{});
    EXPECT_TRUE(result.splits.empty());
    EXPECT_EQ(result.detections, swappedTrack(11));

    EngineParams cutAlone;
    cutAlone.isolatedSplitFactor = 1.0;
    EXPECT_EQ(runStage4(swappedTrack(11), survivors({kBall}), cutAlone).splits.size(), 1u);
}

TEST(TrackSplitter, UsesAtLeastThreePointsPerWindow) {
    EngineParams params;
    params.splitHalfWindow = 1;
    // 2 x 3 + 1 points would be enough for windows of three, but the cut needs six before it.
    const SplitResult result =
        runStage4(join(swappedTrack(7), bystander(7)), survivors({kBall, kPlayer}), params);
    EXPECT_TRUE(result.splits.empty());
}

TEST(TrackSplitter, KeepsOnlySurvivorsAndNumbersNewPiecesAfterTheLargestSurvivor) {
    std::vector<BallDetection> input = join(swappedTrack(11), bystander(11));
    input = join(input, swappedTrack(11, 2, 40));   // a second swap, far away in time
    input = join(input, bystander(11, 50));          // not a survivor
    const SplitResult result = runStage4(input, survivors({2, kBall, kPlayer}), EngineParams{});

    // Track 2 has nobody near, so only track 3 is cut; the new piece is 8.
    ASSERT_EQ(result.splits.size(), 1u);
    EXPECT_EQ(result.changedTrackIds, (std::set<int>{kBall, 8}));
    for (const auto& d : result.detections) {
        EXPECT_NE(d.trackId, 50);
    }
    EXPECT_EQ(result.detections.size(), 33u);
    EXPECT_EQ(result.detections.front().trackId, 2);  // grouped by ascending id
}

TEST(TrackSplitter, NoSurvivorsGiveAnEmptyResult) {
    const SplitResult result = runStage4(swappedTrack(11), {}, EngineParams{});
    EXPECT_TRUE(result.detections.empty());
    EXPECT_TRUE(result.splits.empty());
    EXPECT_TRUE(result.changedTrackIds.empty());
}

}  // namespace
}  // namespace rallinox
