#include "pose.h"

#include <algorithm>
#include <cmath>

namespace rallinox::synth {
namespace {

constexpr Vec3 kUp{0, 0, 1};

// Two-bone reach: the middle joint of a limb from its ends, bent towards
// `bend`.
Vec3 middleJoint(const Vec3& root, const Vec3& end, double upper, double lower, const Vec3& bend) {
    const Vec3 span = end - root;
    const double d = std::clamp(span.length(), 1e-3, (upper + lower) * 0.999);
    const Vec3 u = span.normalized();
    const double along = (upper * upper - lower * lower + d * d) / (2.0 * d);
    const double out = std::sqrt(std::max(0.0, upper * upper - along * along));
    Vec3 side = bend - u * bend.dot(u);
    if (side.length() < 1e-6) side = Vec3{0, 0, 1} - u * u.z;
    return root + u * along + side.normalized() * out;
}

// Keeps a hand target within reach of its shoulder.
Vec3 withinReach(const Vec3& shoulder, const Vec3& target, double reach) {
    const Vec3 d = target - shoulder;
    const double l = d.length();
    return l > reach ? shoulder + d * (reach / l) : target;
}

Vec3 facingDirection(const Actor& actor, double t, const Vec3* lookAt, const Vec3& camera) {
    const Vec3 here = actor.position(t);
    Vec3 direction;
    switch (actor.facing(t)) {
        case Facing::Ball:
            if (lookAt) direction = (*lookAt - here).flat();
            break;
        case Facing::Motion:
            direction = actor.velocity(t).flat();
            if (direction.length() < 0.3) direction = {};
            break;
        case Facing::Camera:
            direction = (camera - here).flat();
            break;
        case Facing::Net:
            break;
    }
    if (direction.length() < 1e-3) {
        direction = actor.team() == 0 ? Vec3{0, 1, 0} : actor.team() == 1 ? Vec3{0, -1, 0} : (Vec3{4.5, 9, 0} - here).flat();
    }
    return direction.normalized();
}

}  // namespace

Pose poseAt(const Actor& actor, double t, const Vec3* lookAt, const Vec3& camera) {
    const double h = actor.look().height;
    const Vec3 f = facingDirection(actor, t, lookAt, camera);
    const Vec3 r = f.cross(kUp);  // the actor's right
    const Vec3 base = actor.position(t) + Vec3{0, 0, actor.standHeight + actor.jumpHeight(t)};
    const double crouch = actor.crouch(t);
    const double thigh = 0.245 * h, shin = 0.245 * h, upperArm = 0.17 * h, forearm = 0.19 * h;

    // Gait: feet swing along the direction of travel, one stride per 1.4 m.
    const Vec3 velocity = actor.velocity(t).flat();
    const double speed = velocity.length();
    const Vec3 travel = speed > 0.05 ? velocity * (1.0 / speed) : f;
    const double phase = actor.distanceWalked(t) / 1.4 * 2.0 * M_PI;
    const double stride = std::min(0.35, 0.22 * speed);
    const bool airborne = actor.jumpHeight(t) > 0.02;

    Pose p;
    p.forward = f;
    const double hipHeight = (thigh + shin) * (1.0 - 0.2 * crouch) + 0.04 * h;
    const double lean = 0.45 * crouch + 0.05;
    p.hipCentre = base + Vec3{0, 0, hipHeight} - f * (0.05 * crouch);
    const Vec3 spine = (kUp * std::cos(lean) + f * std::sin(lean)) * (0.29 * h);
    p.neck = p.hipCentre + spine;
    p.head = p.neck + kUp * (0.1 * h) + f * (0.02 * h);
    p.headRadius = 0.062 * h;
    for (int side = 0; side < 2; ++side) {
        const double s = side == 0 ? -1.0 : 1.0;
        p.shoulder[side] = p.neck + r * (s * 0.115 * h) - kUp * (0.02 * h);
        p.hip[side] = p.hipCentre + r * (s * 0.06 * h);
        const double swing = std::sin(phase + side * M_PI);
        Vec3 foot = base + r * (s * (0.07 * h + 0.1 * crouch)) + travel * (swing * stride);
        foot.z += airborne ? 0.15 * h : std::max(0.0, std::cos(phase + side * M_PI)) * 0.6 * stride;
        p.ankle[side] = foot + Vec3{0, 0, 0.04 * h};
        p.toe[side] = foot + f * (0.13 * h) + Vec3{0, 0, 0.01 * h};
        p.knee[side] = middleJoint(p.hip[side], p.ankle[side], thigh, shin, f + r * (0.2 * s));
    }

    p.ballHold = p.neck + f * 0.32 - kUp * (0.2 * h);
    const double reach = upperArm + forearm;
    Vec3 target[2];
    for (int side = 0; side < 2; ++side) {
        const double s = side == 0 ? -1.0 : 1.0;
        const Vec3& sh = p.shoulder[side];
        switch (actor.armPose(t)) {
            case ArmPose::Relaxed:
                target[side] = sh - kUp * (reach * 0.95) + r * (s * 0.06) +
                               f * (-std::sin(phase + side * M_PI) * std::min(0.25, 0.15 * speed) + 0.05);
                break;
            case ArmPose::Ready:
                target[side] = sh + f * 0.35 - kUp * 0.3 - r * (s * 0.05);
                break;
            case ArmPose::Platform:
                target[side] = p.neck + f * 0.45 - kUp * 0.52 + r * (s * 0.03);
                break;
            case ArmPose::Overhead:
                target[side] = p.head + f * 0.12 + kUp * 0.22 + r * (s * 0.09);
                break;
            case ArmPose::Spike:
                target[side] = side == 1 ? sh + kUp * (reach * 0.9) + f * 0.15 : sh + f * 0.4 + kUp * 0.25;
                break;
            case ArmPose::Block:
                target[side] = sh + kUp * (reach * 0.95) + f * 0.12;
                break;
            case ArmPose::Toss:
                target[side] = side == 0 ? sh + kUp * 0.45 + f * 0.35 : sh + kUp * 0.3 - f * 0.2 + r * 0.1;
                break;
            case ArmPose::Hold:
                target[side] = p.ballHold + r * (s * 0.11);
                break;
            case ArmPose::Cheer:
                target[side] = sh + kUp * 0.6 + r * (s * 0.3);
                break;
        }
        p.hand[side] = withinReach(sh, target[side], reach * 0.999);
        p.elbow[side] = middleJoint(sh, p.hand[side], upperArm, forearm, r * s - kUp * 0.6 - f * 0.3);
    }
    return p;
}

}  // namespace rallinox::synth
