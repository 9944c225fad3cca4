#include "hall.h"

#include <opencv2/imgproc.hpp>

#include <optional>

#include "draw.h"
#include "stands.h"
#include "surface.h"

namespace rallinox::synth {
namespace {

constexpr double kHallMinX = -11, kHallMaxX = 21, kHallMinY = -20, kHallMaxY = 34, kHallHeight = 11;
constexpr double kLineWidth = 0.05;

const std::vector<cv::Scalar> kCourtColours = {{40, 105, 205}, {150, 95, 45}, {70, 125, 60},
                                               {95, 150, 200}, {120, 110, 100}, {60, 80, 170}};
const std::vector<cv::Scalar> kZoneColours = {{60, 110, 50}, {140, 80, 40}, {110, 105, 100}, {50, 60, 140}, {80, 140, 190}};
const std::vector<cv::Scalar> kWallColours = {{200, 205, 210}, {170, 185, 200}, {150, 160, 150}, {120, 130, 150}, {190, 180, 160}};
const std::vector<cv::Scalar> kBoardColours = {{30, 30, 200}, {180, 90, 20}, {20, 160, 240}, {40, 140, 40},
                                               {230, 230, 230}, {30, 30, 30}, {120, 30, 120}, {0, 200, 255}};

cv::Scalar pick(const std::vector<cv::Scalar>& palette, Random& random) {
    const cv::Scalar& c = palette[static_cast<size_t>(random.index(static_cast<int>(palette.size())))];
    const double k = random.uniform(0.85, 1.1);
    return {std::min(255.0, c[0] * k), std::min(255.0, c[1] * k), std::min(255.0, c[2] * k)};
}

std::vector<Vec3> floorRect(double x0, double y0, double x1, double y1, double z = 0) {
    return {{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}};
}

void floorLine(cv::Mat& img, const Camera& c, const Vec3& a, const Vec3& b, const cv::Scalar& colour) {
    const Vec3 n = (b - a).cross(Vec3{0, 0, 1}).normalized() * (kLineWidth / 2);
    drawPolygon(img, c, {a + n, b + n, b - n, a - n}, colour);
}

// What a hall is built of, beyond its colours.
struct Build {
    std::optional<BoardPattern> floorBoards;  // a wooden floor
    bool woodenZone = false;                  // the free zone left as bare wood too
    cv::Scalar wood;
    std::optional<BoardPattern> wallBlocks;   // bare block walls
};

Build chooseBuild(Random& detail) {
    Build b;
    if (detail.chance(0.55)) {
        b.floorBoards = BoardPattern::floorBoards(detail);
        b.wood = cv::Scalar(70, 135, 190) * detail.uniform(0.6, 1.1);
        b.woodenZone = detail.chance(0.4);
    }
    if (detail.chance(0.6)) b.wallBlocks = BoardPattern::wallBlocks(detail);
    return b;
}

void shade(cv::Mat& img, const Camera& c, const std::vector<Vec3>& area, const Surface& surface, const BoardPattern& pattern) {
    cv::Mat mask(img.size(), CV_8U, cv::Scalar(0));
    drawPolygon(mask, c, area, cv::Scalar(255));
    shadeSurface(img, mask, c, surface, pattern);
}

void drawWalls(cv::Mat& img, const Camera& c, Random& random, const Build& build) {
    const cv::Scalar wall = pick(kWallColours, random);
    const cv::Scalar padding = pick(kBoardColours, random) * 0.7;
    const double padHeight = random.uniform(1.5, 2.5);
    auto wallQuad = [&](const Vec3& a, const Vec3& b) {
        drawPolygon(img, c, {a + Vec3{0, 0, kHallHeight}, b + Vec3{0, 0, kHallHeight}, b, a}, wall);
        if (build.wallBlocks) {
            shade(img, c, {a + Vec3{0, 0, kHallHeight}, b + Vec3{0, 0, kHallHeight}, b, a},
                  {a, Vec3{0, 0, 1}, (b - a).normalized()}, *build.wallBlocks);
        }
        drawPolygon(img, c, {a + Vec3{0, 0, padHeight}, b + Vec3{0, 0, padHeight}, b, a}, padding);
        // Windows high up let daylight in.
        const Vec3 along = b - a;
        for (double u = 0.05; u < 0.95; u += 0.12) {
            const Vec3 p = a + along * u, q = a + along * (u + 0.05);
            drawPolygon(img, c, {p + Vec3{0, 0, 8.0}, q + Vec3{0, 0, 8.0}, q + Vec3{0, 0, 9.3}, p + Vec3{0, 0, 9.3}},
                        {205, 200, 190});
        }
    };
    // Ceiling with rows of lamps.
    drawPolygon(img, c, floorRect(kHallMinX, kHallMinY, kHallMaxX, kHallMaxY, kHallHeight), wall * 0.55);
    for (double x = -6; x <= 15; x += 7) {
        for (double y = -8; y <= 26; y += 6) {
            drawPolygon(img, c, floorRect(x - 0.6, y - 0.3, x + 0.6, y + 0.3, kHallHeight - 0.05), {235, 245, 250});
        }
    }
    wallQuad({kHallMinX, kHallMaxY, 0}, {kHallMaxX, kHallMaxY, 0});
    wallQuad({kHallMinX, kHallMinY, 0}, {kHallMinX, kHallMaxY, 0});
    wallQuad({kHallMaxX, kHallMaxY, 0}, {kHallMaxX, kHallMinY, 0});
    wallQuad({kHallMaxX, kHallMinY, 0}, {kHallMinX, kHallMinY, 0});
}

void drawCourt(cv::Mat& img, const Camera& c, Random& random, const Build& build, cv::Scalar& courtColour) {
    cv::Scalar hallFloor = pick(kZoneColours, random) * 0.8;
    cv::Scalar zone = pick(kZoneColours, random);
    courtColour = pick(kCourtColours, random);
    if (build.floorBoards) {
        hallFloor = build.wood;
        if (build.woodenZone) zone = build.wood * 1.05;
    }
    const cv::Scalar line = random.chance(0.8) ? cv::Scalar(235, 235, 235) : cv::Scalar(60, 220, 240);
    drawPolygon(img, c, floorRect(kHallMinX, kHallMinY, kHallMaxX, kHallMaxY), hallFloor);
    drawPolygon(img, c, floorRect(-3, -6.5, 12, 24.5), zone);
    drawPolygon(img, c, floorRect(0, 0, 9, 18), courtColour);
    // Multi-sport halls carry other courts' lines too.
    const cv::Scalar other = pick(kBoardColours, random);
    const double ox = random.uniform(-6, -4), oy = random.uniform(-12, -9);
    for (const auto& [a, b] : std::vector<std::pair<Vec3, Vec3>>{{{ox, oy, 0}, {9 - ox, oy, 0}},
                                                                  {{9 - ox, oy, 0}, {9 - ox, 18 - oy, 0}},
                                                                  {{9 - ox, 18 - oy, 0}, {ox, 18 - oy, 0}},
                                                                  {{ox, 18 - oy, 0}, {ox, oy, 0}},
                                                                  {{ox, 9, 0}, {9 - ox, 9, 0}}}) {
        floorLine(img, c, a, b, other);
    }
    for (int i = 0; i < 48; ++i) {
        const double a0 = i * M_PI / 24, a1 = (i + 1) * M_PI / 24;
        floorLine(img, c, {4.5 + 1.8 * std::cos(a0), 9 + 1.8 * std::sin(a0), 0}, {4.5 + 1.8 * std::cos(a1), 9 + 1.8 * std::sin(a1), 0}, other);
    }
    const double w = kLineWidth;
    for (const auto& [a, b] : std::vector<std::pair<Vec3, Vec3>>{{{w / 2, 0, 0}, {w / 2, 18, 0}},
                                                                  {{9 - w / 2, 0, 0}, {9 - w / 2, 18, 0}},
                                                                  {{0, w / 2, 0}, {9, w / 2, 0}},
                                                                  {{0, 18 - w / 2, 0}, {9, 18 - w / 2, 0}},
                                                                  {{0, 9, 0}, {9, 9, 0}},
                                                                  {{0, 6, 0}, {9, 6, 0}},
                                                                  {{0, 12, 0}, {9, 12, 0}}}) {
        floorLine(img, c, a, b, line);
    }
    // Paint and lines lie on the boards, so the seams show through them.
    if (build.floorBoards) {
        shade(img, c, floorRect(kHallMinX, kHallMinY, kHallMaxX, kHallMaxY), {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, *build.floorBoards);
    }
}

void drawBoards(cv::Mat& img, const Camera& c, Random& random, const Vec3& from, const Vec3& to) {
    const Vec3 along = (to - from);
    const int count = std::max(1, static_cast<int>(along.length() / 3.0));
    for (int i = 0; i < count; ++i) {
        const Vec3 a = from + along * (double(i) / count), b = from + along * (double(i + 1) / count);
        const cv::Scalar colour = pick(kBoardColours, random);
        drawPolygon(img, c, {a, b, b + Vec3{0, 0, 0.9}, a + Vec3{0, 0, 0.9}}, colour);
        // Lettering: a few blocks in a contrasting colour.
        const cv::Scalar ink = colour[0] + colour[1] + colour[2] > 380 ? cv::Scalar(40, 40, 40) : cv::Scalar(240, 240, 240);
        for (double u = random.uniform(0.05, 0.2); u < 0.85; u += random.uniform(0.08, 0.16)) {
            const Vec3 p = lerp(a, b, u), q = lerp(a, b, u + random.uniform(0.04, 0.1));
            drawPolygon(img, c, {p + Vec3{0, 0, 0.25}, q + Vec3{0, 0, 0.25}, q + Vec3{0, 0, 0.65}, p + Vec3{0, 0, 0.65}}, ink);
        }
    }
}

void drawStands(cv::Mat& img, const Camera& c, Random& random) {
    const cv::Scalar step = pick(kWallColours, random) * 0.6;
    const cv::Scalar seat = pick(kBoardColours, random) * 0.8;
    for (const Stand& s : standsFor(c)) {
        // Steps from the back row forward so nearer ones cover farther ones.
        for (int row = s.rows - 1; row >= 0; --row) {
            const Vec3 front = s.origin + s.outward * (Stand::kRowDepth * row);
            const Vec3 back = front + s.outward * Stand::kRowDepth;
            const Vec3 top{0, 0, Stand::kRowRise * (row + 1)};
            const Vec3 end = s.along * s.length;
            drawPolygon(img, c, {front, front + end, front + end + top, front + top}, step * 0.8);
            drawPolygon(img, c, {front + top, front + end + top, back + end + top, back + top}, step);
            drawPolygon(img, c, {back + top, back + end + top, back + end + top + Vec3{0, 0, 0.35}, back + top + Vec3{0, 0, 0.35}}, seat);
        }
    }
}

void drawFurniture(cv::Mat& img, const Camera& c, Random& random) {
    const cv::Scalar bench = pick(kBoardColours, random) * 0.6;
    for (double y0 : {1.5, 12.5}) {
        drawPolygon(img, c, {{-2.9, y0, 0.45}, {-2.9, y0 + 4, 0.45}, {-2.5, y0 + 4, 0.45}, {-2.5, y0, 0.45}}, bench);
        drawPolygon(img, c, {{-2.5, y0, 0}, {-2.5, y0 + 4, 0}, {-2.5, y0 + 4, 0.45}, {-2.5, y0, 0.45}}, bench * 0.7);
    }
    const Vec3 stand = refereeStand(c);
    const Vec3 top{0, 0, kRefereeStandHeight};
    drawBar(img, c, stand + Vec3{0.15, 0.3, 0}, stand + top, 0.08, {70, 70, 70});
    drawBar(img, c, stand + Vec3{0.15, -0.3, 0}, stand + top, 0.08, {70, 70, 70});
    drawPolygon(img, c, {stand + top + Vec3{-0.3, -0.3, 0}, stand + top + Vec3{0.3, -0.3, 0}, stand + top + Vec3{0.3, 0.3, 0},
                         stand + top + Vec3{-0.3, 0.3, 0}},
                {90, 90, 90});
    const cv::Scalar table = pick(kBoardColours, random);
    drawPolygon(img, c, {{-3.6, 8, 0.75}, {-3.6, 10, 0.75}, {-3.0, 10, 0.75}, {-3.0, 8, 0.75}}, {200, 200, 200});
    drawPolygon(img, c, {{-3.0, 8, 0}, {-3.0, 10, 0}, {-3.0, 10, 0.75}, {-3.0, 8, 0.75}}, table);
}

// Glossy floors mirror the ceiling lights as soft bright patches.
void addReflections(cv::Mat& img, const Camera& c, Random& random) {
    cv::Mat glow(img.size(), CV_8U, cv::Scalar(0));
    const double strength = random.uniform(15, 50);
    for (double x = -6; x <= 15; x += 7) {
        for (double y = -8; y <= 26; y += 6) {
            drawDisc(glow, c, {x, y, -kHallHeight + 1.5}, 0.9, cv::Scalar(strength));
        }
    }
    cv::Mat floorMask(img.size(), CV_8U, cv::Scalar(0));
    drawPolygon(floorMask, c, floorRect(kHallMinX, kHallMinY, kHallMaxX, kHallMaxY), cv::Scalar(255));
    const double sigma = 0.02 * img.rows;
    cv::GaussianBlur(glow, glow, cv::Size(), sigma);
    glow &= floorMask;
    cv::Mat glow3;
    cv::cvtColor(glow, glow3, cv::COLOR_GRAY2BGR);
    img += glow3;
}

// Blotches of wear, dirt and uneven paint, so that no surface is flat.
void addTexture(cv::Mat& img, Random& random) {
    cv::RNG rng(random.next());
    cv::Mat grain(img.size(), CV_32F);
    rng.fill(grain, cv::RNG::NORMAL, 0.0, random.uniform(10.0, 25.0));
    cv::GaussianBlur(grain, grain, cv::Size(), 0.004 * img.rows + 1.0);
    cv::Mat grain3;
    cv::cvtColor(grain, grain3, cv::COLOR_GRAY2BGR);
    cv::Mat shaded;
    img.convertTo(shaded, CV_32FC3);
    shaded += grain3;
    shaded.convertTo(img, CV_8UC3);
}

void addVignette(cv::Mat& img, Random& random) {
    const double strength = random.uniform(0.05, 0.3);
    cv::Mat gain(img.size(), CV_32F);
    const double cx = img.cols / 2.0, cy = img.rows / 2.0, norm = cx * cx + cy * cy;
    for (int y = 0; y < img.rows; ++y) {
        float* row = gain.ptr<float>(y);
        for (int x = 0; x < img.cols; ++x) row[x] = static_cast<float>(1.0 - strength * ((x - cx) * (x - cx) + (y - cy) * (y - cy)) / norm);
    }
    cv::Mat gain3;
    cv::cvtColor(gain, gain3, cv::COLOR_GRAY2BGR);
    img.convertTo(img, CV_32FC3);
    img = img.mul(gain3);
    img.convertTo(img, CV_8UC3);
}

void drawNet(cv::Mat& colour, cv::Mat& weight, const Camera& c, Random& random) {
    const cv::Scalar post = random.chance(0.5) ? cv::Scalar(60, 60, 60) : pick(kBoardColours, random);
    const cv::Scalar band(240, 240, 240);
    const double top = kNetHeight, bottom = kNetHeight - 1.0;
    auto both = [&](auto&& draw, const cv::Scalar& paint, double opacity) {
        draw(colour, paint);
        draw(weight, cv::Scalar(255 * opacity));
    };
    for (double x : {-1.0, 10.0}) {
        both([&](cv::Mat& m, const cv::Scalar& p) { drawBar(m, c, {x, kNetY, 0}, {x, kNetY, 2.55}, 0.12, p); }, post, 1.0);
    }
    for (double z = bottom; z <= top; z += 0.1) {
        both([&](cv::Mat& m, const cv::Scalar& p) { drawBar(m, c, {-0.5, kNetY, z}, {9.5, kNetY, z}, 0.006, p); }, {20, 20, 20}, 0.45);
    }
    for (double x = -0.5; x <= 9.5; x += 0.1) {
        both([&](cv::Mat& m, const cv::Scalar& p) { drawBar(m, c, {x, kNetY, bottom}, {x, kNetY, top}, 0.006, p); }, {20, 20, 20}, 0.45);
    }
    both([&](cv::Mat& m, const cv::Scalar& p) {
        drawPolygon(m, c, {{-0.5, kNetY, top - 0.07}, {9.5, kNetY, top - 0.07}, {9.5, kNetY, top}, {-0.5, kNetY, top}}, p);
        drawPolygon(m, c, {{-0.5, kNetY, bottom}, {9.5, kNetY, bottom}, {9.5, kNetY, bottom + 0.05}, {-0.5, kNetY, bottom + 0.05}}, p);
    }, band, 1.0);
    both([&](cv::Mat& m, const cv::Scalar& p) {
        drawBar(m, c, {-1.0, kNetY, top}, {10.0, kNetY, top}, 0.01, p);
        drawBar(m, c, {-1.0, kNetY, bottom}, {10.0, kNetY, bottom}, 0.01, p);
    }, {30, 30, 30}, 1.0);
    for (double x : {0.0, 9.0}) {
        for (int i = 0; i < 18; ++i) {
            const double z0 = bottom + 0.1 * i;
            both([&](cv::Mat& m, const cv::Scalar& p) { drawBar(m, c, {x, kNetY, z0}, {x, kNetY, z0 + 0.1}, 0.012, p); },
                 i % 2 ? cv::Scalar(240, 240, 240) : cv::Scalar(30, 30, 210), 1.0);
        }
    }
}

}  // namespace

Camera withMargin(const Camera& camera, int margin) {
    Camera c = camera;
    c.size = {camera.size.width + 2 * margin, camera.size.height + 2 * margin};
    c.principal = camera.principal + cv::Point2d(margin, margin);
    c.shake = {};
    return c;
}

Hall buildHall(const Camera& camera, Random& random, Random& detail) {
    const Build build = chooseBuild(detail);
    Hall hall;
    hall.margin = std::max(8, camera.size.height / 60);
    const Camera c = withMargin(camera, hall.margin);
    cv::Mat img(c.size, CV_8UC3, cv::Scalar(90, 90, 90));
    drawWalls(img, c, random, build);
    cv::Scalar courtColour;
    drawCourt(img, c, random, build, courtColour);
    hall.floorColour = courtColour;
    addReflections(img, c, random);
    drawBoards(img, c, random, {-3.5, 25.5, 0}, {12.5, 25.5, 0});
    drawBoards(img, c, random, {13.0, -4.0, 0}, {13.0, 22.0, 0});
    drawStands(img, c, random);
    drawFurniture(img, c, random);
    addTexture(img, random);
    addVignette(img, random);
    hall.background = img;

    cv::Mat netColour(c.size, CV_8UC3, cv::Scalar(0, 0, 0));
    cv::Mat netWeight(c.size, CV_8U, cv::Scalar(0));
    drawNet(netColour, netWeight, c, random);
    hall.netBox = cv::boundingRect(netWeight);
    hall.net = netColour(hall.netBox).clone();
    netWeight(hall.netBox).convertTo(hall.netWeight, CV_32F, 1.0 / 255);
    hall.backgroundWeight = 1.0 - hall.netWeight;
    return hall;
}

void copyBackground(const Hall& hall, cv::Point offset, cv::Mat& frame) {
    const cv::Size size(hall.background.cols - 2 * hall.margin, hall.background.rows - 2 * hall.margin);
    hall.background(cv::Rect(cv::Point(hall.margin, hall.margin) - offset, size)).copyTo(frame);
}

void overlayNet(const Hall& hall, cv::Point offset, cv::Mat& frame) {
    const cv::Point origin = hall.netBox.tl() - cv::Point(hall.margin, hall.margin) + offset;
    const cv::Rect inFrame = cv::Rect(origin, hall.netBox.size()) & cv::Rect(0, 0, frame.cols, frame.rows);
    if (inFrame.area() <= 0) return;
    const cv::Rect inNet(inFrame.tl() - origin, inFrame.size());
    cv::Mat roi = frame(inFrame);
    cv::blendLinear(hall.net(inNet), roi, hall.netWeight(inNet), hall.backgroundWeight(inNet), roi);
}

}  // namespace rallinox::synth
