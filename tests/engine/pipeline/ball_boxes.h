// Detections for the stage tests.
#pragma once

#include "engine/ball_detection.h"

namespace rallinox {

inline BallDetection ballBox(int frame, int trackId, int x, int y, int width = 10, int height = 10) {
    BallDetection detection;
    detection.frame = frame;
    detection.trackId = trackId;
    detection.x = x;
    detection.y = y;
    detection.width = width;
    detection.height = height;
    return detection;
}

}  // namespace rallinox
