// Places where the proposed rallies may be wrong: play that no rally covers,
// rallies with little convincing play, and rallies with a long pause inside.
#pragma once

#include "app/core/project.h"
#include "engine/ball_detection.h"
#include "engine/engine_params.h"
#include "engine/rally_segmentation.h"

#include <set>
#include <vector>

namespace rallinox {

// Frame numbers are analysed frames, ranges inclusive; `atFrame` is the
// middle of the pause for a joined hint and 0 otherwise.
struct FrameHint {
    HintKind kind = HintKind::Missed;
    int startFrame = 0;
    int endFrame = 0;
    int atFrame = 0;
};

// Missed hints from the probability curve, then from fast ball tracks, then
// doubtful and joined hints per rally. Segments still marked suspicious are
// not rallies.
std::vector<FrameHint> buildHints(const std::vector<double>& probabilities, const std::vector<RallySegment>& segments,
                                  const std::vector<BallDetection>& detections, const std::set<int>& ballTracks,
                                  const EngineParams& params);

}  // namespace rallinox
