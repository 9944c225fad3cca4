#include "engine/track_features.h"

#include <cmath>

#include <gtest/gtest.h>

namespace rallinox {
namespace {

BallDetection box(int frame, int id, int x, int y, int size = 10) {
    return {frame, id, x, y, size, size, false};
}

// The picture corners, seen by a still object, fix the estimated picture size
// (960 x 540) without coming near the tracks under test.
std::vector<BallDetection> withPictureCorner(std::vector<BallDetection> detections) {
    for (int f = 0; f < 3; ++f) {
        detections.push_back(box(1000 + f, 99, 950, 530));
    }
    return detections;
}

const TrackFeatures* recordOf(const std::vector<TrackFeatures>& records, int id) {
    for (const auto& r : records) {
        if (r.trackId == id) {
            return &r;
        }
    }
    return nullptr;
}

std::vector<TrackFeatures> full(const std::vector<BallDetection>& detections,
                                const EngineParams& params = EngineParams{}) {
    return extractTrackFeatures(detections, FeatureMode::FullFeatures, params);
}

TEST(TrackFeatures, TracksOfTwoPointsHaveNoRecordInAnyMode) {
    const std::vector<BallDetection> adjacent = {box(0, 1, 100, 100), box(1, 1, 104, 100)};
    for (const auto mode : {FeatureMode::FullFeatures, FeatureMode::CullByBallScore,
                            FeatureMode::CullByFlight}) {
        EXPECT_TRUE(extractTrackFeatures(adjacent, mode, EngineParams{}).empty());
    }
    EXPECT_TRUE(extractTrackFeatures({}, FeatureMode::FullFeatures, EngineParams{}).empty());
}

TEST(TrackFeatures, FillsGapsBeforeCountingPoints) {
    const auto records = full({box(10, 4, 100, 100), box(11, 4, 110, 100), box(15, 4, 150, 100)});
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].trackId, 4);
    EXPECT_EQ(records[0].Duration, 6);
    EXPECT_EQ(records[0].startFrame, 10);
    EXPECT_EQ(records[0].endFrame, 15);
    EXPECT_DOUBLE_EQ(records[0].Interpolation_Ratio, 0.5);
    EXPECT_DOUBLE_EQ(records[0].Mean_Path_Efficiency_10, 1.0);
}

TEST(TrackFeatures, CountsTrackFramesWithTheFrameStride) {
    EngineParams params;
    params.frameStride = 2;
    const auto records = full({box(20, 4, 100, 100), box(22, 4, 110, 100), box(30, 4, 150, 100)}, params);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].Duration, 6);
    EXPECT_EQ(records[0].startFrame, 20);
    EXPECT_EQ(records[0].endFrame, 30);
}

TEST(TrackFeatures, AStraightEvenTrackIsPerfectlyEfficientAndSmooth) {
    std::vector<BallDetection> detections;
    for (int f = 0; f < 25; ++f) {
        detections.push_back(box(f, 1, 100 + 12 * f, 400 - 8 * f));
    }
    const auto records = full(withPictureCorner(detections));
    const TrackFeatures* r = recordOf(records, 1);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->Duration, 25);
    EXPECT_NEAR(r->Mean_Path_Efficiency_10, 1.0, 1e-12);
    EXPECT_NEAR(r->Std_Path_Efficiency_10, 0.0, 1e-12);
    EXPECT_EQ(r->Heading_Spikes, 0);
    EXPECT_NEAR(r->Cumulative_Angular_Change, 0.0, 1e-12);
    EXPECT_NEAR(r->Std_Speed, 0.0, 1e-12);
    EXPECT_NEAR(r->Max_Accel, 0.0, 1e-12);
    EXPECT_EQ(r->Vx_Reversals, 0);
    EXPECT_EQ(r->Vy_Reversals, 0);
    // Reference diameter 10 pixels: a step of hypot(12, 8) pixels.
    EXPECT_NEAR(r->Mean_Speed, std::hypot(1.2, 0.8), 1e-12);
    EXPECT_NEAR(r->Mean_Step_Distance, std::hypot(1.2, 0.8), 1e-12);
    EXPECT_DOUBLE_EQ(r->Start_X, 105.0 / 960.0);
    EXPECT_DOUBLE_EQ(r->End_Y, (405.0 - 8 * 24) / 540.0);
    EXPECT_DOUBLE_EQ(r->Max_X_Displacement, 12.0 * 24 / 960.0);
    EXPECT_DOUBLE_EQ(r->Peak_Relative_Time, 1.0);  // highest at the end
    EXPECT_DOUBLE_EQ(r->Circular_Frames_Ratio, 1.0);
    EXPECT_DOUBLE_EQ(r->Mean_W, 1.0);
    EXPECT_DOUBLE_EQ(r->Interpolation_Ratio, 0.0);
}

TEST(TrackFeatures, AZigzagHasHeadingSpikesAndReversals) {
    std::vector<BallDetection> detections;
    for (int f = 0; f < 9; ++f) {
        detections.push_back(box(f, 1, 100 + 20 * f, f % 2 == 0 ? 200 : 220));
    }
    const TrackFeatures r = full(withPictureCorner(detections))[0];
    // Headings alternate between +45 and -45 degrees: 7 turns of 90 degrees.
    EXPECT_EQ(r.Heading_Spikes, 7);
    EXPECT_NEAR(r.Cumulative_Angular_Change, 7 * M_PI / 2, 1e-9);
    EXPECT_NEAR(r.Mean_Angular_Change, M_PI / 2, 1e-9);
    EXPECT_NEAR(r.Rms_Angular_Change, M_PI / 2, 1e-9);
    EXPECT_EQ(r.Vy_Reversals, 7);
    EXPECT_EQ(r.Vx_Reversals, 0);
    EXPECT_LT(r.Mean_Path_Efficiency_10, 0.8);
}

TEST(TrackFeatures, ALoneTrackGetsTheNeutralNeighbourValues) {
    std::vector<BallDetection> detections;
    for (int f = 0; f < 6; ++f) {
        detections.push_back(box(f, 1, 100 + 5 * f, 100));
    }
    const TrackFeatures r = full(withPictureCorner(detections))[0];
    EXPECT_DOUBLE_EQ(r.Mean_Dist_To_1st, 20.0);
    EXPECT_DOUBLE_EQ(r.Mean_Dist_To_3rd, 20.0);
    EXPECT_DOUBLE_EQ(r.Mean_Neighbors_In_Radius_Large, 0.0);
    EXPECT_DOUBLE_EQ(r.Grid_Y_Percentile, 1.0);
    EXPECT_DOUBLE_EQ(r.Mean_Relative_Area, 0.5);
    EXPECT_DOUBLE_EQ(r.Max_Relative_Speed, 0.5);
    // Alone, the relative height is the damped picture height: y 105 of 540.
    const double yN = 105.0 / 540.0;
    EXPECT_DOUBLE_EQ(r.meanAboveRatio, yN);
    EXPECT_DOUBLE_EQ(r.Mean_Relative_Y, (yN - 0.5) * 0.3 + 0.5);
    EXPECT_DOUBLE_EQ(r.Mean_Relative_X, (r.Mean_X - 0.5) * 0.3 + 0.5);
}

TEST(TrackFeatures, RanksTwoObjectsOfTheSameFrames) {
    std::vector<BallDetection> detections;
    for (int f = 0; f < 6; ++f) {
        detections.push_back(box(f, 1, 100, 100));       // upper, left, still
        detections.push_back(box(f, 2, 100 + 4 * f, 120));  // 20 pixels lower, moving right
    }
    const auto records = full(withPictureCorner(detections));
    const TrackFeatures* upper = recordOf(records, 1);
    const TrackFeatures* lower = recordOf(records, 2);
    ASSERT_NE(upper, nullptr);
    ASSERT_NE(lower, nullptr);

    // Reference sizes are the 10-pixel medians, so distances are in box sizes.
    double distanceSum = 0.0;
    for (int f = 0; f < 6; ++f) {
        distanceSum += std::hypot(2.0, 0.4 * f);
    }
    EXPECT_NEAR(upper->Mean_Dist_To_1st, distanceSum / 6.0, 1e-12);
    EXPECT_DOUBLE_EQ(upper->Mean_Dist_To_2nd, 20.0);
    EXPECT_DOUBLE_EQ(upper->Mean_Neighbors_In_Radius_Small, 1.0);
    EXPECT_DOUBLE_EQ(upper->Grid_Y_Percentile, 1.0);  // the other one is lower, same cell
    EXPECT_DOUBLE_EQ(lower->Grid_Y_Percentile, 0.0);

    // Two objects: ranks count with confidence 0.4.
    EXPECT_DOUBLE_EQ(upper->meanAboveRatio, 0.0);
    EXPECT_DOUBLE_EQ(lower->meanAboveRatio, 1.0);
    EXPECT_DOUBLE_EQ(upper->Max_Relative_Y, (0.0 - 0.5) * 0.4 + 0.5);
    EXPECT_DOUBLE_EQ(lower->Max_Relative_Y, (1.0 - 0.5) * 0.4 + 0.5);
    EXPECT_DOUBLE_EQ(upper->Mean_Relative_X, (5 * 0.3 + 0.5) / 6.0);  // frame 0: same x
    EXPECT_DOUBLE_EQ(lower->Max_Relative_X, 0.7);
}

TEST(TrackFeatures, FindsThePeakOfAnArc) {
    std::vector<BallDetection> detections;
    for (int f = 0; f < 11; ++f) {
        detections.push_back(box(f, 1, 100 + 10 * f, 100 + (f - 5) * (f - 5) * 4));
    }
    const TrackFeatures r = full(withPictureCorner(detections))[0];
    EXPECT_DOUBLE_EQ(r.Peak_Relative_Time, 0.5);
    EXPECT_EQ(r.Vy_Reversals, 1);
    EXPECT_DOUBLE_EQ(r.Min_Y, 105.0 / 540.0);
}

TEST(TrackFeatures, ListsRecordsByAscendingTrackId) {
    std::vector<BallDetection> detections;
    for (const int id : {9, 2, 5}) {
        for (int f = 0; f < 4; ++f) {
            detections.push_back(box(f, id, 50 * id, 100 + 10 * f));
        }
    }
    const auto records = full(detections);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].trackId, 2);
    EXPECT_EQ(records[1].trackId, 5);
    EXPECT_EQ(records[2].trackId, 9);
}

}  // namespace
}  // namespace rallinox
