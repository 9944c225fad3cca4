#include "stands.h"

namespace rallinox::synth {

Vec3 refereeStand(const Camera& camera) { return {camera.position.x < 0 ? kCourtWidth + 1.0 : -1.0, kNetY, 0}; }

std::vector<Stand> standsFor(const Camera& camera) {
    const Stand farSide{{14.0, -3.0, 0}, {0, 1, 0}, {1, 0, 0}, 24.0, 7};
    if (camera.position.x < 0) return {farSide};
    const Stand nearSide{{-5.0, 21.0, 0}, {0, -1, 0}, {-1, 0, 0}, 24.0, 7};
    const Stand farEnd{{-3.0, 27.0, 0}, {1, 0, 0}, {0, 1, 0}, 15.0, 6};
    return {farSide, nearSide, farEnd};
}

}  // namespace rallinox::synth
