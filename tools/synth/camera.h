#pragma once
// Pinhole camera looking at the court, and the placements an amateur
// filming a match uses: high behind a baseline, or in the side stands.
#include <opencv2/core.hpp>

#include <optional>
#include <string>
#include <vector>

#include "random.h"
#include "vec3.h"

namespace rallinox::synth {

enum class View { Baseline, Side };

View parseView(const std::string& name);
std::string viewName(View view);

struct Camera {
    Vec3 position;
    Vec3 right, down, forward;  // unit axes of the image plane and view direction
    double focal = 1000;        // pixels
    cv::Point2d principal;
    cv::Size size;
    cv::Point2d shake;  // per-frame offset of the whole picture, pixels

    static Camera lookAt(const Vec3& position, const Vec3& target, double focal, cv::Size size);

    double depth(const Vec3& p) const { return (p - position).dot(forward); }
    // Image position, or nothing when the point is behind the camera.
    std::optional<cv::Point2d> project(const Vec3& p) const;
    double pixelsPerMetre(const Vec3& p) const { return focal / std::max(depth(p), 0.05); }
    // Polygon clipped at a near plane so that floors and walls reaching
    // behind the camera still draw correctly.
    std::vector<cv::Point2d> projectPolygon(const std::vector<Vec3>& corners) const;
};

// How far the camera stands. Close: the court fills 60-100 % of the picture
// width, a 1.9 m player is 200-400 px tall near the camera and 120-180 px at
// the far side of a 1080-line picture (real club footage; the ball is then
// 15-25 px across). Far: a tripod at the back of the hall, players 150-220 px
// near and 80-140 px far. Sizes scale with the requested picture height.
enum class Reach { Close, Far };

Reach parseReach(const std::string& name);
std::string reachName(Reach reach);

Camera chooseCamera(View view, Reach reach, cv::Size size, Random& random);

// Share of the picture width the court's floor spans (clipped to the picture).
double courtWidthShare(const Camera& camera);

// Fixed-point points for OpenCV's drawing functions with sub-pixel shift.
constexpr int kDrawShift = 4;
cv::Point toFixed(const cv::Point2d& p);

}  // namespace rallinox::synth
