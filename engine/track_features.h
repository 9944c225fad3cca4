// The 65 hand-made features of a track that the track classifier reads by
// name, and the extraction pass that also applies the culling gates.
#pragma once

#include <vector>

#include "engine/ball_detection.h"
#include "engine/engine_params.h"

namespace rallinox {

// One record per track. A survivor record has only trackId, Duration,
// startFrame and endFrame filled; its features are zero.
struct TrackFeatures {
    int trackId = 0;
    int Duration = 0;  // points after gap filling
    int startFrame = 0;
    int endFrame = 0;
    double Mean_W = 0, Mean_H = 0, Mean_Aspect_Ratio = 0;
    double Std_W = 0, Std_H = 0, Std_Aspect_Ratio = 0;
    double Distance_Traveled_X = 0, Distance_Traveled_Y = 0;
    double Mean_Speed = 0, Max_Speed = 0, Std_Speed = 0;
    double Mean_Accel = 0, Max_Accel = 0, Std_Accel = 0;
    double Aspect_Ratio_Stability = 0;
    double Cumulative_Angular_Change = 0, Mean_Angular_Change = 0, Angular_Variance = 0;
    double Mean_Displacement_X = 0, Mean_Displacement_Y = 0;
    double Std_Displacement_X = 0, Std_Displacement_Y = 0;
    double Grid_Y_Percentile = 0;
    double Mean_Dist_To_1st = 0, Mean_Dist_To_2nd = 0, Mean_Dist_To_3rd = 0;
    double Mean_Neighbors_In_Radius_Small = 0, Mean_Neighbors_In_Radius_Large = 0;
    int Vx_Reversals = 0, Vy_Reversals = 0;
    double Max_X_Displacement = 0, Max_Y_Displacement = 0;
    double Peak_Relative_Time = 0;
    double Circular_Frames_Ratio = 0;
    double Start_X = 0, Start_Y = 0, End_X = 0, End_Y = 0, Mean_X = 0, Mean_Y = 0;
    double Std_Vx = 0, Std_Vy = 0, Std_Ax = 0, Std_Ay = 0, Std_Area = 0;
    double Min_X = 0, Max_X = 0, Min_Y = 0, Max_Y = 0;
    double Mean_Relative_Y = 0, Max_Relative_Y = 0;
    double meanAboveRatio = 0, maxAboveRatio = 0;  // not a model input
    double Mean_Relative_X = 0, Max_Relative_X = 0;
    double Mean_Relative_Area = 0, Max_Relative_Area = 0;
    double Mean_Relative_Speed = 0, Max_Relative_Speed = 0;
    double Rms_Angular_Change = 0;
    double Mean_Path_Efficiency_10 = 0, Std_Path_Efficiency_10 = 0;
    double Mean_Step_Distance = 0, Std_Step_Distance = 0;
    double Interpolation_Ratio = 0;
    int Heading_Spikes = 0;
};

enum class FeatureMode {
    CullByBallScore,  // ball-score gate, survivor records
    CullByFlight,     // flight gate, survivor records
    FullFeatures,     // no gate, full records
};

// One record per surviving track with more than 2 points after gap filling,
// in ascending trackId order.
std::vector<TrackFeatures> extractTrackFeatures(const std::vector<BallDetection>& detections,
                                                FeatureMode mode, const EngineParams& params);

}  // namespace rallinox
