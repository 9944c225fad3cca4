#include "edit/rally_navigation.h"

namespace rallinox {

namespace {

// Within this after a rally's start the player counts as being at it.
constexpr double kAtStartSec = 0.25;
// A press this far into a rally goes back to its start, not to the rally before.
constexpr double kBackToStartSec = 1.0;

}  // namespace

int nextRallyByTime(const std::vector<Rally>& rallies, double timeSec) {
    for (size_t i = 0; i < rallies.size(); ++i) {
        if (rallies[i].startSec > timeSec + kAtStartSec) return static_cast<int>(i);
    }
    return -1;
}

int previousRallyByTime(const std::vector<Rally>& rallies, double timeSec) {
    for (size_t i = rallies.size(); i-- > 0;) {
        if (rallies[i].startSec < timeSec - kBackToStartSec) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace rallinox
