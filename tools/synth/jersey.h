#pragma once
// Numbers printed on the back and front of players' shirts. Each number is
// a small picture mapped onto the torso, so it turns and foreshortens with
// the body and blurs to a patch at a distance, as on real footage.
#include <opencv2/core.hpp>

#include <vector>

#include "actor.h"
#include "camera.h"
#include "pose.h"
#include "random.h"

namespace rallinox::synth {

// The actors' looks with a different number for each player of a team.
std::vector<Appearance> numberShirts(const std::vector<Actor>& actors, Random& random);

// Drawn right after the torso, so arms in front of the body cover the print.
void drawJerseyNumber(cv::Mat& frame, const Camera& camera, const Pose& pose, const Appearance& look);

}  // namespace rallinox::synth
