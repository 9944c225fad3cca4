#pragma once
// A complete generated match from a seed: set-up (view, size, frame rate,
// bit rate), camera, plan and renderer.
#include <memory>
#include <optional>

#include "renderer.h"
#include "truth.h"

namespace rallinox::synth {

struct MatchRequest {
    uint64_t seed = 1;
    double seconds = 120;
    // Unset values are drawn from the seed.
    std::optional<View> view;
    std::optional<Reach> reach;
    std::optional<cv::Size> size;
    std::optional<double> fps;
    std::optional<int> kbps;
};

class SyntheticMatch {
public:
    explicit SyntheticMatch(const MatchRequest& request);

    int frameCount() const { return frameCount_; }
    double fps() const { return fps_; }
    cv::Size size() const { return camera_.size; }
    int kbps() const { return kbps_; }
    const MatchPlan& plan() const { return plan_; }
    // Ground truth without the per-frame ball, which rendering adds.
    GroundTruth truthHeader() const;

    std::optional<BallTruth> render(int frameIndex, cv::Mat& frame, bool withMatchBall = true) const {
        return renderer_->render(frameIndex, frame, withMatchBall);
    }

private:
    uint64_t seed_;
    View view_;
    Reach reach_;
    double fps_;
    int kbps_;
    int frameCount_;
    Camera camera_;
    MatchPlan plan_;
    std::unique_ptr<MatchRenderer> renderer_;
};

}  // namespace rallinox::synth
