#pragma once
// Where one ball is over the whole match: flying, rolling, held in an
// actor's hands, or out of the picture (in the ball cart).
#include <optional>
#include <vector>

#include "flight.h"

namespace rallinox::synth {

struct BallHold {
    double start = 0, end = 0;
    int actor = -1;
};

struct BallPlace {
    std::optional<Vec3> position;  // free ball
    int holder = -1;               // or held by this actor
    Vec3 velocity;
};

class BallPath {
public:
    // Pieces may be added in any order; the latest-starting piece that
    // covers a moment wins.
    void add(const Flight& flight) { flights_.push_back(flight); }
    void add(const std::vector<Flight>& flights) { flights_.insert(flights_.end(), flights.begin(), flights.end()); }
    void hold(double start, double end, int actor) { holds_.push_back({start, end, actor}); }

    // Nothing when the ball is not in the hall at `t`.
    std::optional<BallPlace> at(double t) const;
    const std::vector<Flight>& flights() const { return flights_; }

private:
    std::vector<Flight> flights_;
    std::vector<BallHold> holds_;
};

}  // namespace rallinox::synth
