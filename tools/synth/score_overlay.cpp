#include "score_overlay.h"

#include <opencv2/imgproc.hpp>

namespace rallinox::synth {
namespace {

const char* const kNames[] = {"HOME", "AWAY", "VCB", "TSV", "SPARTA", "LIONS", "UNI", "CITY"};

}  // namespace

ScoreOverlay::ScoreOverlay(const MatchPlan& plan, cv::Size size, Random& random) : points_(plan.points) {
    shown_ = random.chance(0.3);
    delay_ = random.uniform(1.5, 4.0);
    names_[0] = kNames[random.index(8)];
    do {
        names_[1] = kNames[random.index(8)];
    } while (names_[1] == names_[0]);
    const double lines = size.height / 1080.0;
    fontScale_ = random.uniform(0.8, 1.2) * lines;
    thickness_ = std::max(1, static_cast<int>(2 * lines));
    const int width = static_cast<int>(fontScale_ * 330), height = static_cast<int>(fontScale_ * 50);
    const int margin = static_cast<int>(0.03 * size.height);
    const bool right = random.chance(0.4), bottom = random.chance(0.4);
    box_ = cv::Rect(right ? size.width - margin - width : margin, bottom ? size.height - margin - height : margin, width,
                    height);
    const double shade = random.uniform(10, 60);
    boxColour_ = cv::Scalar(shade, shade, shade + random.uniform(0, 60));
    textColour_ = random.chance(0.7) ? cv::Scalar(255, 255, 255) : cv::Scalar(60, 220, 255);
}

cv::Rect ScoreOverlay::draw(cv::Mat& frame, double t) const {
    if (!shown_) return {};
    int score[2] = {0, 0};
    for (const PointWon& point : points_) {
        if (point.time + delay_ <= t) ++score[point.team];
    }
    cv::rectangle(frame, box_, boxColour_, cv::FILLED);
    const std::string text = names_[0] + " " + std::to_string(score[0]) + " - " + std::to_string(score[1]) + " " + names_[1];
    const cv::Point origin(box_.x + static_cast<int>(10 * fontScale_), box_.y + static_cast<int>(36 * fontScale_));
    cv::putText(frame, text, origin, cv::FONT_HERSHEY_SIMPLEX, fontScale_, textColour_, thickness_, cv::LINE_AA);
    return box_ & cv::Rect(0, 0, frame.cols, frame.rows);
}

}  // namespace rallinox::synth
