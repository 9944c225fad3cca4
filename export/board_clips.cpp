#include "export/board_clips.h"

#include <glib.h>

#include <algorithm>
#include <memory>

#include "edit/match_score.h"

namespace rallinox {

namespace {

constexpr double kHighlightSec = 1.5;
constexpr double kShownAfterStartSec = 3.0;  // of play, after the start padding
constexpr double kShownBeforeEndSec = 1.0;   // before the point ends
constexpr double kFadeSec = 0.3;

std::string trimmed(const std::string& text) {
    const char* blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string upperCase(const std::string& text) {
    // A name read from a damaged project file may not be UTF-8; GLib's
    // case mapping needs valid text.
    std::unique_ptr<gchar, decltype(&g_free)> valid(g_utf8_make_valid(text.c_str(), gssize(text.size())), g_free);
    std::unique_ptr<gchar, decltype(&g_free)> upper(g_utf8_strup(valid.get(), -1), g_free);
    return upper.get();
}

BoardState stateOf(const std::string& home, const std::string& away, int32_t set, int32_t homePoints,
                   int32_t awayPoints, const SetsWon& sets, Winner highlighted) {
    BoardState state;
    state.homeName = home;
    state.awayName = away;
    state.homePoints = homePoints;
    state.awayPoints = awayPoints;
    state.set = set;
    state.homeSets = sets.home;
    state.awaySets = sets.away;
    state.highlighted = highlighted;
    return state;
}

std::vector<BoardInterval> visibleStretches(const Settings& settings, const ProjectSettings& paddings,
                                            double switchSec, double lengthSec) {
    if (settings.boardTiming != BoardTiming::StartAndEnd) return {};
    const double shownUntil = paddings.startPaddingSec + kShownAfterStartSec;
    const double shownFrom = std::max(switchSec - kShownBeforeEndSec, 0.0);
    // Short play has nothing worth hiding: the board stays.
    if (!(shownUntil < shownFrom)) return {};
    return {{0.0, shownUntil}, {shownFrom, lengthSec}};
}

}  // namespace

std::string boardName(const std::string& name, const std::string& fallback) {
    std::string text = trimmed(name);
    if (text.empty()) text = trimmed(fallback);
    return upperCase(text);
}

std::vector<BoardClip> boardClips(const std::vector<Rally>& rallies, const MatchSetup& match,
                                  const Settings& settings, const ProjectSettings& paddings) {
    if (!settings.boardEnabled || !anyRallyScored(rallies)) return {};

    const std::string home = boardName(match.homeName, "Home");
    const std::string away = boardName(match.awayName, "Away");
    const std::vector<RallyScore> scores = rallyScores(rallies);
    const std::vector<SetScore> sets = setScores(rallies);

    std::vector<BoardClip> clips;
    clips.reserve(rallies.size());
    for (size_t i = 0; i < rallies.size(); ++i) {
        const Rally& rally = rallies[i];
        const RallyScore& score = scores[i];
        const SetsWon won = setsLedBefore(sets, score.setBefore);

        BoardClip clip;
        clip.before = stateOf(home, away, score.setBefore, score.homeBefore, score.awayBefore, won, Winner::None);
        clip.after = stateOf(home, away, score.setAfter, score.homeAfter, score.awayAfter, won, rally.winner);
        clip.lengthSec = rallyLengthSec(rally);
        clip.switchSec = std::clamp(clip.lengthSec - paddings.endPaddingSec, 0.0, clip.lengthSec);
        clip.highlightEndSec = clip.switchSec + (rally.winner != Winner::None ? kHighlightSec : 0.0);
        clip.visible = visibleStretches(settings, paddings, clip.switchSec, clip.lengthSec);
        clip.style = settings.boardStyle;
        clip.position = settings.boardPosition;
        clips.push_back(std::move(clip));
    }
    return clips;
}

double boardOpacity(const BoardClip& clip, double t) {
    if (clip.visible.empty()) return 1.0;
    const auto inside = std::find_if(clip.visible.begin(), clip.visible.end(),
                                     [t](const BoardInterval& interval) {
                                         return interval.fromSec <= t && t <= interval.toSec;
                                     });
    if (inside == clip.visible.end()) return 0.0;
    double opacity = 1.0;
    if (inside->fromSec > 0) opacity = std::min(opacity, (t - inside->fromSec) / kFadeSec);
    if (inside->toSec < clip.lengthSec) opacity = std::min(opacity, (inside->toSec - t) / kFadeSec);
    return std::clamp(opacity, 0.0, 1.0);
}

BoardState boardStateAt(const BoardClip& clip, double t) {
    if (t < clip.switchSec) return clip.before;
    BoardState state = clip.after;
    if (t >= clip.highlightEndSec) state.highlighted = Winner::None;
    return state;
}

}  // namespace rallinox
