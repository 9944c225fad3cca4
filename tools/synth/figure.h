#pragma once
// A posed body drawn as a jointed figure: limbs as rounded bars in skin,
// jersey and shorts colours, drawn far side first so the near arm and leg
// cover the body.
#include <opencv2/core.hpp>

#include "camera.h"
#include "pose.h"

namespace rallinox::synth {

void drawFigure(cv::Mat& frame, const Camera& camera, const Pose& pose, const Appearance& look);

}  // namespace rallinox::synth
