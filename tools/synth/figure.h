#pragma once
// A posed body drawn as a jointed figure: limbs as rounded bars in skin,
// jersey and shorts colours, drawn far side first so the near arm and leg
// cover the body.
#include <opencv2/core.hpp>

#include <vector>

#include "camera.h"
#include "pose.h"

namespace rallinox::synth {

void drawFigure(cv::Mat& frame, const Camera& camera, const Pose& pose, const Appearance& look);

// The figure smeared over the exposure, like the ball: each pose of
// `during` (in time order) is drawn over the same background and the
// pictures are averaged, so that fast limbs leave a see-through trail.
void drawMovingFigure(cv::Mat& frame, const Camera& camera, const std::vector<Pose>& during, const Appearance& look);

}  // namespace rallinox::synth
