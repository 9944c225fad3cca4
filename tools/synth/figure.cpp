#include "figure.h"

#include <algorithm>

#include "draw.h"
#include "jersey.h"

namespace rallinox::synth {
namespace {

void drawLeg(cv::Mat& frame, const Camera& camera, const Pose& p, int side, const Appearance& look) {
    const double h = look.height;
    const Vec3& hip = p.hip[side];
    const Vec3& knee = p.knee[side];
    const Vec3& ankle = p.ankle[side];
    const Vec3 shortsEnd = lerp(hip, knee, 0.4);
    const cv::Scalar legColour = look.trousers ? look.shorts : look.skin;
    drawBar(frame, camera, hip, shortsEnd, 0.085 * h, look.shorts);
    drawShadedBar(frame, camera, shortsEnd, knee, 0.07 * h, legColour);
    drawShadedBar(frame, camera, knee, ankle, 0.055 * h, legColour);
    if (look.kneePads) drawBar(frame, camera, lerp(knee, ankle, -0.05), lerp(knee, ankle, 0.18), 0.07 * h, look.shorts * 0.6);
    if (!look.trousers) drawBar(frame, camera, lerp(knee, ankle, 0.55), ankle, 0.05 * h, look.socks);
    drawBar(frame, camera, ankle, p.toe[side], 0.05 * h, look.shoes);
}

void drawArm(cv::Mat& frame, const Camera& camera, const Pose& p, int side, const Appearance& look) {
    const double h = look.height;
    const Vec3 sleeveEnd = lerp(p.shoulder[side], p.elbow[side], look.trousers ? 1.0 : 0.45);
    drawBar(frame, camera, p.shoulder[side], sleeveEnd, 0.06 * h, look.jersey);
    drawShadedBar(frame, camera, sleeveEnd, p.elbow[side], 0.045 * h, look.skin);
    drawShadedBar(frame, camera, p.elbow[side], p.hand[side], 0.04 * h, look.skin);
    drawDisc(frame, camera, p.hand[side], 0.025 * h, look.skin);
}

void drawHead(cv::Mat& frame, const Camera& camera, const Pose& p, const Appearance& look) {
    drawBar(frame, camera, p.neck, p.head, 0.05 * look.height, look.skin);
    drawDisc(frame, camera, p.head, p.headRadius, look.skin);
    // Hair covers the top and back of the head: seen from behind it covers
    // almost all of it.
    const Vec3 towardsCamera = (camera.position - p.head).normalized();
    const Vec3 hairCentre = p.head + Vec3{0, 0, 0.35 * p.headRadius} - p.forward * (0.35 * p.headRadius);
    const double facingAway = std::max(0.0, -p.forward.dot(towardsCamera));
    drawDisc(frame, camera, hairCentre + towardsCamera * (0.2 * facingAway * p.headRadius), p.headRadius * 0.82, look.hair);
}

// Picture area a pose can touch: its joints plus the widest bar.
cv::Rect reach(const Camera& camera, const Pose& p, const Appearance& look) {
    const double pad = 0.12 * look.height * camera.pixelsPerMetre(p.hipCentre) + 3;
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    auto add = [&](const Vec3& joint) {
        if (const auto q = camera.project(joint)) {
            x0 = std::min(x0, q->x), y0 = std::min(y0, q->y), x1 = std::max(x1, q->x), y1 = std::max(y1, q->y);
        }
    };
    add(p.head), add(p.neck), add(p.hipCentre);
    for (int s = 0; s < 2; ++s) {
        add(p.shoulder[s]), add(p.elbow[s]), add(p.hand[s]), add(p.hip[s]), add(p.knee[s]), add(p.ankle[s]), add(p.toe[s]);
    }
    if (x1 < x0) return {};
    return cv::Rect(cvFloor(x0 - pad), cvFloor(y0 - pad), cvCeil(x1 - x0 + 2 * pad) + 1, cvCeil(y1 - y0 + 2 * pad) + 1);
}

}  // namespace

void drawFigure(cv::Mat& frame, const Camera& camera, const Pose& p, const Appearance& look) {
    const int farSide = camera.depth(p.shoulder[0]) > camera.depth(p.shoulder[1]) ? 0 : 1;
    const int nearSide = 1 - farSide;
    const bool armsBehind = camera.depth(p.hand[farSide]) > camera.depth(p.neck);
    if (armsBehind) drawArm(frame, camera, p, farSide, look);
    drawLeg(frame, camera, p, farSide, look);
    drawLeg(frame, camera, p, nearSide, look);
    // Torso: a thick bar for its depth plus the quad between shoulders and hips.
    const double h = look.height;
    drawBar(frame, camera, lerp(p.hipCentre, p.neck, 0.1), lerp(p.hipCentre, p.neck, 0.85), 0.2 * h, look.jersey * 0.85);
    drawPolygon(frame, camera, {p.shoulder[0], p.shoulder[1], p.hip[1], p.hip[0]}, look.jersey * 0.85);
    drawShadedBar(frame, camera, lerp(p.hipCentre, p.neck, 0.25), lerp(p.hipCentre, p.neck, 0.8), 0.16 * h, look.jersey);
    drawBar(frame, camera, p.hip[0], p.hip[1], 0.09 * h, look.shorts);
    drawJerseyNumber(frame, camera, p, look);
    drawHead(frame, camera, p, look);
    if (!armsBehind) drawArm(frame, camera, p, farSide, look);
    drawArm(frame, camera, p, nearSide, look);
}

void drawMovingFigure(cv::Mat& frame, const Camera& camera, const std::vector<Pose>& during, const Appearance& look) {
    if (during.size() == 1) {
        drawFigure(frame, camera, during.front(), look);
        return;
    }
    cv::Rect area;
    for (const Pose& p : during) area |= reach(camera, p, look);
    area &= cv::Rect(0, 0, frame.cols, frame.rows);
    if (area.area() <= 0) return;
    // Drawn in a window of its own; the window's camera sees the same scene.
    Camera local = camera;
    local.principal -= cv::Point2d(area.tl());
    local.size = area.size();
    const cv::Mat background = frame(area).clone();
    cv::Mat sum(area.size(), CV_16UC3, cv::Scalar::all(0)), layer;
    for (const Pose& p : during) {
        background.copyTo(layer);
        drawFigure(layer, local, p, look);
        cv::add(sum, layer, sum, cv::noArray(), CV_16UC3);
    }
    // Where no pose reached, the average is the background exactly.
    cv::Mat target = frame(area);
    sum.convertTo(target, CV_8UC3, 1.0 / static_cast<double>(during.size()));
}

}  // namespace rallinox::synth
