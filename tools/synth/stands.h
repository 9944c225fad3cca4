#pragma once
// Tiered seating around the court; the hall draws the steps and the crowd
// fills them with spectators.
#include <vector>

#include "camera.h"

namespace rallinox::synth {

struct Stand {
    Vec3 origin;   // front corner of the lowest step, on the floor
    Vec3 along;    // unit direction along the rows
    Vec3 outward;  // unit direction away from the court
    double length = 0;
    int rows = 0;
    static constexpr double kRowDepth = 0.85;
    static constexpr double kRowRise = 0.45;

    Vec3 seat(int row, double at) const {
        return origin + along * at + outward * (kRowDepth * (row + 0.5)) + Vec3{0, 0, kRowRise * (row + 1)};
    }
};

// The first referee's stand at the net post, on the side away from a
// camera in the side stands.
Vec3 refereeStand(const Camera& camera);
constexpr double kRefereeStandHeight = 1.4;

// Stands opposite the camera and, seen from behind a baseline, on both sides.
std::vector<Stand> standsFor(const Camera& camera);

}  // namespace rallinox::synth
