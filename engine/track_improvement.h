// Stage 7: corrects the set of ball tracks with rules about time and place
// and fills short holes between ball boxes.
#pragma once

#include "engine/ball_detection.h"
#include "engine/engine_params.h"
#include "engine/track_features.h"

#include <map>
#include <set>
#include <vector>

namespace rallinox {

// Prunes and rescues `ballTrackIds` in place and returns every input
// detection plus the boxes inserted into gaps of at most `gapFillMaxFrames`
// frames, ordered by (frame, trackId). A track missing from
// `trackProbability` counts as probability 0.
std::vector<BallDetection> runStage7(const std::vector<BallDetection>& detections,
                                     const std::vector<TrackFeatures>& tracks,
                                     const std::map<int, double>& trackProbability, std::set<int>& ballTrackIds,
                                     const EngineParams& params);

}  // namespace rallinox
