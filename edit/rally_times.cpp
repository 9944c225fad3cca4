#include "edit/rally_times.h"

#include <algorithm>

namespace rallinox {

namespace {

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

}  // namespace rallinox
