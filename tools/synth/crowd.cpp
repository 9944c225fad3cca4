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
// Spectators drawn afresh every frame cost time; a few are enough to make
// the stands look alive.
constexpr int kMostFidgeting = 40;

// Trousers: jeans, dark, beige.
const std::vector<cv::Scalar> kTrousers = {{120, 75, 40}, {90, 60, 35}, {40, 40, 40}, {60, 60, 70}, {120, 160, 185}};

// Picture area a seated spectator covers, for finding who hides whom.
cv::Rect2d outline(const Camera& camera, const Vec3& seat, const Vec3& ahead, const Vec3& across, double size) {
    cv::Rect2d box;
    bool first = true;
    for (const Vec3& p : {seat + Vec3{0, 0, -0.5}, seat + Vec3{0, 0, 1.0 * size}, seat + across * 0.35, seat - across * 0.35,
                          seat + ahead * (0.5 * size), seat + ahead * (0.5 * size) + Vec3{0, 0, -0.5}}) {
        const auto q = camera.project(p);
        if (!q) return {};
        box = first ? cv::Rect2d(*q, cv::Size2d(0, 0)) : box | cv::Rect2d(*q, cv::Size2d(1e-6, 1e-6));
        first = false;
    }
    const double pad = 2.0 + 0.05 * camera.pixelsPerMetre(seat);
    return {box.x - pad, box.y - pad, box.width + 2 * pad, box.height + 2 * pad};
}

}  // namespace

Crowd::Crowd(const Camera& camera, Random& random, Random& detail) {
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
                s.ahead = stand.outward * -1.0;
                s.across = stand.along;
                // Mostly adults of every build, some children.
                s.size = detail.chance(0.1) ? detail.uniform(0.6, 0.75) : detail.uniform(0.85, 1.1);
                s.build = detail.uniform(0.85, 1.3);
                s.trousers = kTrousers[static_cast<size_t>(detail.index(static_cast<int>(kTrousers.size())))] * detail.uniform(0.8, 1.1);
                s.sleeves = detail.chance(0.45) ? s.shirt : s.skin;
                const double style = detail.uniform(0, 1);
                s.hairStyle = style < 0.5 ? Hair::Short : style < 0.8 ? Hair::Long : style < 0.9 ? Hair::Cap : Hair::Bald;
                s.swayRate = detail.uniform(0.1, 0.5);
                people_.push_back(s);
            }
        }
    }
    std::sort(people_.begin(), people_.end(),
              [&](const Spectator& a, const Spectator& b) { return camera.depth(a.seat) > camera.depth(b.seat); });
    // Only someone nobody nearer overlaps may move, so that drawing them
    // over the still background never puts them in front of a neighbour.
    std::vector<cv::Rect2d> boxes;
    for (const Spectator& s : people_) boxes.push_back(outline(camera, s.seat, s.ahead, s.across, s.size));
    int moving = 0;
    for (size_t i = 0; i < people_.size(); ++i) {
        const bool wants = detail.chance(0.5);
        if (!wants || moving >= kMostFidgeting || boxes[i].area() <= 0) continue;
        bool hidden = false;
        for (size_t j = i + 1; j < people_.size() && !hidden; ++j) hidden = (boxes[i] & boxes[j]).area() > 0;
        if (hidden) continue;
        people_[i].fidgets = true;
        ++moving;
    }
    for (int i = 0; i < 4; ++i) boardColours_.push_back({random.uniform(0, 255), random.uniform(0, 255), random.uniform(0, 255)});
    // Few amateur halls have an LED board, and those scroll slowly and
    // change page now and then; the others are printed.
    boardSpeed_ = random.chance(0.1) ? random.uniform(0.1, 0.5) : 0.0;
    boardPeriod_ = random.uniform(20.0, 60.0);
}

void Crowd::drawSpectator(cv::Mat& frame, const Camera& camera, const Spectator& s, bool standing, bool cheering,
                          double t, bool still) const {
    constexpr Vec3 up{0, 0, 1};
    const double k = s.size, w = s.build;
    const Vec3& ahead = s.ahead;
    const Vec3& across = s.across;
    // Seated people lean and look about a little; standing ones sway.
    const double lean = still ? 0.0 : (standing ? 0.06 : 0.03) * std::sin(2 * M_PI * s.swayRate * t + s.phase);
    const double look = still ? 0.0 : std::sin(0.9 * t + 2.0 * s.phase);
    const Vec3 hip = s.seat + (standing ? up * (0.45 * k) + ahead * 0.1 : up * 0.05);
    const Vec3 neck = hip + up * (0.52 * k) + across * lean + ahead * (standing ? 0.0 : 0.05 * k);
    if (standing) {
        for (double side : {-1.0, 1.0}) {
            drawBar(frame, camera, hip + across * (side * 0.08 * k * w), s.seat + Vec3{0, 0, -0.35} + across * (side * 0.1 * k), 0.14 * k * w,
                    s.trousers);
        }
    } else {
        const Vec3 knee = hip + ahead * (0.42 * k);
        for (double side : {-1.0, 1.0}) {
            const Vec3 off = across * (side * 0.09 * k * w);
            drawBar(frame, camera, knee + off, knee + off - up * (0.42 * k) + ahead * 0.05, 0.11 * k, s.trousers * 0.85);
            drawShadedBar(frame, camera, hip + off, knee + off, 0.15 * k * w, s.trousers);
        }
    }
    // Torso: narrower at the hips than across the shoulders.
    const Vec3 shoulderLine = neck - up * (0.06 * k);
    const Vec3 shoulder[2] = {shoulderLine - across * (0.19 * k * w), shoulderLine + across * (0.19 * k * w)};
    drawPolygon(frame, camera, {hip - across * (0.14 * k * w), hip + across * (0.14 * k * w), shoulder[1], shoulder[0]}, s.shirt * 0.85);
    drawBar(frame, camera, hip + up * (0.08 * k), shoulderLine - up * (0.04 * k), 0.27 * k * w, s.shirt);
    drawBar(frame, camera, shoulder[0], shoulder[1], 0.12 * k * w, s.shirt * 0.9);
    const bool clapping = !still && !standing && hashUnit(s.id + 13, static_cast<uint64_t>(std::floor(t / 4.0))) < 0.2;
    for (int side = 0; side < 2; ++side) {
        const double sign = side == 0 ? -1.0 : 1.0;
        Vec3 elbow = shoulder[side] - up * (0.25 * k) + ahead * (0.06 * k) + across * (sign * 0.02);
        Vec3 hand = elbow + ahead * (0.22 * k) - across * (sign * 0.06 * k);
        if (cheering) {
            const double wave = 0.15 * std::sin(9.0 * t + s.phase);
            hand = shoulder[side] + up * (0.55 * k) + across * (sign * (0.15 - wave));
            elbow = lerp(shoulder[side], hand, 0.5) + across * (sign * 0.08);
        } else if (clapping) {
            hand = shoulderLine - up * (0.12 * k) + ahead * (0.25 * k) + across * (sign * (0.02 + 0.06 * std::abs(std::sin(3 * M_PI * t))));
            elbow = shoulder[side] - up * (0.22 * k) + ahead * (0.08 * k) + across * (sign * 0.06);
        }
        drawBar(frame, camera, shoulder[side], elbow, 0.09 * k * w, s.sleeves);
        drawBar(frame, camera, elbow, hand, 0.075 * k, s.sleeves);
        drawDisc(frame, camera, hand, 0.04 * k, s.skin);
    }
    const double r = 0.095 * k;
    const Vec3 head = neck + up * (0.15 * k) + across * (0.015 * look);
    const Vec3 towardsCamera = (camera.position - head).normalized();
    const double facingAway = std::max(0.0, -ahead.dot(towardsCamera));
    if (s.hairStyle == Hair::Long) drawBar(frame, camera, head, head - up * (2.2 * r) - ahead * (0.5 * r), 1.7 * r, s.hair);
    drawBar(frame, camera, neck - up * (0.04 * k), head, 0.08 * k, s.skin * 0.9);
    drawDisc(frame, camera, head, r, s.skin);
    const Vec3 top = head + up * (0.35 * r) - ahead * (0.3 * r) + across * (0.2 * r * look) + towardsCamera * (0.2 * facingAway * r);
    switch (s.hairStyle) {
        case Hair::Short:
        case Hair::Long:
            drawDisc(frame, camera, top, 0.85 * r, s.hair);
            break;
        case Hair::Cap:
            drawDisc(frame, camera, top + up * (0.1 * r), 0.88 * r, s.shirt * 0.6);
            drawBar(frame, camera, head + up * (0.45 * r), head + up * (0.45 * r) + ahead * (1.1 * r), 0.5 * r, s.shirt * 0.5);
            break;
        case Hair::Bald:
            break;
    }
}

void Crowd::drawBoard(cv::Mat& frame, const Camera& camera, double t) const {
    const int page = boardSpeed_ > 0 ? static_cast<int>(std::floor(t / boardPeriod_)) : 0;
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
    for (const Spectator& s : people_) {
        if (!s.fidgets) drawSpectator(background, camera, s, false, false, 0.0, true);
    }
}

void Crowd::draw(cv::Mat& frame, const Camera& camera, double t) const {
    // Each spectator who is not part of the still background decides per
    // 6-second slot whether to stand up; the others stay seated, since their
    // seated picture is baked into the background and would stay behind.
    const auto slot = static_cast<uint64_t>(std::floor(t / 6.0));
    auto standsUp = [&](const Spectator& s) { return s.fidgets && hashUnit(s.id, slot) < 0.08; };
    for (const Spectator& s : people_) {
        if (s.fidgets && !standsUp(s)) drawSpectator(frame, camera, s, false, false, t, false);
    }
    for (const Spectator& s : people_) {
        if (standsUp(s)) drawSpectator(frame, camera, s, true, hashUnit(s.id + 7, slot) < 0.5, t, false);
    }
    drawBoard(frame, camera, t);
}

}  // namespace rallinox::synth
