// Where "next rally" and "previous rally" go from the player's time.
#pragma once

#include <vector>

#include "app/core/project.h"

namespace rallinox {

// The first rally that starts more than 0.25 s after the time; -1 when none.
int nextRallyByTime(const std::vector<Rally>& rallies, double timeSec);
// The last rally that starts more than 1 s before the time, so that a press
// well into a rally goes back to its own start; -1 when none.
int previousRallyByTime(const std::vector<Rally>& rallies, double timeSec);

}  // namespace rallinox
