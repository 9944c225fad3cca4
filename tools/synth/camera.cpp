#include "camera.h"

#include <algorithm>
#include <stdexcept>

namespace rallinox::synth {
namespace {

constexpr double kNearPlane = 0.3;
constexpr double kPlayerHeight = 1.9;

bool inside(const Camera& camera, const Vec3& p, double margin) {
    const auto q = camera.project(p);
    return q && q->x >= margin && q->y >= margin && q->x <= camera.size.width - margin &&
           q->y <= camera.size.height - margin;
}

double playerPixels(const Camera& camera, const Vec3& foot) {
    const auto a = camera.project(foot);
    const auto b = camera.project(foot + Vec3{0, 0, kPlayerHeight});
    return a && b ? std::hypot(a->x - b->x, a->y - b->y) : 0.0;
}

// Rejection sampling keeps the placements varied while guaranteeing the
// court is in the picture and the players have realistic sizes.
Camera sampleUntilFits(Random& random, cv::Size size, auto&& sample, auto&& fits) {
    for (int attempt = 0; attempt < 5000; ++attempt) {
        Camera camera = sample();
        if (fits(camera)) return camera;
    }
    throw std::runtime_error("no camera placement fits the picture");
}

}  // namespace

View parseView(const std::string& name) {
    if (name == "baseline") return View::Baseline;
    if (name == "side") return View::Side;
    throw std::invalid_argument("unknown view: " + name);
}

std::string viewName(View view) { return view == View::Baseline ? "baseline" : "side"; }

Camera Camera::lookAt(const Vec3& position, const Vec3& target, double focal, cv::Size size) {
    Camera c;
    c.position = position;
    c.forward = (target - position).normalized();
    c.right = c.forward.cross(Vec3{0, 0, 1}).normalized();
    c.down = c.forward.cross(c.right);
    c.focal = focal;
    c.size = size;
    c.principal = {size.width / 2.0, size.height / 2.0};
    return c;
}

std::optional<cv::Point2d> Camera::project(const Vec3& p) const {
    const Vec3 d = p - position;
    const double z = d.dot(forward);
    if (z < kNearPlane * 0.999) return std::nullopt;
    return cv::Point2d(principal.x + shake.x + focal * d.dot(right) / z,
                       principal.y + shake.y + focal * d.dot(down) / z);
}

std::vector<cv::Point2d> Camera::projectPolygon(const std::vector<Vec3>& corners) const {
    std::vector<Vec3> clipped;
    for (size_t i = 0; i < corners.size(); ++i) {
        const Vec3& a = corners[i];
        const Vec3& b = corners[(i + 1) % corners.size()];
        const double da = depth(a) - kNearPlane, db = depth(b) - kNearPlane;
        if (da >= 0) clipped.push_back(a);
        if ((da >= 0) != (db >= 0)) clipped.push_back(lerp(a, b, da / (da - db)));
    }
    std::vector<cv::Point2d> points;
    for (const Vec3& p : clipped) {
        if (auto q = project(p)) points.push_back(*q);
    }
    return points;
}

Camera chooseCamera(View view, cv::Size size, Random& random) {
    const double scale = size.height / 1080.0;
    if (view == View::Baseline) {
        return sampleUntilFits(
            random, size,
            [&] {
                const Vec3 position{4.5 + random.uniform(-2.0, 2.0), -random.uniform(4.0, 16.0),
                                    random.uniform(3.5, 10.0)};
                const Vec3 target{4.5 + random.uniform(-0.8, 0.8), random.uniform(7.0, 11.0), 0.0};
                return Camera::lookAt(position, target, random.uniform(800, 2600) * scale, size);
            },
            [&](const Camera& c) {
                const double margin = 0.02 * size.height;
                for (const Vec3& p : {Vec3{-0.5, -1.0, 0}, Vec3{9.5, -1.0, 0}, Vec3{-0.5, 18.5, 3.5},
                                      Vec3{9.5, 18.5, 3.5}}) {
                    if (!inside(c, p, margin)) return false;
                }
                const double nearPx = playerPixels(c, {4.5, 1.0, 0}) / scale;
                const double farPx = playerPixels(c, {4.5, 17.0, 0}) / scale;
                return nearPx >= 90 && nearPx <= 150 && farPx >= 50 && farPx <= 80;
            });
    }
    return sampleUntilFits(
        random, size,
        [&] {
            const Vec3 position{-random.uniform(5.0, 11.0), 9.0 + random.uniform(-3.0, 3.0),
                                random.uniform(3.0, 9.0)};
            const Vec3 target{random.uniform(4.0, 6.0), 9.0 + random.uniform(-1.0, 1.0), 0.0};
            return Camera::lookAt(position, target, random.uniform(500, 2000) * scale, size);
        },
        [&](const Camera& c) {
            const double margin = 0.02 * size.height;
            for (const Vec3& p : {Vec3{-0.5, -1.0, 0}, Vec3{-0.5, 19.0, 0}, Vec3{9.5, -1.0, 3.0},
                                  Vec3{9.5, 19.0, 3.0}}) {
                if (!inside(c, p, margin)) return false;
            }
            const double nearPx = playerPixels(c, {1.0, 9.0, 0}) / scale;
            const double farPx = playerPixels(c, {8.0, 9.0, 0}) / scale;
            return nearPx >= 90 && nearPx <= 170 && farPx >= 55 && farPx <= 110;
        });
}

cv::Point toFixed(const cv::Point2d& p) {
    return {cvRound(p.x * (1 << kDrawShift)), cvRound(p.y * (1 << kDrawShift))};
}

}  // namespace rallinox::synth
