// The flat record that the tracking, culling, splitting and improvement stages
// pass between them, and the progress callback those stages report to.
#pragma once

#include <functional>

namespace rallinox {

// One box of one track in one analysed frame.
struct BallDetection {
    int frame = 0;  // analysed-frame index
    int trackId = 0;
    int x = 0;  // top-left corner, pixels of the analysis image
    int y = 0;
    int width = 0;
    int height = 0;
    bool interpolated = false;  // inserted to fill a gap by ball track improvement

    double cx() const { return x + 0.5 * width; }
    double cy() const { return y + 0.5 * height; }

    bool operator==(const BallDetection&) const = default;
};

// One point of a track, with its centre.
struct TrackPoint {
    int frame = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    double cx = 0.0;
    double cy = 0.0;
};

// Receives a stage's completion fraction (0..1).
using StageProgress = std::function<void(float)>;

}  // namespace rallinox
