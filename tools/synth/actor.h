#pragma once
// Everyone who moves on the floor (players, referee, people walking past)
// as a timetable of moves, jumps and arm poses. Positions are a pure
// function of time, so a frame can be rendered without replaying the past.
#include <opencv2/core.hpp>

#include <vector>

#include "vec3.h"

namespace rallinox::synth {

enum class ArmPose { Relaxed, Ready, Platform, Overhead, Spike, Block, Toss, Hold, Cheer };
enum class Facing { Ball, Net, Motion, Camera };

struct MoveOrder {
    double start = 0;   // the actor sets off
    double arrive = 0;  // and reaches the target
    Vec3 target;        // on the floor
    Facing facing = Facing::Motion;
};

struct Jump {
    double takeoff = 0;
    double airtime = 0.7;
    double height = 0.6;
};

struct ArmEvent {
    double start = 0, end = 0;
    ArmPose pose = ArmPose::Relaxed;
};

struct Appearance {
    cv::Scalar jersey, shorts, skin, hair, socks, shoes;
    double height = 1.9;  // metres
    bool kneePads = true;
    bool trousers = false;  // street clothes cover the legs
    int number = 0;         // printed on the shirt; 0 for none
};

class Actor {
public:
    Actor(Appearance look, Vec3 start, int team);

    const Appearance& look() const { return look_; }
    int team() const { return team_; }  // 0 near half, 1 far half, -1 nobody's
    double standHeight = 0;  // a referee's stand lifts the feet off the floor
    double visibleFrom = -1e9, visibleUntil = 1e9;

    // Orders must be added in order of their start time.
    void moveTo(double start, double arrive, const Vec3& target, Facing facing);
    void jump(const Jump& jump) { jumps_.push_back(jump); }
    void arms(double start, double end, ArmPose pose) { arms_.push_back({start, end, pose}); }

    Vec3 position(double t) const;
    Vec3 velocity(double t) const;
    Facing facing(double t) const;
    double jumpHeight(double t) const;
    // 0 standing straight, up to 1 deep knee bend before and after a jump.
    double crouch(double t) const;
    double distanceWalked(double t) const;
    ArmPose armPose(double t) const;

private:
    struct Leg {
        MoveOrder order;
        Vec3 from;
        double walkedBefore = 0;
    };
    const Leg* activeLeg(double t) const;

    Appearance look_;
    Vec3 start_;
    int team_;
    std::vector<Leg> legs_;
    std::vector<Jump> jumps_;
    std::vector<ArmEvent> arms_;
};

}  // namespace rallinox::synth
