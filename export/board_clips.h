// What the scoreboard shows over one exported rally and when: the score
// before the rally while it is played, the score after it once the point
// ended, the winner lit up for a moment. Window-free, shared by the export
// and the editor's preview.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

#include "app/core/project.h"
#include "app/core/settings.h"

namespace rallinox {

struct BoardState {
    std::string homeName;  // already upper-cased
    std::string awayName;
    int32_t homePoints = 0;
    int32_t awayPoints = 0;
    int32_t set = 1;
    int32_t homeSets = 0;
    int32_t awaySets = 0;
    Winner highlighted = Winner::None;

    auto operator<=>(const BoardState&) const = default;
};

// A stretch of clip time in which the board is shown.
struct BoardInterval {
    double fromSec = 0;
    double toSec = 0;

    bool operator==(const BoardInterval&) const = default;
};

// One per exported rally; times are seconds from the clip's start.
struct BoardClip {
    BoardState before;
    BoardState after;
    double switchSec = 0;        // "after" replaces "before": the point ended
    double highlightEndSec = 0;  // the winner stays lit until then
    double lengthSec = 0;
    std::vector<BoardInterval> visible;  // empty: shown throughout
    BoardStyle style = BoardStyle::TwoRows;
    BoardPosition position = BoardPosition::TopLeft;
};

// Trimmed of blanks and line ends, the fallback when nothing is left, and
// upper-cased by the user's locale ("straße" becomes "STRASSE").
std::string boardName(const std::string& name, const std::string& fallback);

// One clip per rally, in list order; empty when the board is switched off
// or no rally has a winner yet.
std::vector<BoardClip> boardClips(const std::vector<Rally>& rallies, const MatchSetup& match,
                                  const Settings& settings, const ProjectSettings& paddings);

// 0 (hidden) to 1, fading for 0.3 s at the edges of the visible stretches.
double boardOpacity(const BoardClip& clip, double t);
BoardState boardStateAt(const BoardClip& clip, double t);

}  // namespace rallinox
