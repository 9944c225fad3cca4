#pragma once
// The ground-truth file written next to a generated video.
#include <optional>
#include <string>
#include <vector>

#include "match_plan.h"
#include "renderer.h"

namespace rallinox::synth {

struct GroundTruth {
    int width = 0, height = 0;
    double fps = 0;
    std::string view;
    std::string reach;  // "close" or "far"
    uint64_t seed = 0;
    double cameraHeight = 0, cameraDistance = 0;  // metres above the floor and from the court centre
    std::vector<TimeSpan> rallies;
    std::vector<TimeSpan> warmups;
    std::vector<TimeSpan> retrievals;
    std::vector<TimeSpan> serveBounces;
    std::vector<std::optional<BallTruth>> ball;  // one per frame
};

// JSON with the ball as compact per-frame arrays [x, y, radius] or null.
std::string toJson(const GroundTruth& truth);
void writeTruth(const GroundTruth& truth, const std::string& path);

}  // namespace rallinox::synth
