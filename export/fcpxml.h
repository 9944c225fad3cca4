// A timeline as FCPXML 1.9, which Final Cut Pro and DaVinci Resolve import.
#pragma once

#include <string>

#include "export/timeline.h"

namespace rallinox {

// One asset-clip of the original video per rally, its score as a marker on its last frame.
std::string fcpxmlText(const Timeline& timeline);

}  // namespace rallinox
