#pragma once
// The score board some recording apps burn into the picture: a dark box in
// a corner with the team names and the score, updated a moment after each
// point. Shown in some matches only.
#include <opencv2/core.hpp>

#include <string>
#include <vector>

#include "match_plan.h"
#include "random.h"

namespace rallinox::synth {

class ScoreOverlay {
public:
    ScoreOverlay(const MatchPlan& plan, cv::Size size, Random& random);

    bool shown() const { return shown_; }
    // Draws the board for time `t`; returns the box it covers (empty when not shown).
    cv::Rect draw(cv::Mat& frame, double t) const;

private:
    bool shown_ = false;
    std::vector<PointWon> points_;
    double delay_ = 0;
    std::string names_[2];
    cv::Rect box_;
    double fontScale_ = 1;
    int thickness_ = 1;
    cv::Scalar boxColour_, textColour_;
};

}  // namespace rallinox::synth
