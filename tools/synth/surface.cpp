#include "surface.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace rallinox::synth {
namespace {

double hashUnit(uint64_t a, int64_t b, int64_t c) {
    uint64_t x = a ^ (static_cast<uint64_t>(b) * 0x9E3779B97F4A7C15ull) ^ (static_cast<uint64_t>(c) * 0xC2B2AE3D27D4EB4Full);
    x ^= x >> 31;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 29;
    x *= 0x94D049BB133111EBull;
    x ^= x >> 32;
    return static_cast<double>(x >> 11) * 0x1.0p-53;
}

// 1 while a pixel is small against a pattern's period, falling to 0 before
// the period nears two pixels, where it would alias.
double resolved(double footprint, double period) { return std::clamp((0.75 - footprint / period) / 0.5, 0.0, 1.0); }

// How much of a pixel `footprint` wide, `distance` from a line `width`
// wide, the line covers: a box filter, so thin far seams fade out.
double lineCover(double distance, double width, double footprint) {
    const double half = 0.5 * std::max(footprint, 1e-6);
    const double overlap = std::min(distance + width / 2, half) - std::max(distance - width / 2, -half);
    return std::clamp(overlap / (2 * half), 0.0, 1.0);
}

}  // namespace

BoardPattern BoardPattern::floorBoards(Random& random) {
    BoardPattern p;
    p.width = random.uniform(0.06, 0.12);
    p.length = random.uniform(1.2, 3.5);
    p.seam = random.uniform(0.15, 0.35);
    p.grain = random.uniform(0.02, 0.06);
    p.tone = random.uniform(0.03, 0.08);
    p.seed = random.next();
    return p;
}

BoardPattern BoardPattern::wallBlocks(Random& random) {
    BoardPattern p;
    p.width = 0.2;  // one course of blocks
    p.length = 0.4;
    p.seam = random.uniform(-0.12, 0.12);  // mortar lighter or darker than the blocks
    p.grain = 0.0;
    p.tone = random.uniform(0.01, 0.04);
    p.gap = 0.01;
    p.halfBond = true;
    p.seed = random.next();
    return p;
}

void shadeSurface(cv::Mat& image, const cv::Mat& mask, const Camera& camera, const Surface& surface,
                  const BoardPattern& pattern) {
    const cv::Rect box = cv::boundingRect(mask);
    if (box.area() <= 0) return;
    const Vec3 normal = surface.u.cross(surface.v).normalized();
    const double height = (surface.origin - camera.position).dot(normal);
    // Where the ray through pixel (x, y) meets the surface, in (u, v) metres.
    auto onSurface = [&](double x, double y, double& u, double& v) {
        const Vec3 ray = camera.forward + camera.right * ((x - camera.principal.x) / camera.focal) +
                         camera.down * ((y - camera.principal.y) / camera.focal);
        const double facing = ray.dot(normal);
        if (std::abs(facing) < 1e-9) return false;
        const double s = height / facing;
        if (s <= 0) return false;
        const Vec3 hit = camera.position + ray * s - surface.origin;
        u = hit.dot(surface.u);
        v = hit.dot(surface.v);
        return true;
    };
    for (int y = box.y; y < box.y + box.height; ++y) {
        const uchar* m = mask.ptr<uchar>(y);
        auto* px = image.ptr<cv::Vec3b>(y);
        for (int x = box.x; x < box.x + box.width; ++x) {
            if (!m[x]) continue;
            double u, v, ux, vx, uy, vy;
            if (!onSurface(x + 0.5, y + 0.5, u, v) || !onSurface(x + 1.5, y + 0.5, ux, vx) || !onSurface(x + 0.5, y + 1.5, uy, vy)) continue;
            const double footU = std::max(std::abs(ux - u), std::abs(uy - u));
            const double footV = std::max(std::abs(vx - v), std::abs(vy - v));
            // Which board, and which plank along it: each board's planks end
            // at their own places, as laid.
            const double across = u / pattern.width;
            const auto board = static_cast<int64_t>(std::floor(across));
            const double stagger = pattern.halfBond ? 0.5 * pattern.length * static_cast<double>(board & 1)
                                                    : hashUnit(pattern.seed, board, -1) * pattern.length;
            const double along = (v + stagger) / pattern.length;
            const auto plank = static_cast<int64_t>(std::floor(along));
            // Detail finer than a pixel averages out to nothing.
            const double sharpU = resolved(footU, pattern.width);
            const double sharpV = resolved(footV, pattern.length);
            double shade = 1.0 + pattern.tone * (2 * hashUnit(pattern.seed, board, plank) - 1) * std::min(sharpU, sharpV);
            if (pattern.grain > 0) {
                const double phase = 5.0 * (across - board) + 0.8 * std::sin(1.7 * v + 6.0 * hashUnit(pattern.seed, board, plank + 7));
                shade += pattern.grain * std::sin(2 * M_PI * phase) * resolved(footU, pattern.width / 5);
            }
            const double toSide = std::abs(across - std::round(across)) * pattern.width;
            const double toEnd = std::abs(along - std::round(along)) * pattern.length;
            const double gap = std::max(lineCover(toSide, pattern.gap, footU) * sharpU, lineCover(toEnd, pattern.gap, footV) * sharpV);
            shade -= pattern.seam * gap;
            for (int c = 0; c < 3; ++c) px[x][c] = cv::saturate_cast<uchar>(px[x][c] * shade);
        }
    }
}

}  // namespace rallinox::synth
