#pragma once
// Drawing of court-space shapes into the picture with anti-aliased edges.
#include <opencv2/core.hpp>

#include <vector>

#include "camera.h"

namespace rallinox::synth {

// A rounded bar of `width` metres between two points (a limb, a post).
void drawBar(cv::Mat& frame, const Camera& camera, const Vec3& a, const Vec3& b, double width, const cv::Scalar& colour);
// The same bar lit from above: a darker body with a lighter stripe on the
// side facing the lights, so limbs read as round.
void drawShadedBar(cv::Mat& frame, const Camera& camera, const Vec3& a, const Vec3& b, double width,
                   const cv::Scalar& colour);
void drawDisc(cv::Mat& frame, const Camera& camera, const Vec3& centre, double radius, const cv::Scalar& colour);
// Flat polygon in space (floor areas, walls, boards).
void drawPolygon(cv::Mat& frame, const Camera& camera, const std::vector<Vec3>& corners, const cv::Scalar& colour);
// Soft dark patch on the floor under a body or ball.
void drawShadow(cv::Mat& frame, const Camera& camera, const Vec3& onFloor, double radius, double strength);

}  // namespace rallinox::synth
