#include "edit/rally_queries.h"

#include <algorithm>
#include <numeric>

namespace rallinox {

namespace {

// Within this after a rally's start the player counts as being at it.
constexpr double kAtStartSec = 0.25;
// A press this far into a rally goes back to its start, not to the rally before.
constexpr double kBackToStartSec = 1.0;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    if (values.size() % 2 == 1) return values[middle];
    return (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

bool RallyBreaks::isLong(size_t index) const {
    return beforeSec.size() >= 2 && index > 0 && index < beforeSec.size() && beforeSec[index] > longThresholdSec;
}

RallyBreaks rallyBreaks(const std::vector<Rally>& rallies) {
    RallyBreaks breaks;
    breaks.beforeSec.reserve(rallies.size());
    double latestEnd = 0;
    for (const Rally& rally : rallies) {
        breaks.beforeSec.push_back(std::max(rally.startSec - latestEnd, 0.0));
        latestEnd = std::max(latestEnd, rally.endSec);
    }
    if (rallies.size() >= 2) {
        const std::vector<double> afterFirst(breaks.beforeSec.begin() + 1, breaks.beforeSec.end());
        breaks.longThresholdSec = std::max(kLongBreakFloorSec, 2 * median(afterFirst));
    }
    return breaks;
}

const char* rallyNoun(size_t count) { return count == 1 ? "rally" : "rallies"; }

std::string rallyCount(size_t count) { return std::to_string(count) + " " + rallyNoun(count); }

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

std::vector<size_t> rallyRowOrder(const std::vector<Rally>& rallies, RallyOrderKey key, bool descending) {
    std::vector<double> keys(rallies.size());
    if (key == RallyOrderKey::Break) {
        keys = rallyBreaks(rallies).beforeSec;
    } else {
        for (size_t i = 0; i < rallies.size(); ++i) {
            keys[i] = key == RallyOrderKey::Length ? rallyLengthSec(rallies[i]) : static_cast<double>(i);
        }
    }
    std::vector<size_t> order(rallies.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return descending ? keys[a] > keys[b] : keys[a] < keys[b];
    });
    return order;
}

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
