// What the editor does with the highlighted rally and the player as the
// playhead moves: highlight the rally being shown and, with "Rallies only",
// skip the breaks and stop after the last rally.
#pragma once

#include <cstdint>
#include <vector>

#include "app/core/project.h"

namespace rallinox {

struct FollowStep {
    int64_t highlightId = 0;  // 0: keep the highlight
    double seekToSec = -1;    // -1: no jump
    bool pause = false;
};

// The last rally in list order whose span holds the time; 0 when none.
int64_t rallyIdAt(const std::vector<Rally>& rallies, double timeSec);
// The first rally in list order whose span holds the time; -1 when none.
int rallyIndexAt(const std::vector<Rally>& rallies, double timeSec);

// `moved`: the playhead moved since the previous frame.
FollowStep followPlayhead(const std::vector<Rally>& rallies, double positionSec, bool moved, bool playing,
                          bool ralliesOnly);

}  // namespace rallinox
