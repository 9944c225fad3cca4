#include "renderer.h"

#include <algorithm>
#include <cmath>

#include "draw.h"
#include "figure.h"
#include "jersey.h"

namespace rallinox::synth {
namespace {

constexpr double kSpinRate = 12.0;  // radians per second
// Trail samples: one per this many pixels a joint moves during the
// exposure, so that a smear never breaks into separate copies.
constexpr double kPixelsPerSample = 2.0;
constexpr int kMaxSamples = 6;

struct BallInFrame {
    Vec3 position;
    Vec3 velocity;
    bool isMatchBall = false;
};

// Something drawn in depth order: an actor's pose or a ball.
struct Item {
    double depth = 0;
    bool beyondNet = false;
    const Pose* pose = nullptr;
    size_t actor = 0;
    const Appearance* look = nullptr;
    const BallInFrame* ball = nullptr;
};

// Farthest any joint moves in the picture between two poses.
double pixelsMoved(const Camera& camera, const Pose& a, const Pose& b) {
    double most = 0;
    auto compare = [&](const Vec3& p, const Vec3& q) {
        const auto u = camera.project(p), v = camera.project(q);
        if (u && v) most = std::max(most, cv::norm(*u - *v));
    };
    compare(a.head, b.head);
    for (int s = 0; s < 2; ++s) {
        compare(a.hand[s], b.hand[s]);
        compare(a.elbow[s], b.elbow[s]);
        compare(a.knee[s], b.knee[s]);
        compare(a.toe[s], b.toe[s]);
    }
    return most;
}

}  // namespace

MatchRenderer::MatchRenderer(const MatchPlan& plan, const Camera& camera, double fps, Random& random, Random& detail)
    : plan_(plan),
      camera_(camera),
      fps_(fps),
      exposure_(random.uniform(0.5, 1.0) / fps),
      hall_(buildHall(camera, random, detail)),
      crowd_(camera, random, detail),
      sensor_(camera.size, hall_.margin, random),
      ballStyle_(chooseBallStyle(random)),
      looks_(numberShirts(plan.actors, detail)),
      scoreOverlay_(plan, camera.size, detail) {
    crowd_.drawSeated(hall_.background, withMargin(camera, hall_.margin));
    sensor_.soften(hall_.background);
}

std::optional<BallTruth> MatchRenderer::render(int frameIndex, cv::Mat& frame, bool withMatchBall) const {
    const double t = frameIndex / fps_;
    Camera camera = camera_;
    const cv::Point shake = sensor_.shakeAt(t);
    camera.shake = shake;
    copyBackground(hall_, shake, frame);
    crowd_.draw(frame, camera, t);

    // Where the balls are; a held ball sits in its holder's hands.
    const std::optional<BallPlace> match = plan_.matchBall.at(t);
    std::optional<Vec3> lookAt;
    if (match) lookAt = match->position ? *match->position : plan_.actors[static_cast<size_t>(match->holder)].position(t) + Vec3{0, 0, 1.2};
    std::vector<Pose> poses(plan_.actors.size());
    std::vector<Item> items;
    for (size_t i = 0; i < plan_.actors.size(); ++i) {
        const Actor& actor = plan_.actors[i];
        if (t < actor.visibleFrom || t > actor.visibleUntil) continue;
        poses[i] = poseAt(actor, t, lookAt ? &*lookAt : nullptr, camera.position);
        items.push_back({camera.depth(poses[i].hipCentre), false, &poses[i], i, &looks_[i], nullptr});
    }
    std::vector<BallInFrame> balls;
    balls.reserve(plan_.warmupBalls.size() + 1);
    auto addBall = [&](const BallPlace& place, bool isMatch) {
        const Vec3 p = place.position ? *place.position : poses[static_cast<size_t>(place.holder)].ballHold;
        balls.push_back({p, place.velocity, isMatch});
    };
    if (match && withMatchBall) addBall(*match, true);
    for (const BallPath& path : plan_.warmupBalls) {
        if (auto place = path.at(t)) addBall(*place, false);
    }
    for (const BallInFrame& ball : balls) items.push_back({camera.depth(ball.position), false, nullptr, 0, nullptr, &ball});

    // Shadows lie on the floor under everything.
    for (const Item& item : items) {
        if (item.pose) {
            const double lift = item.pose->hipCentre.z;
            drawShadow(frame, camera, item.pose->hipCentre.flat(), 0.32, std::clamp(0.5 - 0.15 * lift, 0.15, 0.4));
        } else if (item.ball->position.z < 4.0) {
            drawShadow(frame, camera, item.ball->position.flat(), 0.12, 0.35 * (1.0 - item.ball->position.z / 4.0));
        }
    }
    const bool cameraBeforeNet = camera.position.y < kNetY;
    for (Item& item : items) {
        const Vec3 p = item.pose ? item.pose->hipCentre : item.ball->position;
        item.beyondNet = (p.y > kNetY) == cameraBeforeNet;
    }
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        if (a.beyondNet != b.beyondNet) return a.beyondNet;
        return a.depth > b.depth;
    });

    std::optional<DrawnBall> drawnMatchBall;
    std::optional<BallTruth> truth;
    bool netDrawn = false;
    for (const Item& item : items) {
        if (!item.beyondNet && !netDrawn) {
            overlayNet(hall_, shake, frame);
            netDrawn = true;
        }
        if (item.pose) {
            const Actor& actor = plan_.actors[item.actor];
            const Vec3* target = lookAt ? &*lookAt : nullptr;
            const Pose opening = poseAt(actor, t - exposure_ / 2, target, camera.position);
            const Pose closing = poseAt(actor, t + exposure_ / 2, target, camera.position);
            const int samples = std::clamp(static_cast<int>(std::ceil(pixelsMoved(camera, opening, closing) / kPixelsPerSample)), 1,
                                           kMaxSamples);
            std::vector<Pose> during;
            if (samples == 1) during.push_back(*item.pose);
            for (int k = 0; samples > 1 && k < samples; ++k) {
                during.push_back(poseAt(actor, t + exposure_ * ((k + 0.5) / samples - 0.5), target, camera.position));
            }
            drawMovingFigure(frame, camera, during, *item.look);
            continue;
        }
        const BallInFrame& ball = *item.ball;
        const Vec3 half = ball.velocity * (exposure_ / 2);
        const auto from = camera.project(ball.position - half);
        const auto to = camera.project(ball.position + half);
        const auto centre = camera.project(ball.position);
        if (!from || !to || !centre) continue;
        const double radius = kBallRadius * camera.pixelsPerMetre(ball.position);
        DrawnBall drawn = drawBall(frame, *from, *to, radius, ballStyle_, t * kSpinRate);
        if (ball.isMatchBall) {
            drawnMatchBall = std::move(drawn);
            truth = BallTruth{centre->x, centre->y, radius};
        }
    }
    if (!netDrawn) overlayNet(hall_, shake, frame);
    if (truth) {
        const bool inside = truth->x >= 0 && truth->y >= 0 && truth->x < frame.cols && truth->y < frame.rows;
        if (!inside || visibleShare(frame, *drawnMatchBall) < 0.5) truth.reset();
    }
    sensor_.apply(frame, t, frameIndex);
    // Burnt in after recording: it hides the ball passing behind it.
    const cv::Rect board = scoreOverlay_.draw(frame, t);
    if (truth && board.contains(cv::Point(cvRound(truth->x), cvRound(truth->y)))) truth.reset();
    return truth;
}

}  // namespace rallinox::synth
