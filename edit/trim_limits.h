// The stretch of video the trim strip shows around a rally, and how far its
// handles may move the rally's start and end.
#pragma once

#include <cstddef>
#include <vector>

#include "app/core/project.h"

namespace rallinox {

struct TrimWindow {
    double lo = 0;
    double hi = 0;
    // hi - lo, but at least 1 s so that times always map onto the strip.
    double span() const;
};

// 6 s either side of the rally, within the video. The video's length is the
// project's, else the player's; with neither known the end is left open.
TrimWindow trimWindow(const Rally& rally, double videoDurationSec, double playerDurationSec);

// The time under the start handle of rally `index`: within the window, not
// before the previous rally's end (0 for the first) and leaving the rally at
// least its shortest length.
double limitTrimStart(const std::vector<Rally>& rallies, size_t index, const TrimWindow& window, double timeSec);
// The same for the end handle: the next rally's start (hi for the last rally)
// bounds it above.
double limitTrimEnd(const std::vector<Rally>& rallies, size_t index, const TrimWindow& window, double timeSec);

}  // namespace rallinox
