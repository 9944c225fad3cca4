// Stage 2: links the blobs of stage 1 into tracks with a constant-velocity
// Kalman filter per track and an optimal assignment per connected group.
#pragma once

#include <vector>

#include "engine/ball_detection.h"
#include "engine/engine_params.h"
#include "engine/motion_detector.h"

namespace rallinox {

// Detections of every finished track with at least `minTrackPoints` points,
// grouped by track in the order the tracks were finished, each in frame order.
// Calls `progress` with 1.0 at the end.
std::vector<BallDetection> runStage2(const std::vector<FrameCandidates>& frames,
                                     const EngineParams& params, StageProgress progress);

}  // namespace rallinox
