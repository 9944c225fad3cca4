#include "ball_render.h"

#include <algorithm>
#include <cmath>

namespace rallinox::synth {
namespace {

// Colour of the ball's surface seen at normal (nx, ny, nz) of the image
// sphere, with light from above and slightly in front.
cv::Vec3d surface(double nx, double ny, double nz, const BallStyle& style, double spin) {
    const double c = std::cos(spin), s = std::sin(spin);
    const double rx = c * nx - s * nz, rz = s * nx + c * nz;
    const double stripe = std::atan2(ny + 0.4 * rz, rx) * 3.0 / M_PI + 3.0;
    const cv::Vec3d& paint = style.panels[static_cast<int>(stripe) % 3];
    const double light = std::max(0.0, -0.55 * ny + 0.25 * nx + 0.8 * nz);
    const double shade = 0.35 + 0.75 * light;
    const double highlight = std::pow(std::max(0.0, -0.4 * ny + 0.9 * nz), 12) * 60.0;
    return paint * shade + cv::Vec3d(highlight, highlight, highlight);
}

}  // namespace

BallStyle chooseBallStyle(Random& random) {
    const cv::Vec3d yellow(40, 215, 245), blue(170, 80, 20), white(235, 235, 235), red(40, 40, 200), green(60, 150, 40);
    switch (random.index(4)) {
        case 0: return {{yellow, blue, yellow}};
        case 1: return {{white, yellow, blue}};
        case 2: return {{white, red, green}};
        default: return {{white, blue, white}};
    }
}

DrawnBall drawBall(cv::Mat& frame, cv::Point2d from, cv::Point2d to, double radius, const BallStyle& style, double spin) {
    DrawnBall drawn;
    const double pad = radius + 2;
    const cv::Rect box(cvFloor(std::min(from.x, to.x) - pad), cvFloor(std::min(from.y, to.y) - pad),
                       cvCeil(std::abs(from.x - to.x) + 2 * pad) + 1, cvCeil(std::abs(from.y - to.y) + 2 * pad) + 1);
    drawn.box = box & cv::Rect(0, 0, frame.cols, frame.rows);
    if (drawn.box.area() <= 0) return drawn;
    const int samples = std::clamp(static_cast<int>(cv::norm(to - from) / std::max(0.5, radius * 0.4)) + 1, 1, 16);
    drawn.core = cv::Mat(drawn.box.size(), CV_8U, cv::Scalar(0));
    for (int y = 0; y < drawn.box.height; ++y) {
        auto* row = frame.ptr<cv::Vec3b>(drawn.box.y + y);
        for (int x = 0; x < drawn.box.width; ++x) {
            const double px = drawn.box.x + x + 0.5, py = drawn.box.y + y + 0.5;
            cv::Vec3d colour(0, 0, 0);
            double coverage = 0;
            for (int k = 0; k < samples; ++k) {
                const double u = (k + 0.5) / samples;
                const double dx = (px - (from.x + (to.x - from.x) * u)) / radius;
                const double dy = (py - (from.y + (to.y - from.y) * u)) / radius;
                const double d = std::sqrt(dx * dx + dy * dy);
                const double edge = std::clamp((1.0 - d) * radius + 0.5, 0.0, 1.0);
                if (edge <= 0) continue;
                const double dc = std::min(d, 0.999);
                const double nx = d > 0 ? dx / d * dc : 0, ny = d > 0 ? dy / d * dc : 0;
                colour += surface(nx, ny, std::sqrt(1.0 - dc * dc), style, spin) * edge;
                coverage += edge;
            }
            if (coverage <= 0) continue;
            const double alpha = coverage / samples;
            const cv::Vec3b old = row[drawn.box.x + x];
            for (int ch = 0; ch < 3; ++ch) {
                row[drawn.box.x + x][ch] = cv::saturate_cast<uchar>(old[ch] * (1.0 - alpha) + colour[ch] / samples);
            }
            if (alpha >= 0.5) drawn.core.at<uchar>(y, x) = 255;
        }
    }
    drawn.pixels = frame(drawn.box).clone();
    return drawn;
}

double visibleShare(const cv::Mat& frame, const DrawnBall& ball) {
    if (ball.box.area() <= 0) return 0.0;
    int core = 0, kept = 0;
    const cv::Mat now = frame(ball.box);
    for (int y = 0; y < ball.box.height; ++y) {
        for (int x = 0; x < ball.box.width; ++x) {
            if (!ball.core.at<uchar>(y, x)) continue;
            ++core;
            if (now.at<cv::Vec3b>(y, x) == ball.pixels.at<cv::Vec3b>(y, x)) ++kept;
        }
    }
    return core ? static_cast<double>(kept) / core : 0.0;
}

}  // namespace rallinox::synth
