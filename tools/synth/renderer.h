#pragma once
// Renders any frame of a planned match, and reports where the match ball
// is in it as actually drawn (nothing when it is covered or outside).
#include <opencv2/core.hpp>

#include <optional>
#include <vector>

#include "ball_render.h"
#include "crowd.h"
#include "hall.h"
#include "match_plan.h"
#include "score_overlay.h"
#include "sensor.h"

namespace rallinox::synth {

struct BallTruth {
    double x = 0, y = 0, radius = 0;  // pixels of the output picture
};

class MatchRenderer {
public:
    // `detail` feeds the finer touches, apart from `random`, so that they do
    // not change the hall, the ball or the exposure a seed has always had.
    MatchRenderer(const MatchPlan& plan, const Camera& camera, double fps, Random& random, Random& detail);

    // `withMatchBall` false leaves the match ball out (to compare pictures).
    std::optional<BallTruth> render(int frameIndex, cv::Mat& frame, bool withMatchBall = true) const;

private:
    const MatchPlan& plan_;
    Camera camera_;
    double fps_;
    double exposure_;
    Hall hall_;
    Crowd crowd_;
    Sensor sensor_;
    BallStyle ballStyle_;
    std::vector<Appearance> looks_;  // per actor, with shirt numbers
    ScoreOverlay scoreOverlay_;
};

}  // namespace rallinox::synth
