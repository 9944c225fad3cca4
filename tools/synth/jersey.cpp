#include "jersey.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>

namespace rallinox::synth {
namespace {

constexpr int kLargestNumber = 99;
constexpr int kGlyphSize = 64;  // pixels of the sharpest print picture
constexpr int kLevels = 3;      // 64, 32 and 16 pixels, so shrinking never aliases

// Print pictures of every number at a few sizes, made once.
const cv::Mat& glyph(int number, double pixels) {
    static const auto pictures = [] {
        std::array<std::array<cv::Mat, kLevels>, kLargestNumber + 1> all;
        for (int n = 1; n <= kLargestNumber; ++n) {
            cv::Mat sharp(kGlyphSize, kGlyphSize, CV_8U, cv::Scalar(0));
            const std::string text = std::to_string(n);
            const int font = cv::FONT_HERSHEY_DUPLEX, thickness = 7;
            int baseline = 0;
            const double scale = 1.5;
            cv::Size box = cv::getTextSize(text, font, scale, thickness, &baseline);
            // Two digits are squeezed to fit the width, as printers do.
            cv::Mat wide(box.height + 2 * thickness, std::max(box.width + 2 * thickness, kGlyphSize / 2), CV_8U, cv::Scalar(0));
            cv::putText(wide, text, {(wide.cols - box.width) / 2, thickness + box.height}, font, scale, cv::Scalar(255),
                        thickness, cv::LINE_AA);
            const double fit = std::min(1.0, double(kGlyphSize) / wide.cols);
            cv::Mat fitted;
            cv::resize(wide, fitted, cv::Size(cvRound(wide.cols * fit), std::min(kGlyphSize, wide.rows)), 0, 0, cv::INTER_AREA);
            fitted.copyTo(sharp(cv::Rect((kGlyphSize - fitted.cols) / 2, (kGlyphSize - fitted.rows) / 2, fitted.cols, fitted.rows)));
            all[static_cast<size_t>(n)][0] = sharp;
            for (int level = 1; level < kLevels; ++level) {
                cv::resize(all[static_cast<size_t>(n)][static_cast<size_t>(level - 1)],
                           all[static_cast<size_t>(n)][static_cast<size_t>(level)], cv::Size(), 0.5, 0.5, cv::INTER_AREA);
            }
        }
        return all;
    }();
    int level = 0;
    while (level + 1 < kLevels && (kGlyphSize >> (level + 1)) >= pixels) ++level;
    return pictures[static_cast<size_t>(number)][static_cast<size_t>(level)];
}

double luminance(const cv::Scalar& c) { return 0.114 * c[0] + 0.587 * c[1] + 0.299 * c[2]; }

}  // namespace

std::vector<Appearance> numberShirts(const std::vector<Actor>& actors, Random& random) {
    std::vector<Appearance> looks;
    std::array<std::vector<int>, 2> free;
    for (auto& numbers : free) {
        for (int n = 1; n <= 24; ++n) numbers.push_back(n);
    }
    for (const Actor& actor : actors) {
        Appearance look = actor.look();
        if (actor.team() == 0 || actor.team() == 1) {
            std::vector<int>& numbers = free[static_cast<size_t>(actor.team())];
            if (!numbers.empty()) {
                const auto pick = numbers.begin() + random.index(static_cast<int>(numbers.size()));
                look.number = *pick;
                numbers.erase(pick);
            }
        }
        looks.push_back(look);
    }
    return looks;
}

void drawJerseyNumber(cv::Mat& frame, const Camera& camera, const Pose& p, const Appearance& look) {
    if (look.number <= 0 || look.number > kLargestNumber) return;
    const Vec3 up = (p.neck - p.hipCentre).normalized();
    const Vec3 right = p.forward.cross(Vec3{0, 0, 1}).normalized();
    const Vec3 chest = lerp(p.hipCentre, p.neck, 0.62);
    const double facing = p.forward.dot((camera.position - chest).normalized());
    // Seen edge-on the print wraps round the side of the body out of view.
    const double shown = std::clamp((std::abs(facing) - 0.2) / 0.35, 0.0, 1.0);
    if (shown <= 0) return;
    const bool back = facing < 0;
    const double size = back ? 0.27 : 0.17;  // metres; the front number is the smaller one
    const Vec3 normal = back ? p.forward * -1.0 : p.forward;
    const Vec3 across = back ? right : right * -1.0;  // reading direction as the camera sees it
    const Vec3 centre = lerp(p.hipCentre, p.neck, back ? 0.6 : 0.7) + normal * (0.09 * look.height);
    const auto topLeft = camera.project(centre - across * (size / 2) + up * (size / 2));
    const auto topRight = camera.project(centre + across * (size / 2) + up * (size / 2));
    const auto bottomLeft = camera.project(centre - across * (size / 2) - up * (size / 2));
    if (!topLeft || !topRight || !bottomLeft) return;
    const double pixels = std::max(cv::norm(*topRight - *topLeft), cv::norm(*bottomLeft - *topLeft));
    if (pixels < 4) return;  // a few pixels of print would only be noise
    const cv::Point2d bottomRight = *topRight + *bottomLeft - *topLeft;
    const cv::Rect box = cv::boundingRect(std::vector<cv::Point>{cv::Point(*topLeft), cv::Point(*topRight), cv::Point(*bottomLeft),
                                                                  cv::Point(bottomRight)});
    const cv::Rect roi = (box + cv::Size(2, 2)) & cv::Rect(0, 0, frame.cols, frame.rows);
    if (roi.area() <= 0) return;

    const cv::Mat& picture = glyph(look.number, pixels);
    const float n = static_cast<float>(picture.cols);
    const cv::Point2f from[3] = {{0, 0}, {n, 0}, {0, n}};
    const cv::Point2f to[3] = {cv::Point2f(*topLeft - cv::Point2d(roi.tl())), cv::Point2f(*topRight - cv::Point2d(roi.tl())),
                               cv::Point2f(*bottomLeft - cv::Point2d(roi.tl()))};
    cv::Mat coverage;
    cv::warpAffine(picture, coverage, cv::getAffineTransform(from, to), roi.size(), cv::INTER_LINEAR, cv::BORDER_CONSTANT);

    const cv::Scalar ink = luminance(look.jersey) > 140 ? look.jersey * 0.2 : cv::Scalar(235, 235, 235);
    const double strength = shown / 255.0;
    cv::Mat area = frame(roi);
    for (int y = 0; y < area.rows; ++y) {
        auto* px = area.ptr<cv::Vec3b>(y);
        const uchar* w = coverage.ptr<uchar>(y);
        for (int x = 0; x < area.cols; ++x) {
            if (!w[x]) continue;
            const double a = w[x] * strength;
            for (int c = 0; c < 3; ++c) px[x][c] = cv::saturate_cast<uchar>(px[x][c] + (ink[c] - px[x][c]) * a);
        }
    }
}

}  // namespace rallinox::synth
