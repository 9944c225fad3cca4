#include "edit/deciding_clip.h"

#include <algorithm>

#include "edit/match_score.h"
#include "app/core/time_format.h"

namespace rallinox {

namespace {

// How much of the next rally shows its serve, and how much of a rally's end shows the point.
constexpr double kServeSec = 4;
constexpr double kPointSec = 5;
// Playback may run this far past the window and still belong to the clip.
constexpr double kWindowSlackSec = 0.5;
// Pause a little before the window's end: the player reports positions per frame.
constexpr double kStopBeforeEndSec = 0.02;

bool validIndex(const std::vector<Rally>& rallies, int index) {
    return index >= 0 && static_cast<size_t>(index) < rallies.size();
}

// The teams for which winning the rally would also win the set.
std::vector<Winner> setWinningCandidates(const std::vector<Rally>& rallies, int index, const MatchSetup& match) {
    const RallyScore score = rallyScores(rallies)[static_cast<size_t>(index)];
    std::vector<Winner> candidates;
    if (isSetWon(score.setBefore, score.homeBefore + 1, score.awayBefore, match)) candidates.push_back(Winner::Home);
    if (isSetWon(score.setBefore, score.homeBefore, score.awayBefore + 1, match)) candidates.push_back(Winner::Away);
    return candidates;
}

}  // namespace

TimeSpan decidingClipWindow(const std::vector<Rally>& rallies, int index, double moreSec, const ClipRules& rules) {
    if (!validIndex(rallies, index)) return {};
    const Rally& rally = rallies[static_cast<size_t>(index)];
    if (rules.byNextServe && static_cast<size_t>(index) + 1 < rallies.size()) {
        const Rally& next = rallies[static_cast<size_t>(index) + 1];
        return {next.startSec, std::min(next.startSec + rules.startPaddingSec + kServeSec + moreSec, next.endSec)};
    }
    return {std::max(rally.endSec - rules.endPaddingSec - kPointSec - moreSec, rally.startSec), rally.endSec};
}

std::string clipText(const std::vector<Rally>& rallies, int index, const MatchSetup& match, bool byNextServe,
                     bool wholeRally) {
    if (!validIndex(rallies, index)) return {};
    const size_t at = static_cast<size_t>(index);
    const std::string name = rallyDisplayName(rallies[at], at);
    // A rally's shown name already says "Rally" ("Rally 4") or is the user's own.
    if (wholeRally) return "All of " + name;
    if (!byNextServe) return "End of " + name;
    if (at + 1 == rallies.size()) return "End of " + name + ": no rally after it";

    const Rally& next = rallies[at + 1];
    const std::string start = "Start of " + rallyDisplayName(next, at + 1);
    const std::string servingTeamWon = "if not, the serving team won " + name;
    const std::vector<Winner> candidates = setWinningCandidates(rallies, index, match);
    if (candidates.empty() && !next.setStart) return start + ": the serving team won " + name;
    const std::string afterBreak = start + " after a " + ui::formatClock(next.startSec - rallies[at].endSec) + " break: ";
    if (candidates.size() == 1) {
        const std::string& team = candidates.front() == Winner::Home ? match.homeName : match.awayName;
        return afterBreak + "if the teams changed ends, " + team + " won the set; " + servingTeamWon;
    }
    return afterBreak + "if the teams changed ends, the set is over; " + servingTeamWon;
}

bool DecidingClip::activate(const std::vector<Rally>& rallies, int index, const TimeSpan& window) {
    active_ = true;
    rallyId_ = rallies[static_cast<size_t>(index)].id;
    window_ = window;
    return true;
}

bool DecidingClip::start(const std::vector<Rally>& rallies, int index, double moreSec, const ClipRules& rules) {
    if (!validIndex(rallies, index)) return false;
    wholeRally_ = false;
    moreSec_ = moreSec;
    return activate(rallies, index, decidingClipWindow(rallies, index, moreSec, rules));
}

bool DecidingClip::startWholeRally(const std::vector<Rally>& rallies, int index) {
    if (!validIndex(rallies, index)) return false;
    const Rally& rally = rallies[static_cast<size_t>(index)];
    wholeRally_ = true;
    moreSec_ = 0;
    return activate(rallies, index, {rally.startSec, rally.endSec});
}

bool DecidingClip::showMore(const std::vector<Rally>& rallies, int index, const ClipRules& rules) {
    if (!validIndex(rallies, index)) return false;
    const bool growing = active_ && !wholeRally_ && rallyId_ == rallies[static_cast<size_t>(index)].id;
    return start(rallies, index, (growing ? moreSec_ : 0) + kMoreStepSec, rules);
}

ClipStep DecidingClip::update(int64_t highlightedRallyId, double positionSec, bool playing) {
    if (!active_) return ClipStep::None;
    const bool inWindow =
        positionSec >= window_.fromSec - kWindowSlackSec && positionSec <= window_.toSec + kWindowSlackSec;
    if (highlightedRallyId != rallyId_ || !inWindow) {
        active_ = false;
        return ClipStep::Ended;
    }
    return playing && positionSec >= window_.toSec - kStopBeforeEndSec ? ClipStep::Pause : ClipStep::None;
}

}  // namespace rallinox
