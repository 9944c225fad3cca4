#include "draw.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace rallinox::synth {

namespace {

// A thick line with round ends as one convex polygon: a third of the work
// of OpenCV's thick line, which fills the body and both end discs apart,
// and the width need not be whole pixels.
void fillCapsule(cv::Mat& frame, const cv::Point2d& a, const cv::Point2d& b, double radius, const cv::Scalar& colour) {
    cv::Point2d along = b - a;
    const double length = cv::norm(along);
    along = length > 1e-6 ? along * (1.0 / length) : cv::Point2d(1, 0);
    const cv::Point2d across(-along.y, along.x);
    // As many corners on each end as OpenCV gives a disc of that size.
    const int steps = radius < 3 ? 2 : radius < 10 ? 6 : radius < 15 ? 10 : 18;
    cv::Point points[2 * 19];
    int n = 0;
    for (int end = 0; end < 2; ++end) {
        const cv::Point2d& centre = end == 0 ? b : a;
        const double sign = end == 0 ? 1.0 : -1.0;
        for (int i = 0; i <= steps; ++i) {
            const double angle = M_PI * (double(i) / steps - 0.5);
            points[n++] = toFixed(centre + (along * std::cos(angle) + across * std::sin(angle)) * (sign * radius));
        }
    }
    cv::fillConvexPoly(frame, points, n, colour, cv::LINE_AA, kDrawShift);
}

}  // namespace

void drawBar(cv::Mat& frame, const Camera& camera, const Vec3& a, const Vec3& b, double width, const cv::Scalar& colour) {
    const auto pa = camera.project(a);
    const auto pb = camera.project(b);
    if (!pa || !pb) return;
    const double pixels = width * camera.pixelsPerMetre((a + b) * 0.5);
    // Hairlines (net threads, far limbs) stay one anti-aliased pixel wide.
    if (pixels < 1.5) {
        cv::line(frame, toFixed(*pa), toFixed(*pb), colour, 1, cv::LINE_AA, kDrawShift);
        return;
    }
    fillCapsule(frame, *pa, *pb, pixels / 2, colour);
}

void drawShadedBar(cv::Mat& frame, const Camera& camera, const Vec3& a, const Vec3& b, double width,
                   const cv::Scalar& colour) {
    drawBar(frame, camera, a, b, width, colour * 0.82);
    const Vec3 towardsLight = (Vec3{0, 0, 1} - camera.right * 0.5) * (0.22 * width);
    const cv::Scalar lit(std::min(255.0, colour[0] * 1.12 + 8), std::min(255.0, colour[1] * 1.12 + 8),
                         std::min(255.0, colour[2] * 1.12 + 8));
    drawBar(frame, camera, a + towardsLight, b + towardsLight, width * 0.45, lit);
}

void drawDisc(cv::Mat& frame, const Camera& camera, const Vec3& centre, double radius, const cv::Scalar& colour) {
    const auto c = camera.project(centre);
    if (!c) return;
    const double pixels = radius * camera.pixelsPerMetre(centre);
    cv::circle(frame, toFixed(*c), std::max(1, cvRound(pixels * (1 << kDrawShift))), colour, cv::FILLED, cv::LINE_AA,
               kDrawShift);
}

void drawPolygon(cv::Mat& frame, const Camera& camera, const std::vector<Vec3>& corners, const cv::Scalar& colour) {
    const std::vector<cv::Point2d> projected = camera.projectPolygon(corners);
    if (projected.size() < 3) return;
    std::vector<cv::Point> points;
    points.reserve(projected.size());
    for (const auto& p : projected) points.push_back(toFixed(p));
    cv::fillPoly(frame, std::vector<std::vector<cv::Point>>{points}, colour, cv::LINE_AA, kDrawShift);
}

void drawShadow(cv::Mat& frame, const Camera& camera, const Vec3& onFloor, double radius, double strength) {
    const auto c = camera.project(onFloor);
    const auto side = camera.project(onFloor + camera.right.flat().normalized() * radius);
    const auto back = camera.project(onFloor + camera.forward.flat().normalized() * radius);
    if (!c || !side || !back) return;
    const double rx = std::max(1.0, cv::norm(*side - *c));
    const double ry = std::max(1.0, cv::norm(*back - *c));
    const cv::Rect box = cv::Rect(cvFloor(c->x - rx - 2), cvFloor(c->y - ry - 2), cvCeil(2 * rx + 5), cvCeil(2 * ry + 5)) &
                         cv::Rect(0, 0, frame.cols, frame.rows);
    if (box.area() <= 0) return;
    cv::Mat roi = frame(box);
    cv::Mat mask(box.size(), CV_8U, cv::Scalar(0));
    cv::ellipse(mask, toFixed(*c - cv::Point2d(box.x, box.y)),
                cv::Size(cvRound(rx * (1 << kDrawShift)), cvRound(ry * (1 << kDrawShift))), 0, 0, 360,
                cv::Scalar(255 * strength), cv::FILLED, cv::LINE_AA, kDrawShift);
    cv::blur(mask, mask, cv::Size(3, 3));
    for (int y = 0; y < roi.rows; ++y) {
        auto* row = roi.ptr<cv::Vec3b>(y);
        const uchar* m = mask.ptr<uchar>(y);
        for (int x = 0; x < roi.cols; ++x) {
            if (m[x]) row[x] = row[x] * (1.0 - m[x] / 255.0);
        }
    }
}

}  // namespace rallinox::synth
