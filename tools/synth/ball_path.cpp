#include "ball_path.h"

namespace rallinox::synth {

std::optional<BallPlace> BallPath::at(double t) const {
    const Flight* flight = nullptr;
    for (const Flight& f : flights_) {
        if (t >= f.start && t < f.end && (!flight || f.start > flight->start)) flight = &f;
    }
    const BallHold* hold = nullptr;
    for (const BallHold& h : holds_) {
        if (t >= h.start && t < h.end && (!hold || h.start > hold->start)) hold = &h;
    }
    if (hold && (!flight || hold->start >= flight->start)) return BallPlace{std::nullopt, hold->actor, {}};
    if (flight) return BallPlace{flight->positionAt(t), -1, flight->velocityAt(t)};
    return std::nullopt;
}

}  // namespace rallinox::synth
