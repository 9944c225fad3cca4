#include "match_video.h"

#include <opencv2/imgproc.hpp>

#include <cmath>
#include <cstdio>

namespace rallinox {

namespace {

constexpr double kFlightSec = 1.4;
constexpr int kPlayers = 6;

cv::Mat drawHall(int width, int height) {
    cv::Mat hall(height, width, CV_8UC1);
    for (int row = 0; row < height; ++row) hall.row(row).setTo(40 + 60 * row / height);
    const int floorY = height * 2 / 3;
    cv::line(hall, {0, floorY}, {width, floorY}, 150, std::max(1, height / 240));
    cv::rectangle(hall, {width / 2 - 2, height / 3}, {width / 2 + 2, floorY}, 170, cv::FILLED);  // net post
    return hall;
}

void drawPlayers(cv::Mat& frame, double t) {
    const int width = frame.cols, height = frame.rows;
    const int bodyW = width / 32, bodyH = height / 6;
    for (int i = 0; i < kPlayers; ++i) {
        const double home = (i + 0.5) / kPlayers;
        const double x = width * (home + 0.04 * std::sin(t * (0.6 + 0.1 * i) + i));
        const int top = height * 2 / 3 - bodyH - static_cast<int>(height * 0.01 * (i % 3));
        cv::rectangle(frame, {static_cast<int>(x), top}, {static_cast<int>(x) + bodyW, top + bodyH}, 20, cv::FILLED);
    }
}

// The ball crosses the court back and forth, one parabola per flight.
void drawBall(cv::Mat& frame, double sinceRallyStart) {
    const int width = frame.cols, height = frame.rows;
    const int flight = static_cast<int>(sinceRallyStart / kFlightSec);
    const double u = sinceRallyStart / kFlightSec - flight;
    const double from = flight % 2 ? 0.8 : 0.2;
    const double to = flight % 2 ? 0.2 : 0.8;
    const double x = width * (from + (to - from) * u);
    const double y = height * (0.6 - 1.6 * u * (1 - u));
    cv::circle(frame, {static_cast<int>(x), static_cast<int>(y)}, std::max(3, height / 90), 255, cv::FILLED,
               cv::LINE_AA);
}

}  // namespace

bool writeMatchVideo(const std::string& path, const MatchVideoPlan& plan) {
    const std::string command = "ffmpeg -y -loglevel error -f rawvideo -pix_fmt gray -s " + std::to_string(plan.width) +
                                "x" + std::to_string(plan.height) + " -r " + std::to_string(plan.fps) +
                                " -i - -c:v libx264 -preset ultrafast -pix_fmt yuv420p '" + path + "'";
    FILE* encoder = popen(command.c_str(), "w");
    if (!encoder) return false;
    const cv::Mat hall = drawHall(plan.width, plan.height);
    cv::Mat frame;
    const int frames = static_cast<int>(plan.durationSec * plan.fps);
    bool written = true;
    for (int index = 0; index < frames && written; ++index) {
        const double t = static_cast<double>(index) / plan.fps;
        hall.copyTo(frame);
        drawPlayers(frame, t);
        for (const auto& [start, end] : plan.rallies)
            if (t >= start && t < end) drawBall(frame, t - start);
        written = std::fwrite(frame.data, 1, frame.total(), encoder) == frame.total();
    }
    return pclose(encoder) == 0 && written;
}

}  // namespace rallinox
