#include "engine/track_improvement.h"

#include "ball_boxes.h"

#include <gtest/gtest.h>

namespace rallinox {
namespace {

EngineParams pictureParams() {
    EngineParams params;
    params.analysisWidth = 854;
    params.analysisHeight = 480;
    return params;
}

// A moving track in the middle of the picture, away from every edge.
TrackFeatures trackRecord(int id, int startFrame, int endFrame) {
    TrackFeatures track;
    track.trackId = id;
    track.startFrame = startFrame;
    track.endFrame = endFrame;
    track.Duration = endFrame - startFrame + 1;
    track.Start_X = track.End_X = 0.5;
    track.Start_Y = track.End_Y = 0.5;
    track.Max_X_Displacement = 0.3;
    track.Max_Y_Displacement = 0.2;
    return track;
}

BallDetection box(int frame, int trackId, int x, int y) { return ballBox(frame, trackId, x, y, 10, 12); }

int interpolatedCount(const std::vector<BallDetection>& detections) {
    int count = 0;
    for (const BallDetection& detection : detections) count += detection.interpolated ? 1 : 0;
    return count;
}

struct Stage7 {
    std::vector<TrackFeatures> tracks;
    std::map<int, double> probability;
    std::set<int> ballIds;

    void add(const TrackFeatures& track, double p) {
        tracks.push_back(track);
        probability[track.trackId] = p;
        if (p >= 0.5) ballIds.insert(track.trackId);
    }
    std::vector<BallDetection> run(const std::vector<BallDetection>& detections) {
        return runStage7(detections, tracks, probability, ballIds, pictureParams());
    }
};

TEST(GapFilling, BridgesUpToTwentyFramesWithInterpolatedBoxes) {
    Stage7 stage;
    stage.add(trackRecord(1, 0, 40), 0.9);
    const std::vector<BallDetection> out = stage.run({box(0, 1, 400, 200), box(20, 1, 420, 240)});
    ASSERT_EQ(out.size(), 21u);
    EXPECT_EQ(interpolatedCount(out), 19);
    for (int frame = 0; frame <= 20; ++frame) EXPECT_EQ(out[frame].frame, frame);
    EXPECT_EQ(out[5].x, 405);
    EXPECT_EQ(out[5].y, 210);
    EXPECT_EQ(out[5].trackId, 1);
    EXPECT_FALSE(out[0].interpolated);
    EXPECT_FALSE(out[20].interpolated);
}

TEST(GapFilling, LeavesLongerAndSingleFrameGapsAlone) {
    Stage7 stage;
    stage.add(trackRecord(1, 0, 40), 0.9);
    EXPECT_EQ(interpolatedCount(stage.run({box(0, 1, 400, 200), box(21, 1, 420, 240)})), 0);
    EXPECT_EQ(interpolatedCount(stage.run({box(0, 1, 400, 200), box(1, 1, 420, 240)})), 0);
}

TEST(GapFilling, NeverStartsOrEndsAtABoxNearThePictureEdge) {
    Stage7 stage;
    stage.add(trackRecord(1, 0, 40), 0.9);
    // Centre x 15 lies within 5 % of the 854-pixel width.
    EXPECT_EQ(interpolatedCount(stage.run({box(0, 1, 10, 200), box(10, 1, 400, 200)})), 0);
    EXPECT_EQ(interpolatedCount(stage.run({box(0, 1, 400, 200), box(10, 1, 400, 460)})), 0);
}

TEST(GapFilling, BridgesBetweenDifferentBallTracksButNotOtherTracks) {
    Stage7 stage;
    stage.add(trackRecord(1, 0, 40), 0.9);
    stage.add(trackRecord(2, 5, 45), 0.8);
    stage.add(trackRecord(3, 0, 45), 0.1);
    const auto out = stage.run({box(0, 1, 400, 200), box(4, 2, 404, 200), box(1, 3, 100, 100), box(9, 3, 100, 100)});
    EXPECT_EQ(interpolatedCount(out), 3);
    for (const BallDetection& detection : out) {
        if (detection.interpolated) {
            EXPECT_EQ(detection.trackId, 1);
        }
    }
}

TEST(GapFilling, WithoutBallTracksTheDetectionsPassUnchanged) {
    Stage7 stage;
    stage.add(trackRecord(1, 0, 40), 0.2);
    const std::vector<BallDetection> in{box(20, 1, 400, 200), box(0, 1, 420, 240)};
    const auto out = stage.run(in);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].frame, 20);  // not even reordered
    EXPECT_TRUE(stage.ballIds.empty());
}

TEST(Pruning, RemovesAnIsolatedShortTrackUnlessItTouchesTheEdge) {
    Stage7 stage;
    stage.add(trackRecord(1, 0, 9), 0.9);
    stage.add(trackRecord(2, 99, 200), 0.9);
    stage.run({});
    EXPECT_FALSE(stage.ballIds.count(1));
    EXPECT_TRUE(stage.ballIds.count(2));

    Stage7 atEdge;
    TrackFeatures edgeTrack = trackRecord(1, 0, 9);
    edgeTrack.End_X = 0.97;
    atEdge.add(edgeTrack, 0.9);
    atEdge.add(trackRecord(2, 99, 200), 0.9);
    atEdge.run({});
    EXPECT_TRUE(atEdge.ballIds.count(1));
}

TEST(Pruning, KeepsAShortTrackCloseInTimeToAnotherBallTrack) {
    Stage7 near;
    near.add(trackRecord(1, 0, 9), 0.9);
    near.add(trackRecord(2, 98, 200), 0.9);  // 89 frames after the end of track 1
    near.run({});
    EXPECT_TRUE(near.ballIds.count(1));

    // A short track during a long one is not isolated in time either.
    Stage7 during;
    during.add(trackRecord(1, 500, 509), 0.9);
    during.add(trackRecord(2, 0, 1000), 0.9);
    during.run({});
    EXPECT_TRUE(during.ballIds.count(1));
}

TEST(Pruning, RemovesTheWeakerTwinOnlyBelowTheOverlapProbability) {
    for (double weaker : {0.54, 0.56}) {
        Stage7 stage;
        stage.add(trackRecord(1, 0, 99), weaker);
        stage.add(trackRecord(2, 20, 119), 0.9);  // shares 80 of 100 frames
        stage.run({});
        EXPECT_EQ(stage.ballIds.count(1), weaker < 0.55 ? 0u : 1u) << weaker;
        EXPECT_TRUE(stage.ballIds.count(2));
    }
}

TEST(Pruning, RemovesStaticObjectsAndTracksWithoutRecordOrProbability) {
    Stage7 stage;
    TrackFeatures still = trackRecord(1, 0, 99);
    still.Max_X_Displacement = 0.01;  // 8.5 pixels
    still.Max_Y_Displacement = 0.01;
    stage.add(still, 0.6);
    TrackFeatures stillButSure = still;
    stillButSure.trackId = 2;
    stage.add(stillButSure, 0.9);
    stage.ballIds.insert(7);  // no record
    stage.ballIds.insert(8);  // no probability
    stage.tracks.push_back(trackRecord(8, 0, 99));
    stage.run({});
    EXPECT_EQ(stage.ballIds, (std::set<int>{2}));
}

TEST(Rescue, AddsTheMostLikelyTrackThatBridgesTheGap) {
    auto withCandidates = [](std::vector<std::pair<TrackFeatures, double>> candidates) {
        Stage7 stage;
        stage.add(trackRecord(1, 0, 99), 0.9);
        stage.add(trackRecord(2, 150, 249), 0.9);
        for (auto& [track, p] : candidates) stage.add(track, p);
        stage.run({});
        return stage.ballIds;
    };
    EXPECT_EQ(withCandidates({{trackRecord(3, 100, 140), 0.46}}), (std::set<int>{1, 2, 3}));
    EXPECT_EQ(withCandidates({{trackRecord(3, 100, 140), 0.46}, {trackRecord(4, 96, 150), 0.48}}),
              (std::set<int>{1, 2, 4}));
    EXPECT_EQ(withCandidates({{trackRecord(3, 100, 140), 0.44}}), (std::set<int>{1, 2}));
    // Outside the gap by more than 5 frames.
    EXPECT_EQ(withCandidates({{trackRecord(3, 93, 140), 0.46}}), (std::set<int>{1, 2}));
}

TEST(Rescue, IgnoresATrackFarFromWhereTheBallWas) {
    Stage7 stage;
    stage.add(trackRecord(1, 0, 99), 0.9);
    stage.add(trackRecord(2, 150, 249), 0.9);
    TrackFeatures far = trackRecord(3, 100, 140);
    far.Start_X = 0.9;  // about 340 pixels away; the limit is 150 x 480 / 1080
    stage.add(far, 0.46);
    stage.run({});
    EXPECT_FALSE(stage.ballIds.count(3));
}

}  // namespace
}  // namespace rallinox
