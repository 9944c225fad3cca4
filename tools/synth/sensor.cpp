#include "sensor.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace rallinox::synth {
namespace {

constexpr int kNoiseTiles = 3;
constexpr int kNoisePad = 64;

}  // namespace

Sensor::Sensor(cv::Size size, int maxShake, Random& random) : scale_(size.height / 1080.0), maxShake_(maxShake) {
    // A tripod stands still: only some set-ups sway, by well under a pixel
    // (edges jumping a whole pixel every frame would be motion everywhere).
    const double sway = random.uniform(0.0, 0.7);
    shake_ = random.chance(0.3) ? sway * scale_ : 0.0;
    for (double& f : shakeFreq_) f = random.uniform(0.15, 1.5);
    for (double& p : shakePhase_) p = random.uniform(0, 2 * M_PI);
    const int bumps = random.index(4);
    for (int i = 0; i < bumps; ++i) bumps_.push_back(random.uniform(0, 3600.0 / (1 + i)));
    flicker_ = random.chance(0.5) ? random.uniform(0.003, 0.02) : 0.0;
    flickerFreq_ = random.uniform(0.5, 8.0);
    drift_ = random.uniform(0.0, 0.03);
    softSigma_ = random.uniform(0.3, 0.7);
    seed_ = random.next();
    const double sigma = random.uniform(1.5, 4.0);
    cv::RNG rng(seed_);
    for (int i = 0; i < kNoiseTiles; ++i) {
        cv::Mat noise(size.height + kNoisePad, size.width + kNoisePad, CV_32FC3);
        rng.fill(noise, cv::RNG::NORMAL, 0.0, sigma);
        cv::Mat up, down;
        cv::max(noise, 0.0, up);
        cv::max(-noise, 0.0, down);
        up.convertTo(up, CV_8UC3);
        down.convertTo(down, CV_8UC3);
        noiseUp_.push_back(up);
        noiseDown_.push_back(down);
    }
}

cv::Point Sensor::shakeAt(double t) const {
    double x = shake_ * (std::sin(2 * M_PI * shakeFreq_[0] * t + shakePhase_[0]) + 0.5 * std::sin(2 * M_PI * shakeFreq_[1] * t + shakePhase_[1]));
    double y = shake_ * (std::sin(2 * M_PI * shakeFreq_[1] * t + shakePhase_[2]) + 0.5 * std::sin(2 * M_PI * shakeFreq_[0] * t + shakePhase_[3]));
    for (double bump : bumps_) {
        const double dt = t - bump;
        if (dt < 0 || dt > 2.0) continue;
        const double swing = 5.0 * scale_ * std::exp(-2.5 * dt) * std::sin(2 * M_PI * 3.0 * dt);
        x += swing;
        y += 0.6 * swing;
    }
    return {std::clamp(cvRound(x), -maxShake_, maxShake_), std::clamp(cvRound(y), -maxShake_, maxShake_)};
}

void Sensor::soften(cv::Mat& image) const { cv::GaussianBlur(image, image, cv::Size(3, 3), softSigma_); }

void Sensor::apply(cv::Mat& frame, double t, int frameIndex) const {
    const double gain = 1.0 + flicker_ * std::sin(2 * M_PI * flickerFreq_ * t) + drift_ * std::sin(2 * M_PI * t / 97.0);
    // A vectorised scale: a look-up table walks the frame a byte at a time.
    if (std::abs(gain - 1.0) > 1e-4) frame.convertTo(frame, -1, gain);
    cv::RNG rng(seed_ ^ static_cast<uint64_t>(frameIndex) * 0x9E3779B97F4A7C15ull);
    const size_t tile = static_cast<size_t>(rng.uniform(0, kNoiseTiles));
    const cv::Rect window(rng.uniform(0, kNoisePad), rng.uniform(0, kNoisePad), frame.cols, frame.rows);
    cv::add(frame, noiseUp_[tile](window), frame);
    cv::subtract(frame, noiseDown_[tile](window), frame);
}

}  // namespace rallinox::synth
