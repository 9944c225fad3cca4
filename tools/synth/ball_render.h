#pragma once
// A shaded, panelled ball smeared along its path during the exposure,
// drawn per pixel so that even a ball a few pixels across looks round.
#include <opencv2/core.hpp>

#include "random.h"

namespace rallinox::synth {

struct BallStyle {
    cv::Vec3d panels[3];  // BGR colours of the panel stripes
};

BallStyle chooseBallStyle(Random& random);

// What was drawn, to find out later whether nearer things covered it.
struct DrawnBall {
    cv::Rect box;     // in the frame
    cv::Mat core;     // 8-bit mask of pixels the ball covers at least half
    cv::Mat pixels;   // the frame's pixels in `box` right after drawing
};

// Draws a ball of `radius` pixels moving from `from` to `to` during the
// exposure; `spin` turns the panels.
DrawnBall drawBall(cv::Mat& frame, cv::Point2d from, cv::Point2d to, double radius, const BallStyle& style, double spin);

// Share of the ball's core pixels that are still as drawn.
double visibleShare(const cv::Mat& frame, const DrawnBall& ball);

}  // namespace rallinox::synth
