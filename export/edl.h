// Edit decision list (CMX 3600) next to an exported video, so that a video
// editor can rebuild the same cut from the match video itself.
#pragma once

#include <string>
#include <vector>

#include "app/core/project.h"

namespace rallinox {

// The export's output path with its extension replaced by ".edl".
std::string edlPathFor(const std::string& outputPath);

// "HH:MM:SS:FF"; the frame field counts the rate rounded to whole frames,
// while the frame number itself comes from the exact rate.
std::string edlTimecode(double seconds, double fps);

// One event per rally, in the given order, placed end to end on the record side.
std::string edlText(const std::string& title, const std::string& clipName, double fps,
                    const std::vector<Rally>& rallies);

// Returns an empty text on success, otherwise the message for the user.
std::string saveEdl(const std::string& edlPath, const std::string& title, const std::string& clipName,
                    double fps, const std::vector<Rally>& rallies);

}  // namespace rallinox
