// Volleyball scoring derived from the rallies: only each rally's winner and
// set-start mark are stored, everything here is recomputed when needed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/core/project.h"

namespace rallinox {

// The running score around one rally; the set number is the same before and after.
struct RallyScore {
    int32_t setBefore = 1;
    int32_t homeBefore = 0;
    int32_t awayBefore = 0;
    int32_t setAfter = 1;
    int32_t homeAfter = 0;
    int32_t awayAfter = 0;

    bool operator==(const RallyScore&) const = default;
};

// The score at the end of one set.
struct SetScore {
    int32_t set = 1;
    int32_t home = 0;
    int32_t away = 0;

    bool operator==(const SetScore&) const = default;
};

struct SetsWon {
    int32_t home = 0;
    int32_t away = 0;

    bool operator==(const SetsWon&) const = default;
};

enum class ScoreIssueKind : int {
    SetNotWon = 0,         // a set mark follows a set whose score wins nothing
    SetGoesOn = 1,         // rallies are scored after the set was won
    ScoredAfterMatch = 2,  // rallies are scored after the match was decided
};

struct ScoreIssue {
    ScoreIssueKind kind = ScoreIssueKind::SetNotWon;
    size_t rallyIndex = 0;  // list position of the rally the issue points at
    int32_t set = 1;        // the score after that rally
    int32_t home = 0;
    int32_t away = 0;

    bool operator==(const ScoreIssue&) const = default;
};

enum class Side : int { Left = 0, Right = 1 };

std::vector<RallyScore> rallyScores(const std::vector<Rally>& rallies);
// One row per set that has at least one rally, in order.
std::vector<SetScore> setScores(const std::vector<Rally>& rallies);
bool isSetWon(int32_t set, int32_t home, int32_t away, const MatchSetup& match);
// The last set counts only once it is won; earlier sets count for whoever leads.
SetsWon setsWon(const std::vector<SetScore>& sets, const MatchSetup& match);
Winner matchWinner(const std::vector<Rally>& rallies, const MatchSetup& match);
std::vector<ScoreIssue> scoreIssues(const std::vector<Rally>& rallies, const MatchSetup& match);
std::string issueText(const ScoreIssue& issue);
// The first unscored rally after list position `after` (-1: from the start),
// going on from the start of the list; -1 when every rally is scored.
int nextUnscored(const std::vector<Rally>& rallies, int after);
// Sets won by each team among the sets before `set`, counted by who leads.
SetsWon setsLedBefore(const std::vector<SetScore>& sets, int32_t set);
// Which team plays on that side of the picture.
Winner winnerForSide(Side side, bool homeOnLeft);

}  // namespace rallinox
