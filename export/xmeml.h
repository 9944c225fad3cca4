// A timeline as Final Cut Pro 7 XML (xmeml), which Premiere Pro and DaVinci
// Resolve import.
#pragma once

#include <string>

#include "export/timeline.h"

namespace rallinox {

// A video and a sound track with one clip item of the original video per
// rally, its score as a marker on its last frame.
std::string xmemlText(const Timeline& timeline);

}  // namespace rallinox
