#include "edit/playhead_follow.h"

namespace rallinox {

namespace {

// Playing from further before a rally than this jumps to its start.
constexpr double kJumpAheadSec = 0.3;

bool holds(const Rally& rally, double timeSec) { return timeSec >= rally.startSec && timeSec <= rally.endSec; }

}  // namespace

int64_t rallyIdAt(const std::vector<Rally>& rallies, double timeSec) {
    int64_t found = 0;
    for (const Rally& rally : rallies) {
        if (holds(rally, timeSec)) found = rally.id;
    }
    return found;
}

int rallyIndexAt(const std::vector<Rally>& rallies, double timeSec) {
    for (size_t i = 0; i < rallies.size(); ++i) {
        if (holds(rallies[i], timeSec)) return int(i);
    }
    return -1;
}

FollowStep followPlayhead(const std::vector<Rally>& rallies, double positionSec, bool moved, bool playing,
                          bool ralliesOnly) {
    FollowStep step;
    if (moved) step.highlightId = rallyIdAt(rallies, positionSec);
    if (!ralliesOnly || !playing) return step;
    for (const Rally& rally : rallies) {
        if (positionSec < rally.startSec - kJumpAheadSec) {
            step.seekToSec = rally.startSec;
            step.highlightId = rally.id;
            return step;
        }
        if (positionSec <= rally.endSec) {
            if (positionSec >= rally.startSec) step.highlightId = rally.id;
            return step;
        }
    }
    step.pause = true;
    return step;
}

}  // namespace rallinox
