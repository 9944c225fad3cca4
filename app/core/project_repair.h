// Makes a project read from a file safe to edit and draw, whatever its
// numbers: a hand-edited or damaged file may hold times that are not
// numbers, lie far past the video, run backwards or overlap, and rally ids
// that repeat or sit at the end of their range.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/core/project.h"

namespace rallinox {

// No video is longer than this; a stored length beyond it counts as unknown.
inline constexpr double kLongestVideoSec = 7 * 24 * 3600.0;
// Rally ids stay below this, so that counting up from the largest one never
// wraps (and they stay exact as JSON numbers).
inline constexpr int64_t kRallyIdLimit = int64_t{1} << 53;

// Afterwards every time is finite and within the video (or within
// kLongestVideoSec when its length is unknown), every rally ends after it
// starts, the rallies are sorted by start without overlapping, their ids are
// unique, positive and below `nextRallyId`, which is below kRallyIdLimit.
// Rallies that cannot be repaired (times that are not numbers, nothing left
// inside the video) are removed. Returns what was changed, one line per kind
// of change with its count; empty when the project was sound.
std::vector<std::string> repairProject(Project& project);

}  // namespace rallinox
