#include "camera.h"

#include <algorithm>
#include <cmath>
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

Reach parseReach(const std::string& name) {
    if (name == "close") return Reach::Close;
    if (name == "far") return Reach::Far;
    throw std::invalid_argument("unknown camera reach: " + name);
}

std::string reachName(Reach reach) { return reach == Reach::Close ? "close" : "far"; }

double courtWidthShare(const Camera& camera) {
    std::vector<cv::Point2d> court = camera.projectPolygon({{0, 0, 0}, {9, 0, 0}, {9, 18, 0}, {0, 18, 0}});
    if (court.empty()) return 0.0;
    double left = camera.size.width, right = 0.0;
    for (const cv::Point2d& p : court) {
        left = std::min(left, std::clamp(p.x, 0.0, double(camera.size.width)));
        right = std::max(right, std::clamp(p.x, 0.0, double(camera.size.width)));
    }
    return std::max(0.0, right - left) / camera.size.width;
}

Camera chooseCamera(View view, Reach reach, cv::Size size, Random& random) {
    const double scale = size.height / 1080.0;
    const double margin = 0.02 * size.height;
    // Player sizes at 1080 lines, near and far side, measured on real footage
    // (close). Far cameras sit just beyond the far end of that range: smaller
    // than any measured recording, yet a ball a camera can still show
    // (10-18 px across at 1080 lines in the middle of the court).
    const bool close = reach == Reach::Close;
    const double nearMin = close ? 200 : 150, nearMax = close ? 400 : (view == View::Baseline ? 200 : 220);
    const double farMin = close ? 120 : (view == View::Baseline ? 80 : 90),
                 farMax = close ? 180 : (view == View::Baseline ? 120 : 140);
    const auto sizesFit = [&](const Camera& c, const Vec3& nearFoot, const Vec3& farFoot) {
        const double nearPx = playerPixels(c, nearFoot) / scale;
        const double farPx = playerPixels(c, farFoot) / scale;
        return nearPx >= nearMin && nearPx <= nearMax && farPx >= farMin && farPx <= farMax;
    };
    // A close camera may cut the near corners, but the far side, the net and
    // the near players stay in the picture, the court fills most of its width
    // and the ball is 15-25 px across in the middle of the court.
    const auto closeFits = [&](const Camera& c, const std::vector<Vec3>& visible) {
        for (const Vec3& p : visible) {
            if (!inside(c, p, margin)) return false;
        }
        const double ballPx = 2 * kBallRadius * c.pixelsPerMetre({4.5, 9.0, 1.5}) / scale;
        const double share = courtWidthShare(c);
        return share >= 0.6 && share <= 1.0 && ballPx >= 15 && ballPx <= 25;
    };
    if (view == View::Baseline) {
        return sampleUntilFits(
            random, size,
            [&] {
                const Vec3 position = close ? Vec3{4.5 + random.uniform(-2.0, 2.0), -random.uniform(0.5, 10.0),
                                                   random.uniform(2.0, 9.0)}
                                            : Vec3{4.5 + random.uniform(-2.0, 2.0), -random.uniform(4.0, 16.0),
                                                   random.uniform(3.5, 10.0)};
                const Vec3 target{4.5 + random.uniform(-0.8, 0.8), random.uniform(7.0, 11.0), 0.0};
                const double focal = close ? random.uniform(700, 3500) : random.uniform(800, 2600);
                return Camera::lookAt(position, target, focal * scale, size);
            },
            [&](const Camera& c) {
                if (!sizesFit(c, {4.5, 1.0, 0}, {4.5, 17.0, 0})) return false;
                if (close) {
                    return closeFits(c, {{-0.5, 18.5, 3.5}, {9.5, 18.5, 3.5}, {0, 18, 0}, {9, 18, 0}, {4.5, 1.0, 0},
                                         {4.5, 1.0, 2.0}});
                }
                for (const Vec3& p : {Vec3{-0.5, -1.0, 0}, Vec3{9.5, -1.0, 0}, Vec3{-0.5, 18.5, 3.5},
                                      Vec3{9.5, 18.5, 3.5}}) {
                    if (!inside(c, p, margin)) return false;
                }
                return true;
            });
    }
    return sampleUntilFits(
        random, size,
        [&] {
            const Vec3 position = close ? Vec3{-random.uniform(1.0, 11.0), 9.0 + random.uniform(-3.0, 3.0),
                                               random.uniform(2.0, 9.0)}
                                        : Vec3{-random.uniform(6.0, 15.0), 9.0 + random.uniform(-3.0, 3.0),
                                               random.uniform(3.0, 9.0)};
            const Vec3 target{random.uniform(4.0, 6.0), 9.0 + random.uniform(-1.0, 1.0), 0.0};
            const double focal = close ? random.uniform(500, 3000) : random.uniform(500, 2000);
            return Camera::lookAt(position, target, focal * scale, size);
        },
        [&](const Camera& c) {
            if (!sizesFit(c, {1.0, 9.0, 0}, {8.0, 9.0, 0})) return false;
            if (close) {
                return closeFits(c, {{9, 0, 0}, {9, 18, 0}, {9.5, 9.0, 3.0}, {1.0, 9.0, 0}, {1.0, 9.0, 2.0}});
            }
            for (const Vec3& p : {Vec3{-0.5, -1.0, 0}, Vec3{-0.5, 19.0, 0}, Vec3{9.5, -1.0, 3.0},
                                  Vec3{9.5, 19.0, 3.0}}) {
                if (!inside(c, p, margin)) return false;
            }
            return true;
        });
}

cv::Point toFixed(const cv::Point2d& p) {
    return {cvRound(p.x * (1 << kDrawShift)), cvRound(p.y * (1 << kDrawShift))};
}

}  // namespace rallinox::synth
