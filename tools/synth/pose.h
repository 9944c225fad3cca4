#pragma once
// The articulated body of an actor at one moment: joint positions in court
// coordinates from the actor's stance, gait, jump and arm pose.
#include "actor.h"

namespace rallinox::synth {

struct Pose {
    Vec3 head;
    double headRadius = 0.12;
    Vec3 neck, hipCentre;
    Vec3 shoulder[2], elbow[2], hand[2];  // [0] left, [1] right
    Vec3 hip[2], knee[2], ankle[2], toe[2];
    Vec3 forward;   // the way the body faces, on the floor
    Vec3 ballHold;  // where a ball in the hands sits
};

// `lookAt` is what the actor turns towards when facing the ball, and
// `camera` where the camera stands.
Pose poseAt(const Actor& actor, double t, const Vec3* lookAt, const Vec3& camera);

}  // namespace rallinox::synth
