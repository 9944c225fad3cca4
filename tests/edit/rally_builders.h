// Small projects, rallies and hints for the editing and scoring tests.
#pragma once

#include <utility>
#include <vector>

#include "app/project.h"

namespace rallinox::test {

using Spans = std::vector<std::pair<double, double>>;

// Rallies with ids 1, 2, ... in the given order; nextRallyId follows them.
inline Project makeProject(const Spans& spans, double videoDurationSec) {
    Project project;
    project.videoDurationSec = videoDurationSec;
    for (const auto& [start, end] : spans) {
        Rally rally;
        rally.id = project.nextRallyId++;
        rally.startSec = start;
        rally.endSec = end;
        project.rallies.push_back(rally);
    }
    return project;
}

inline ReviewHint makeHint(HintKind kind, double startSec, double endSec, double pauseSec = 0, bool done = false) {
    ReviewHint hint;
    hint.kind = kind;
    hint.startSec = startSec;
    hint.endSec = endSec;
    hint.pauseSec = pauseSec;
    hint.done = done;
    return hint;
}

inline Spans spans(const Project& project) {
    Spans result;
    for (const Rally& rally : project.rallies) result.emplace_back(rally.startSec, rally.endSec);
    return result;
}

}  // namespace rallinox::test
