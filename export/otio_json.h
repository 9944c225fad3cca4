// A timeline as OpenTimelineIO's own JSON (.otio).
#pragma once

#include <string>

#include "export/timeline.h"

namespace rallinox {

// One video track with a clip of the original video per rally, its score as
// a marker on its last frame.
std::string otioText(const Timeline& timeline);

}  // namespace rallinox
