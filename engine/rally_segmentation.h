// Stages 10 and 11: the per-frame play probability becomes padded rallies.
#pragma once

#include "engine/engine_params.h"
#include "engine/ball_detection.h"

#include <map>
#include <set>
#include <vector>

namespace rallinox {

struct RallySegment {
    int start = 0;  // first frame including the start padding
    int end = 0;    // last frame including the end padding (inclusive)
    int coreStart = 0;
    int coreEnd = 0;
    bool merged = false;      // absorbed a neighbour
    bool suspicious = false;  // dropped unless a convincing ball track confirms it
    double startPadSec = 0;
    double endPadSec = 0;
};

// Stage 10: runs of probability >= 0.5, short pauses closed, paddings added,
// too short cores and multi-ball warm-ups marked suspicious.
std::vector<RallySegment> segmentRallies(const std::vector<double>& probabilities,
                                         const std::vector<BallDetection>& detections,
                                         const std::set<int>& ballTracks, const EngineParams& params);

// Stage 11: confirms or drops suspicious segments, joins near neighbours and
// discards rallies below the minimum length (one "[INFO] Stage 11: ..." line
// on standard output per discarded rally).
std::vector<RallySegment> refineRallies(const std::vector<RallySegment>& segments,
                                        const std::vector<BallDetection>& detections,
                                        const std::set<int>& ballTracks,
                                        const std::map<int, double>& trackProbabilities,
                                        const EngineParams& params);

// Analysed frames per second used for every frame/second conversion here.
double framesPerSecond(const EngineParams& params);

}  // namespace rallinox
