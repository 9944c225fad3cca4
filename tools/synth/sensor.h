#pragma once
// What the camera adds to the scene: a tripod that shakes a little and is
// sometimes bumped, lights that flicker, a soft lens and sensor noise.
#include <opencv2/core.hpp>

#include <vector>

#include "random.h"

namespace rallinox::synth {

class Sensor {
public:
    Sensor(cv::Size size, int maxShake, Random& random);

    cv::Point shakeAt(double t) const;
    // Softens a still image as the lens does (done once for the background).
    void soften(cv::Mat& image) const;
    // Flicker and noise of one frame.
    void apply(cv::Mat& frame, double t, int frameIndex) const;

private:
    double scale_;
    int maxShake_;
    double shake_ = 0, shakeFreq_[2]{}, shakePhase_[4]{};
    std::vector<double> bumps_;
    double flicker_ = 0, flickerFreq_ = 1, drift_ = 0;
    double softSigma_ = 0.6;
    uint64_t seed_ = 0;
    std::vector<cv::Mat> noiseUp_, noiseDown_;
};

}  // namespace rallinox::synth
