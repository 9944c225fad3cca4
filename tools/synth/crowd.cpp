#include "crowd.h"

#include <algorithm>
#include <cmath>

#include "draw.h"
#include "stands.h"

namespace rallinox::synth {
namespace {

// Cheap deterministic hash so each spectator decides independently, per
// time slot, whether to stand up, without keeping state between frames.
double hashUnit(uint64_t a, uint64_t b) {
    uint64_t x = a * 0x9E3779B97F4A7C15ull ^ (b + 0x632BE59BD9B4E019ull);
    x ^= x >> 31;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 29;
    return static_cast<double>(x >> 11) * 0x1.0p-53;
}

// Everyday clothes: mostly dark and neutral, some colour.
const std::vector<cv::Scalar> kClothes = {{30, 30, 30},    {60, 60, 60},   {200, 200, 200}, {90, 50, 25},
                                         {40, 40, 130},   {130, 95, 65},  {150, 175, 195}, {50, 90, 50},
                                         {110, 110, 110}, {40, 120, 190}, {120, 60, 100}};

constexpr double kBoardFromY = 0.0, kBoardToY = 18.0, kBoardX = 12.98, kBoardTile = 0.5;

}  // namespace

Crowd::Crowd(const Camera& camera, Random& random) {
    const double fill = random.uniform(0.1, 0.55);
    uint64_t id = 0;
    for (const Stand& stand : standsFor(camera)) {
        for (int row = 0; row < stand.rows; ++row) {
            for (double at = 0.3; at < stand.length - 0.3; at += 0.6) {
                if (!random.chance(fill)) continue;
                Spectator s;
                s.seat = stand.seat(row, at + random.uniform(-0.1, 0.1));
                s.shirt = kClothes[static_cast<size_t>(random.index(static_cast<int>(kClothes.size())))] * random.uniform(0.7, 1.15);
                const double tone = random.uniform(0.4, 1.0);
                s.skin = cv::Scalar(150, 175, 220) * tone;
                s.hair = cv::Scalar(30, 45, 70) * random.uniform(0.5, 2.5);
                s.phase = random.uniform(0, 2 * M_PI);
                s.id = id++;
                people_.push_back(s);
            }
        }
    }
    std::sort(people_.begin(), people_.end(),
              [&](const Spectator& a, const Spectator& b) { return camera.depth(a.seat) > camera.depth(b.seat); });
    for (int i = 0; i < 4; ++i) boardColours_.push_back({random.uniform(0, 255), random.uniform(0, 255), random.uniform(0, 255)});
    boardSpeed_ = random.chance(0.5) ? random.uniform(0.3, 2.0) : 0.0;
    boardPeriod_ = random.uniform(6.0, 20.0);
}

void Crowd::drawSpectator(cv::Mat& frame, const Camera& camera, const Spectator& s, bool standing, bool cheering,
                          double t) const {
    const double sway = standing ? 0.06 * std::sin(2.0 * t + s.phase) : 0.0;
    const Vec3 base = s.seat + Vec3{sway, sway * 0.5, standing ? 0.45 : 0.0};
    const Vec3 neck = base + Vec3{0, 0, 0.55};
    if (standing) drawBar(frame, camera, s.seat + Vec3{0, 0, -0.3}, base, 0.3, s.shirt * 0.4);
    drawBar(frame, camera, base + Vec3{0, 0, 0.1}, neck, 0.4, s.shirt);
    if (cheering) {
        const double wave = 0.15 * std::sin(9.0 * t + s.phase);
        drawBar(frame, camera, neck + Vec3{-0.15, 0, 0}, neck + Vec3{-0.3 + wave, 0, 0.55}, 0.09, s.skin);
        drawBar(frame, camera, neck + Vec3{0.15, 0, 0}, neck + Vec3{0.3 - wave, 0, 0.55}, 0.09, s.skin);
    }
    drawDisc(frame, camera, neck + Vec3{0, 0, 0.2}, 0.11, s.skin);
    drawDisc(frame, camera, neck + Vec3{0, 0, 0.25}, 0.09, s.hair);
}

void Crowd::drawBoard(cv::Mat& frame, const Camera& camera, double t) const {
    const int page = static_cast<int>(std::floor(t / boardPeriod_));
    const double shift = boardSpeed_ * t;
    for (double y = kBoardFromY; y < kBoardToY; y += kBoardTile) {
        const int band = static_cast<int>(std::floor((y + shift) / 1.5)) + page;
        const cv::Scalar& colour = boardColours_[static_cast<size_t>(((band % 4) + 4) % 4)];
        drawPolygon(frame, camera, {{kBoardX, y, 0.05}, {kBoardX, y + kBoardTile, 0.05}, {kBoardX, y + kBoardTile, 0.85},
                                    {kBoardX, y, 0.85}},
                    colour);
    }
}

void Crowd::drawSeated(cv::Mat& background, const Camera& camera) const {
    for (const Spectator& s : people_) drawSpectator(background, camera, s, false, false, 0.0);
}

void Crowd::draw(cv::Mat& frame, const Camera& camera, double t) const {
    // Each spectator decides per 6-second slot whether to stand up.
    const auto slot = static_cast<uint64_t>(std::floor(t / 6.0));
    for (const Spectator& s : people_) {
        if (hashUnit(s.id, slot) >= 0.04) continue;
        drawSpectator(frame, camera, s, true, hashUnit(s.id + 7, slot) < 0.5, t);
    }
    drawBoard(frame, camera, t);
}

}  // namespace rallinox::synth
