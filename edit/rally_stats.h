// The figures of a rally list: how many, how long, and how much of the video
// is cut away.
#pragma once

#include <cstddef>
#include <vector>

#include "app/core/project.h"

namespace rallinox {

struct RallyStats {
    size_t count = 0;
    double totalSec = 0;
    double averageSec = 0;
    double longestSec = 0;
    double shortestSec = 0;
    double share = 0;  // of the covered length, 0..1
    double cutOutSec = 0;
};

// Over every rally, or only the ticked ones; lengths below 0 count as 0.
RallyStats rallyStats(const std::vector<Rally>& rallies, double coveredSec, bool tickedOnly = false);

}  // namespace rallinox
