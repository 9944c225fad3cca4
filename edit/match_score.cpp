#include "edit/match_score.h"

#include <algorithm>

namespace rallinox {

namespace {

int32_t setsNeeded(const MatchSetup& match) {
    return match.bestOf / 2 + 1;
}

bool anyScoredIn(const std::vector<Rally>& rallies, size_t first, size_t end) {
    return std::any_of(rallies.begin() + first, rallies.begin() + end,
                       [](const Rally& rally) { return rally.winner != Winner::None; });
}

// A tie counts for nobody.
void countForLeader(SetsWon& sets, int32_t home, int32_t away) {
    if (home > away) ++sets.home;
    if (away > home) ++sets.away;
}

bool wonAfter(const RallyScore& score, const MatchSetup& match) {
    return isSetWon(score.setAfter, score.homeAfter, score.awayAfter, match);
}

}  // namespace

std::vector<RallyScore> rallyScores(const std::vector<Rally>& rallies) {
    std::vector<RallyScore> scores;
    scores.reserve(rallies.size());
    RallyScore score;
    for (size_t i = 0; i < rallies.size(); ++i) {
        const Rally& rally = rallies[i];
        if (i > 0 && rally.setStart) {
            ++score.setAfter;
            score.homeAfter = score.awayAfter = 0;
        }
        score.setBefore = score.setAfter;
        score.homeBefore = score.homeAfter;
        score.awayBefore = score.awayAfter;
        if (rally.winner == Winner::Home) ++score.homeAfter;
        if (rally.winner == Winner::Away) ++score.awayAfter;
        scores.push_back(score);
    }
    return scores;
}

std::vector<SetScore> setScores(const std::vector<Rally>& rallies) {
    std::vector<SetScore> sets;
    for (const RallyScore& score : rallyScores(rallies)) {
        const SetScore end{score.setAfter, score.homeAfter, score.awayAfter};
        if (!sets.empty() && sets.back().set == end.set) {
            sets.back() = end;
        } else {
            sets.push_back(end);
        }
    }
    return sets;
}

bool isSetWon(int32_t set, int32_t home, int32_t away, const MatchSetup& match) {
    const int32_t target = set < match.bestOf ? match.setPoints : match.decidingSetPoints;
    return std::max(home, away) >= target && std::max(home, away) - std::min(home, away) >= match.winBy;
}

SetsWon setsWon(const std::vector<SetScore>& sets, const MatchSetup& match) {
    SetsWon won;
    for (size_t i = 0; i < sets.size(); ++i) {
        const SetScore& set = sets[i];
        const bool inProgress = i + 1 == sets.size() && !isSetWon(set.set, set.home, set.away, match);
        if (!inProgress) countForLeader(won, set.home, set.away);
    }
    return won;
}

Winner matchWinner(const std::vector<Rally>& rallies, const MatchSetup& match) {
    const SetsWon won = setsWon(setScores(rallies), match);
    if (won.home >= setsNeeded(match)) return Winner::Home;
    if (won.away >= setsNeeded(match)) return Winner::Away;
    return Winner::None;
}

std::vector<ScoreIssue> scoreIssues(const std::vector<Rally>& rallies, const MatchSetup& match) {
    const std::vector<RallyScore> scores = rallyScores(rallies);
    std::vector<ScoreIssue> issues;
    auto addIssue = [&](ScoreIssueKind kind, size_t index) {
        const RallyScore& score = scores[index];
        issues.push_back({kind, index, score.setAfter, score.homeAfter, score.awayAfter});
    };
    SetsWon sets;
    for (size_t first = 0; first < rallies.size();) {
        size_t next = first + 1;
        while (next < rallies.size() && !rallies[next].setStart) ++next;

        size_t setEnd = first;
        while (setEnd < next && !wonAfter(scores[setEnd], match)) ++setEnd;
        if (setEnd == next) {
            if (next == rallies.size()) break;  // the last set is still being played
            setEnd = next - 1;
            addIssue(ScoreIssueKind::SetNotWon, setEnd);
        } else if (anyScoredIn(rallies, setEnd + 1, next)) {
            addIssue(ScoreIssueKind::SetGoesOn, setEnd);
        }
        countForLeader(sets, scores[setEnd].homeAfter, scores[setEnd].awayAfter);

        if (sets.home >= setsNeeded(match) || sets.away >= setsNeeded(match)) {
            if (anyScoredIn(rallies, setEnd + 1, rallies.size())) {
                addIssue(ScoreIssueKind::ScoredAfterMatch, setEnd);
            }
            break;
        }
        first = next;
    }
    return issues;
}

std::string issueText(const ScoreIssue& issue) {
    const std::string set = std::to_string(issue.set);
    const std::string score = std::to_string(issue.home) + "-" + std::to_string(issue.away);
    switch (issue.kind) {
        case ScoreIssueKind::SetNotWon:
            return "Set " + set + " ended at " + score + ", which does not win a set. A point or a set end may be missing.";
        case ScoreIssueKind::SetGoesOn:
            return "Set " + set + " was won at " + score + " but goes on. Mark a new set after that rally?";
        case ScoreIssueKind::ScoredAfterMatch:
            return "The match was won at " + score + " in set " + set + ", but later rallies are scored.";
    }
    return {};
}

int nextUnscored(const std::vector<Rally>& rallies, int after) {
    const size_t count = rallies.size();
    const size_t first = after < 0 ? 0 : static_cast<size_t>(after) + 1;
    for (size_t step = 0; step < count; ++step) {
        const size_t i = (first + step) % count;
        if (rallies[i].winner == Winner::None) return static_cast<int>(i);
    }
    return -1;
}

SetsWon setsLedBefore(const std::vector<SetScore>& sets, int32_t set) {
    SetsWon led;
    for (const SetScore& score : sets) {
        if (score.set < set) countForLeader(led, score.home, score.away);
    }
    return led;
}

Winner winnerForSide(Side side, bool homeOnLeft) {
    return (side == Side::Left) == homeOnLeft ? Winner::Home : Winner::Away;
}

}  // namespace rallinox
