// Small projects, rallies and hints for the editing and scoring tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/core/project.h"

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

// Rallies from a script: 'h' home wins, 'a' away wins, '.' not scored, '|'
// the next rally starts a new set. They are `lengthSec` long, 100 s apart.
inline std::vector<Rally> scriptedRallies(const std::string& script, double lengthSec = 20.0) {
    std::vector<Rally> list;
    bool nextStartsSet = false;
    for (char c : script) {
        if (c == '|') {
            nextStartsSet = true;
            continue;
        }
        Rally rally;
        rally.id = int64_t(list.size()) + 1;
        rally.startSec = 100.0 * double(list.size());
        rally.endSec = rally.startSec + lengthSec;
        rally.winner = c == 'h' ? Winner::Home : c == 'a' ? Winner::Away : Winner::None;
        rally.setStart = nextStartsSet;
        nextStartsSet = false;
        list.push_back(rally);
    }
    return list;
}

inline Spans spans(const Project& project) {
    Spans result;
    for (const Rally& rally : project.rallies) result.emplace_back(rally.startSec, rally.endSec);
    return result;
}

}  // namespace rallinox::test
