// The lengths of rallies and the breaks between them as the rally list shows
// them, and which breaks are so long that a rally may be missing there.
#pragma once

#include <cstddef>
#include <vector>

#include "app/core/project.h"

namespace rallinox {

// A break is long when it exceeds both this and twice the usual break.
inline constexpr double kLongBreakFloorSec = 30.0;

struct RallyBreaks {
    // Per rally in list order: the time since the latest end of the rallies
    // before it (since the video's start for the first rally), at least 0.
    std::vector<double> beforeSec;
    // max(30 s, 2 x the median break after the first rally).
    double longThresholdSec = kLongBreakFloorSec;

    // The first rally's break is never long, nor is any with a single rally.
    bool isLong(size_t index) const;
};

RallyBreaks rallyBreaks(const std::vector<Rally>& rallies);

}  // namespace rallinox
