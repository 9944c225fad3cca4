#include "engine/ball_tracker.h"

#include <map>

#include <gtest/gtest.h>

#include "engine/assignment.h"

namespace rallinox {
namespace {

// Analysis height 480: the pixel limits at 1080 lines shrink by 4/9
// (merge radius 22.2, association distance 44.4, tallest blob 133.3).
EngineParams trackingParams() {
    EngineParams params;
    params.analysisWidth = 854;
    params.analysisHeight = 480;
    return params;
}

BallCandidate blob(int x, int y, int size = 10) { return {x, y, size, size, float(size * size)}; }

// `perFrame[i]` are the blobs of analysed frame i.
std::vector<FrameCandidates> framesOf(const std::vector<std::vector<BallCandidate>>& perFrame) {
    std::vector<FrameCandidates> frames;
    for (size_t i = 0; i < perFrame.size(); ++i) {
        frames.push_back({static_cast<int>(i), perFrame[i]});
    }
    return frames;
}

std::map<int, std::vector<BallDetection>> byTrack(const std::vector<BallDetection>& detections) {
    std::map<int, std::vector<BallDetection>> tracks;
    for (const auto& d : detections) {
        tracks[d.trackId].push_back(d);
    }
    return tracks;
}

std::vector<BallDetection> track(const std::vector<std::vector<BallCandidate>>& perFrame,
                                 const EngineParams& params = trackingParams()) {
    return runStage2(framesOf(perFrame), params, nullptr);
}

// A ball at a fixed place that is seen in `present` frames and missing in the others.
std::vector<std::vector<BallCandidate>> blinkingBall(const std::vector<bool>& present) {
    std::vector<std::vector<BallCandidate>> perFrame;
    for (const bool seen : present) {
        perFrame.push_back(seen ? std::vector<BallCandidate>{blob(200, 200)}
                                : std::vector<BallCandidate>{});
    }
    return perFrame;
}

std::vector<bool> seenMissedSeen(int before, int missed, int after) {
    std::vector<bool> present(before, true);
    present.insert(present.end(), missed, false);
    present.insert(present.end(), after, true);
    return present;
}

TEST(Assignment, FindsTheCheapestPairing) {
    const std::vector<double> cost = {4, 1, 3,  //
                                      2, 0, 5,  //
                                      3, 2, 2};
    EXPECT_EQ(solveAssignment(cost, 3), (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(solveAssignment({7.0}, 1), (std::vector<int>{0}));
    EXPECT_TRUE(solveAssignment({}, 0).empty());
}

TEST(BallTracker, FollowsAMovingBallAsOneTrack) {
    std::vector<std::vector<BallCandidate>> perFrame;
    for (int i = 0; i < 20; ++i) {
        perFrame.push_back({blob(100 + 8 * i, 300 - 5 * i)});
    }
    float reported = -1.0f;
    int reports = 0;
    const auto detections = runStage2(framesOf(perFrame), trackingParams(), [&](float f) {
        reported = f;
        ++reports;
    });
    ASSERT_EQ(detections.size(), 20u);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(detections[i].trackId, 0);
        EXPECT_EQ(detections[i].frame, i);
        EXPECT_EQ(detections[i].x, 100 + 8 * i);
        EXPECT_FALSE(detections[i].interpolated);
    }
    EXPECT_EQ(reports, 1);
    EXPECT_FLOAT_EQ(reported, 1.0f);
}

TEST(BallTracker, KeepsTwoPassingBallsApart) {
    std::vector<std::vector<BallCandidate>> perFrame;
    for (int i = 0; i < 15; ++i) {
        perFrame.push_back({blob(100 + 12 * i, 200), blob(268 - 12 * i, 230)});
    }
    const auto tracks = byTrack(track(perFrame));
    ASSERT_EQ(tracks.size(), 2u);
    for (const auto& [id, points] : tracks) {
        ASSERT_EQ(points.size(), 15u);
        for (const auto& p : points) {
            EXPECT_EQ(p.y, points.front().y) << "track " << id << " swapped at frame " << p.frame;
        }
    }
}

TEST(BallTracker, IgnoresABurstFrameAndKeepsItOutOfTheAverage) {
    std::vector<std::vector<BallCandidate>> perFrame;
    for (int i = 0; i < 12; ++i) {
        std::vector<BallCandidate> blobs = {blob(100 + 10 * i, 100), blob(600, 400), blob(700, 50)};
        if (i == 6 || i == 7) {  // two flashes of 26 blobs
            for (int k = 1; k < 24; ++k) {
                blobs.push_back(blob(40 + (k % 9) * 80, 200 + (k / 9) * 60));
            }
        }
        perFrame.push_back(blobs);
    }
    const auto tracks = byTrack(track(perFrame));
    ASSERT_EQ(tracks.size(), 3u);  // the ball and the two still blobs, nothing from the flashes
    for (const auto& [id, points] : tracks) {
        EXPECT_EQ(points.size(), 10u);
        for (const auto& p : points) {
            EXPECT_TRUE(p.frame != 6 && p.frame != 7);
        }
    }
}

TEST(BallTracker, MergesUpToThreeCloseBlobsAndDropsLargerGroups) {
    const std::vector<BallCandidate> three = {blob(100, 100, 6), blob(110, 100, 6), blob(120, 104, 6)};
    std::vector<BallCandidate> four = three;
    four.push_back(blob(130, 100, 6));

    const auto merged = track(std::vector<std::vector<BallCandidate>>(6, three));
    ASSERT_EQ(merged.size(), 6u);
    EXPECT_EQ(merged[0].x, 100);
    EXPECT_EQ(merged[0].y, 100);
    EXPECT_EQ(merged[0].width, 26);
    EXPECT_EQ(merged[0].height, 10);

    EXPECT_TRUE(track(std::vector<std::vector<BallCandidate>>(6, four)).empty());
}

TEST(BallTracker, OnlyTracksWithThreePointsMayCoast) {
    // Two points, one missed frame: the track is dropped and a new one starts.
    const auto shortTrack = track(blinkingBall(seenMissedSeen(2, 1, 5)));
    ASSERT_EQ(shortTrack.size(), 5u);
    EXPECT_EQ(shortTrack[0].trackId, 1);

    // Three points survive five missed frames ...
    const auto coasting = byTrack(track(blinkingBall(seenMissedSeen(3, 5, 5))));
    ASSERT_EQ(coasting.size(), 1u);
    EXPECT_EQ(coasting.begin()->second.size(), 8u);

    // ... and are finished on the sixth (too short to be output).
    const auto finished = byTrack(track(blinkingBall(seenMissedSeen(3, 6, 5))));
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished.begin()->first, 1);
}

TEST(BallTracker, OutputsOnlyTracksOfAtLeastFivePoints) {
    EXPECT_TRUE(track(blinkingBall(std::vector<bool>(4, true))).empty());
    EXPECT_EQ(track(blinkingBall(std::vector<bool>(5, true))).size(), 5u);
}

TEST(BallTracker, NeverStartsATrackOnATallBlob) {
    const BallCandidate tall{300, 100, 30, 140, 4200.0f};
    const BallCandidate justLowEnough{500, 100, 30, 133, 3990.0f};
    const auto detections = track(std::vector<std::vector<BallCandidate>>(8, {tall, justLowEnough}));
    ASSERT_EQ(detections.size(), 8u);
    for (const auto& d : detections) {
        EXPECT_EQ(d.x, 500);
    }
}

TEST(BallTracker, GivesAnalysedFrameNumbersWithAFrameStride) {
    EngineParams params = trackingParams();
    params.frameStride = 2;
    std::vector<FrameCandidates> frames;
    for (int i = 0; i < 6; ++i) {
        frames.push_back({2 * i, {blob(100 + 5 * i, 100)}});
        frames.push_back({2 * i + 1, {}});
    }
    const auto detections = runStage2(frames, params, nullptr);
    ASSERT_EQ(detections.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(detections[i].frame, 2 * i);
    }
}

TEST(BallTracker, EmptyInputGivesNoDetections) {
    EXPECT_TRUE(runStage2({}, trackingParams(), nullptr).empty());
    EXPECT_TRUE(track(std::vector<std::vector<BallCandidate>>(10)).empty());
}

}  // namespace
}  // namespace rallinox
