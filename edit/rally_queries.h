// What the editor reads off a rally list without changing it: the lengths
// and breaks the list shows, its figures, the order of its rows when sorted,
// and where "next rally" and "previous rally" go.
#pragma once

#include <cstddef>
#include <string>
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

// The breaks before the rallies, and which are so long that a rally may be
// missing there.
RallyBreaks rallyBreaks(const std::vector<Rally>& rallies);

struct RallyStats {
    size_t count = 0;
    double totalSec = 0;
    double averageSec = 0;
    double longestSec = 0;
    double shortestSec = 0;
    double share = 0;  // of the covered length, 0..1
    double cutOutSec = 0;
};

// "rally" for one, "rallies" for any other count, and the count with it:
// "1 rally", "0 rallies", "12 rallies".
const char* rallyNoun(size_t count);
std::string rallyCount(size_t count);

// How many, how long, and how much of the video is cut away: over every
// rally, or only the ticked ones; lengths below 0 count as 0.
RallyStats rallyStats(const std::vector<Rally>& rallies, double coveredSec, bool tickedOnly = false);

enum class RallyOrderKey { Position, Length, Break };

// The rally list's rows when the user sorts by a column: list positions,
// stably sorted by the key (equal keys keep list order).
std::vector<size_t> rallyRowOrder(const std::vector<Rally>& rallies, RallyOrderKey key, bool descending);

// The first rally that starts more than 0.25 s after the time; -1 when none.
int nextRallyByTime(const std::vector<Rally>& rallies, double timeSec);
// The last rally that starts more than 1 s before the time, so that a press
// well into a rally goes back to its own start; -1 when none.
int previousRallyByTime(const std::vector<Rally>& rallies, double timeSec);

}  // namespace rallinox
