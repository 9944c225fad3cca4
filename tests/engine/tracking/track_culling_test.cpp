#include "engine/track_culling.h"

#include <gtest/gtest.h>

namespace rallinox {
namespace {

// A 10-pixel ball seen for `count` frames: x drifts by `vx` per frame and y
// follows a parabola with `a` pixels per frame squared around the middle frame.
std::vector<TrackPoint> flight(int count, double vx, double a, double y0 = 300.0) {
    std::vector<TrackPoint> points;
    const double middle = (count - 1) / 2.0;
    for (int f = 0; f < count; ++f) {
        const double t = f - middle;
        const double cx = 200.0 + vx * f;
        const double cy = y0 + a * t * t;
        points.push_back({f, static_cast<int>(cx - 5), static_cast<int>(cy - 5), 10, 10, cx, cy});
    }
    return points;
}

std::vector<BallDetection> detectionsOf(const std::vector<TrackPoint>& points, int id) {
    std::vector<BallDetection> detections;
    for (const auto& p : points) {
        detections.push_back({p.frame, id, p.x, p.y, p.width, p.height, false});
    }
    return detections;
}

BallScoreEvidence lowStillTrack() {
    BallScoreEvidence e;
    e.duration = 30;
    e.highestCy = 300.0;
    e.frameHeight = 540.0;
    e.meanAboveRatio = 0.5;
    e.pathEfficiency = 1.0;
    e.extentX = 0.0;
    e.extentY = 0.0;
    e.largestExtentX = 200.0;
    e.largestExtentY = 200.0;
    return e;
}

TEST(BallScoreGate, KeepsTracksHighInThePictureOrWithFewObjectsAbove) {
    BallScoreEvidence e = lowStillTrack();
    EXPECT_FALSE(passesBallScoreGate(e, EngineParams{}));
    e.highestCy = 53.9;  // top tenth of 540
    EXPECT_TRUE(passesBallScoreGate(e, EngineParams{}));
    e.highestCy = 54.0;
    EXPECT_FALSE(passesBallScoreGate(e, EngineParams{}));
    e.meanAboveRatio = 0.19;
    EXPECT_TRUE(passesBallScoreGate(e, EngineParams{}));
    e.duration = 0;
    EXPECT_FALSE(passesBallScoreGate(e, EngineParams{}));
}

TEST(BallScoreGate, WeighsExtentAgainstTheTracksAroundIt) {
    BallScoreEvidence e = lowStillTrack();
    // R = 0.2: 2.5 x 0.2 + 0.3 x 1 + 1.5 x 0.2 = 1.1
    e.extentX = e.extentY = 40.0;
    EXPECT_FALSE(passesBallScoreGate(e, EngineParams{}));
    // R = 0.4: 1.0 + 0.3 + 0.6 = 1.9
    e.extentX = e.extentY = 80.0;
    EXPECT_TRUE(passesBallScoreGate(e, EngineParams{}));
    // The same track among tracks twice as wide drops to R = 0.2.
    e.largestExtentX = e.largestExtentY = 400.0;
    EXPECT_FALSE(passesBallScoreGate(e, EngineParams{}));
    // A long track scores on its duration alone: 0.3 x 150 / 30.
    e.duration = 150;
    EXPECT_TRUE(passesBallScoreGate(e, EngineParams{}));
}

TEST(FlightGate, AcceptsABallArcUnderPlausibleGravity) {
    // Gravity 2 x 0.1 / 10 = 0.02 diameters per frame squared; travel below 4 diameters.
    EXPECT_TRUE(passesFlightGate(flight(11, 3.0, 0.1), EngineParams{}));
}

TEST(FlightGate, RefusesShortOrImplausibleArcs) {
    EXPECT_FALSE(passesFlightGate(flight(7, 3.0, 0.1), EngineParams{}));   // below 8 points
    EXPECT_FALSE(passesFlightGate(flight(11, 3.0, -0.1), EngineParams{}));  // falls upward
    EXPECT_FALSE(passesFlightGate(flight(11, 1.0, 0.5), EngineParams{}));   // gravity 0.1
    EXPECT_FALSE(passesFlightGate(flight(11, 0.0, 0.0), EngineParams{}));   // standing still

    std::vector<TrackPoint> jitter = flight(11, 3.0, 0.1);
    for (size_t i = 0; i < jitter.size(); i += 2) {
        jitter[i].cy += 8.0;
    }
    EXPECT_FALSE(passesFlightGate(jitter, EngineParams{}));
}

TEST(FlightGate, ScalesGravityWithTheFrameRate) {
    EngineParams sixty;
    sixty.analysisFps = 60.0;  // 0.02 becomes 0.08, still inside
    EXPECT_TRUE(passesFlightGate(flight(11, 3.0, 0.1), sixty));
    sixty.analysisFps = 70.0;
    EXPECT_FALSE(passesFlightGate(flight(11, 3.0, 0.1), sixty));
}

TEST(FlightGate, AcceptsAnyTrackThatTravelsFourDiameters) {
    EXPECT_TRUE(passesFlightGate(flight(3, 20.0, 0.0), EngineParams{}));   // 40 pixels
    EXPECT_FALSE(passesFlightGate(flight(3, 19.0, 0.0), EngineParams{}));  // 38 pixels
}

TEST(Stage3, KeepsAFlyingBallAndDropsAStillBlobBelowIt) {
    std::vector<BallDetection> detections = detectionsOf(flight(30, 15.0, 0.3, 100.0), 1);
    for (int f = 0; f < 30; ++f) {
        detections.push_back({f, 2, 600, 450, 12, 12, false});
    }
    int reports = 0;
    const auto survivors = runStage3(detections, EngineParams{}, [&](float f) {
        EXPECT_FLOAT_EQ(f, 1.0f);
        ++reports;
    });
    EXPECT_EQ(reports, 1);
    ASSERT_EQ(survivors.size(), 1u);
    EXPECT_EQ(survivors[0].trackId, 1);
    EXPECT_EQ(survivors[0].Duration, 30);
    EXPECT_EQ(survivors[0].startFrame, 0);
    EXPECT_EQ(survivors[0].endFrame, 29);
    EXPECT_DOUBLE_EQ(survivors[0].Mean_Speed, 0.0);  // survivor records carry no features
}

TEST(Stage5, WithoutChangedTracksDescribesEveryTrack) {
    std::vector<BallDetection> detections = detectionsOf(flight(5, 0.0, 0.0), 1);
    const auto still = detectionsOf(flight(3, 0.0, 0.0, 400.0), 2);
    detections.insert(detections.end(), still.begin(), still.end());
    const auto records = runStage5(detections, {}, EngineParams{}, nullptr);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].Duration, 3);
    EXPECT_DOUBLE_EQ(records[0].Mean_Dist_To_1st, 20.0 * 2 / 5 + 10.0 * 3 / 5);
}

TEST(Stage5, GatesOnlyTheChangedTracks) {
    std::vector<BallDetection> detections = detectionsOf(flight(11, 0.0, 0.0), 1);  // still, unchanged
    const auto stillChanged = detectionsOf(flight(11, 0.0, 0.0, 100.0), 2);
    const auto arcChanged = detectionsOf(flight(11, 3.0, 0.1, 450.0), 3);
    detections.insert(detections.end(), stillChanged.begin(), stillChanged.end());
    detections.insert(detections.end(), arcChanged.begin(), arcChanged.end());

    int reports = 0;
    const auto records = runStage5(detections, {2, 3}, EngineParams{}, [&](float) { ++reports; });
    EXPECT_EQ(reports, 1);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].trackId, 1);
    EXPECT_EQ(records[1].trackId, 3);
    EXPECT_GT(records[1].Mean_Speed, 0.0);  // a full record
}

TEST(Stage5, NothingLeftGivesNoRecords) {
    const auto records =
        runStage5(detectionsOf(flight(11, 0.0, 0.0), 4), {4}, EngineParams{}, nullptr);
    EXPECT_TRUE(records.empty());
}

}  // namespace
}  // namespace rallinox
