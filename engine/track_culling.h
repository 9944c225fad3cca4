// Stages 3 and 5: drop tracks that cannot be the ball, then describe the rest.
#pragma once

#include <set>
#include <vector>

#include "engine/ball_detection.h"
#include "engine/engine_params.h"
#include "engine/track_features.h"

namespace rallinox {

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
