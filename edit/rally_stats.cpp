#include "edit/rally_stats.h"

#include <algorithm>

namespace rallinox {

RallyStats rallyStats(const std::vector<Rally>& rallies, double coveredSec, bool tickedOnly) {
    RallyStats stats;
    for (const Rally& rally : rallies) {
        if (tickedOnly && !rally.selected) continue;
        const double length = rallyLengthSec(rally);
        stats.shortestSec = stats.count == 0 ? length : std::min(stats.shortestSec, length);
        stats.longestSec = std::max(stats.longestSec, length);
        stats.totalSec += length;
        ++stats.count;
    }
    if (stats.count > 0) stats.averageSec = stats.totalSec / double(stats.count);
    if (coveredSec > 0) stats.share = std::clamp(stats.totalSec / coveredSec, 0.0, 1.0);
    stats.cutOutSec = std::max(coveredSec - stats.totalSec, 0.0);
    return stats;
}

}  // namespace rallinox
