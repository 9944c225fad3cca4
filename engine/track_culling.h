// Stages 3 and 5: drop tracks that cannot be the ball, then describe the rest.
#pragma once

#include <set>
#include <vector>

#include "engine/ball_detection.h"
#include "engine/engine_params.h"
#include "engine/track_features.h"

namespace rallinox {

// What the ball-score gate knows about one track (pixels of the analysis image).
struct BallScoreEvidence {
    int duration = 0;            // points after gap filling
    double highestCy = 0.0;      // smallest centre y
    double frameHeight = 0.0;    // estimated picture height
    double meanAboveRatio = 0.0;
    double pathEfficiency = 0.0;  // Mean_Path_Efficiency_10
    double extentX = 0.0;         // the track's own extents
    double extentY = 0.0;
    double largestExtentX = 100.0;  // largest extents of the tracks around it in time
    double largestExtentY = 100.0;
};

// Long, wide, straight tracks, or tracks high in the picture, may be the ball.
bool passesBallScoreGate(const BallScoreEvidence& evidence, const EngineParams& params);

// A track made or changed by splitting must travel far, or fly like a thrown
// ball: a good parabola in y under a plausible gravity, a straight line in x.
bool passesFlightGate(const std::vector<TrackPoint>& points, const EngineParams& params);

// Stage 3: survivor records of the tracks that pass the ball-score gate.
// Calls `progress` with 1.0 at the end.
std::vector<TrackFeatures> runStage3(const std::vector<BallDetection>& detections,
                                     const EngineParams& params, StageProgress progress);

// Stage 5: the tracks of `changedTrackIds` (made or cut by stage 4) must pass
// the flight gate; every track left gets a full record. Calls `progress` with
// 1.0 at the end.
std::vector<TrackFeatures> runStage5(const std::vector<BallDetection>& detections,
                                     const std::set<int>& changedTrackIds,
                                     const EngineParams& params, StageProgress progress);

}  // namespace rallinox
