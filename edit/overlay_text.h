// The line of text over the preview picture: which rally is shown and how
// far into it, or how long the break is, plus the places still to check.
#pragma once

#include <string>

#include "app/core/project.h"

namespace rallinox {

// `clipText`: the deciding clip's own text, which replaces the rally line.
// `showScore`: the score goes into the line (the scoreboard is off).
std::string overlayText(const Project& project, double positionSec, bool showScore, const std::string& clipText);

}  // namespace rallinox
