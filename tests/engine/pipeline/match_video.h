// Generated match videos: a small bright ball on parabolic flights during
// the rallies, players moving about all the time.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace rallinox {

struct MatchVideoPlan {
    int width = 1280;
    int height = 720;
    int fps = 30;
    double durationSec = 60;
    std::vector<std::pair<double, double>> rallies;  // seconds in which the ball flies
};

// Encodes the plan as H.264 with the ffmpeg command; false when that fails.
bool writeMatchVideo(const std::string& path, const MatchVideoPlan& plan);

}  // namespace rallinox
