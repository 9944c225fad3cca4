// Stage 4: cuts surviving tracks where area, shape, speed or turning change
// abruptly near another object, which is where the tracker swaps identities.
#pragma once

#include <set>
#include <vector>

#include "engine/ball_detection.h"
#include "engine/engine_params.h"
#include "engine/track_features.h"

namespace rallinox {

// Where a track was cut: the new piece starts at this point.
struct SplitRecord {
    int oldId = 0;  // id the track had before the cut
    int frame = 0;  // analysed frame of the first point of the new piece
    double cx = 0.0;
    double cy = 0.0;
};

struct SplitResult {
    std::vector<BallDetection> detections;  // the survivors' detections, cut pieces renumbered
    std::vector<SplitRecord> splits;
    std::set<int> changedTrackIds;  // ids that were cut or newly made by a cut
};

// Only the `trackId` of the survivor records is used; other tracks are dropped.
SplitResult runStage4(const std::vector<BallDetection>& detections,
                      const std::vector<TrackFeatures>& survivors, const EngineParams& params);

}  // namespace rallinox
