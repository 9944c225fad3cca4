#include "edit/match_score.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/rally_builders.h"

namespace rallinox {
namespace {

using test::scriptedRallies;

MatchSetup indoor() {
    MatchSetup match;
    match.bestOf = 5;
    match.setPoints = 25;
    match.decidingSetPoints = 15;
    match.winBy = 2;
    return match;
}

MatchSetup beach() {
    MatchSetup match = indoor();
    match.bestOf = 3;
    match.setPoints = 21;
    return match;
}

// A set's rallies in which the leading team scores last, so the set reaches
// this score only with its final rally.
std::string points(int home, int away) {
    const std::string homePoints(home, 'h');
    const std::string awayPoints(away, 'a');
    return home >= away ? awayPoints + homePoints : homePoints + awayPoints;
}

TEST(MatchScore, RunningScoreRestartsAtEachSetMark) {
    const auto scores = rallyScores(scriptedRallies("h.a|ah"));
    ASSERT_EQ(scores.size(), 5u);
    EXPECT_EQ(scores[0], (RallyScore{1, 0, 0, 1, 1, 0}));
    EXPECT_EQ(scores[1], (RallyScore{1, 1, 0, 1, 1, 0}));  // unscored: before == after
    EXPECT_EQ(scores[2], (RallyScore{1, 1, 0, 1, 1, 1}));
    EXPECT_EQ(scores[3], (RallyScore{2, 0, 0, 2, 0, 1}));
    EXPECT_EQ(scores[4], (RallyScore{2, 0, 1, 2, 1, 1}));
    EXPECT_EQ(setScores(scriptedRallies("h.a|ah")), (std::vector<SetScore>{{1, 1, 1}, {2, 1, 1}}));
}

TEST(MatchScore, SetMarkOnTheFirstRallyIsIgnored) {
    EXPECT_EQ(rallyScores(scriptedRallies("|hh")), rallyScores(scriptedRallies("hh")));
    EXPECT_TRUE(setScores({}).empty());
}

TEST(MatchScore, SetWonRulesForIndoorAndBeach) {
    const MatchSetup match = indoor();
    EXPECT_TRUE(isSetWon(1, 25, 23, match));
    EXPECT_FALSE(isSetWon(1, 25, 24, match));
    EXPECT_TRUE(isSetWon(1, 26, 24, match));
    EXPECT_TRUE(isSetWon(1, 23, 25, match));
    EXPECT_TRUE(isSetWon(5, 15, 13, match));
    EXPECT_FALSE(isSetWon(4, 15, 13, match));  // only set 5 is played to 15

    const MatchSetup sand = beach();
    EXPECT_TRUE(isSetWon(2, 21, 19, sand));
    EXPECT_FALSE(isSetWon(2, 21, 20, sand));
    EXPECT_TRUE(isSetWon(3, 15, 13, sand));
    EXPECT_FALSE(isSetWon(3, 14, 12, sand));

    MatchSetup byOne = indoor();
    byOne.winBy = 1;
    EXPECT_TRUE(isSetWon(1, 25, 24, byOne));
    EXPECT_FALSE(isSetWon(1, 24, 23, byOne));
    byOne = beach();
    byOne.winBy = 1;
    EXPECT_TRUE(isSetWon(3, 15, 14, byOne));
}

TEST(MatchScore, SetsWonCountOnlyFinishedSets) {
    const MatchSetup match = indoor();
    EXPECT_EQ(setsWon({{1, 25, 20}, {2, 10, 3}}, match), (SetsWon{1, 0}));   // set 2 in progress
    EXPECT_EQ(setsWon({{1, 20, 25}, {2, 25, 10}}, match), (SetsWon{1, 1}));
    EXPECT_EQ(setsWon({{1, 22, 20}, {2, 3, 3}}, match), (SetsWon{1, 0}));    // earlier sets: who leads
    EXPECT_EQ(setsWon({{1, 12, 12}, {2, 25, 0}}, match), (SetsWon{1, 0}));   // a tie counts for nobody
}

TEST(MatchScore, MatchWinnerNeedsAMajorityOfSets) {
    const MatchSetup sand = beach();
    EXPECT_EQ(matchWinner(scriptedRallies(points(21, 10) + "|" + points(21, 5)), sand), Winner::Home);
    EXPECT_EQ(matchWinner(scriptedRallies(points(21, 10) + "|" + points(5, 21) + "|" + points(3, 15)), sand),
              Winner::Away);
    EXPECT_EQ(matchWinner(scriptedRallies(points(21, 10) + "|" + points(5, 12)), sand), Winner::None);

    MatchSetup single = indoor();
    single.bestOf = 1;
    EXPECT_EQ(matchWinner(scriptedRallies(points(15, 10)), single), Winner::Home);
}

TEST(MatchScore, SetEndedWithoutAWinningScore) {
    // 22-20 then a set mark: reported, and still counted for home.
    const auto list = scriptedRallies(points(22, 20) + "|" + points(25, 0) + "|" + points(25, 0) + "|a");
    const auto issues = scoreIssues(list, indoor());
    ASSERT_EQ(issues.size(), 2u);
    EXPECT_EQ(issues[0], (ScoreIssue{ScoreIssueKind::SetNotWon, 41, 1, 22, 20}));
    EXPECT_EQ(issueText(issues[0]),
              "Set 1 ended at 22-20, which does not win a set. A point or a set end may be missing.");
    EXPECT_EQ(issues[1].kind, ScoreIssueKind::ScoredAfterMatch);  // three sets with the unfinished first

    EXPECT_TRUE(scoreIssues(scriptedRallies(points(20, 25) + "|h"), indoor()).empty());
}

TEST(MatchScore, SetWonButGoingOn) {
    const auto list = scriptedRallies(points(25, 20) + "..h");
    const auto issues = scoreIssues(list, indoor());
    ASSERT_EQ(issues.size(), 1u);
    EXPECT_EQ(issues[0], (ScoreIssue{ScoreIssueKind::SetGoesOn, 44, 1, 25, 20}));
    EXPECT_EQ(issueText(issues[0]), "Set 1 was won at 25-20 but goes on. Mark a new set after that rally?");

    EXPECT_TRUE(scoreIssues(scriptedRallies(points(25, 20) + "..."), indoor()).empty());
}

TEST(MatchScore, RalliesScoredAfterTheMatchWasWon) {
    const auto list = scriptedRallies(points(25, 15) + "|" + points(25, 18) + "|ha");
    MatchSetup match = indoor();
    match.bestOf = 3;
    const auto issues = scoreIssues(list, match);
    ASSERT_EQ(issues.size(), 1u);
    EXPECT_EQ(issues[0], (ScoreIssue{ScoreIssueKind::ScoredAfterMatch, 40 + 43 - 1, 2, 25, 18}));
    EXPECT_EQ(issueText(issues[0]), "The match was won at 25-18 in set 2, but later rallies are scored.");
    EXPECT_EQ(matchWinner(list, match), Winner::Home);
    EXPECT_EQ(setsWon(setScores(list), match), (SetsWon{2, 0}));  // the third set is unfinished
}

TEST(MatchScore, UnfinishedLastSetIsNoIssue) {
    EXPECT_TRUE(scoreIssues(scriptedRallies(points(25, 10) + "|" + points(10, 12)), indoor()).empty());
    EXPECT_TRUE(scoreIssues({}, indoor()).empty());
}

TEST(MatchScore, NextUnscoredWrapsAroundTheList) {
    const auto list = scriptedRallies(".hh.a");
    EXPECT_EQ(nextUnscored(list, 0), 3);
    EXPECT_EQ(nextUnscored(list, 4), 0);  // from the last rally back to the first
    EXPECT_EQ(nextUnscored(list, -1), 0);
    EXPECT_EQ(nextUnscored(scriptedRallies("h.h"), 1), 1);  // the highlighted rally itself comes last
    EXPECT_EQ(nextUnscored(scriptedRallies("ha"), 0), -1);
    EXPECT_EQ(nextUnscored({}, -1), -1);
}

TEST(MatchScore, SetsBeforeTheShownSetCountForWhoeverLed) {
    const std::vector<SetScore> sets = {{1, 25, 20}, {2, 18, 18}, {3, 10, 25}, {4, 3, 1}};
    EXPECT_EQ(setsLedBefore(sets, 1), (SetsWon{0, 0}));
    EXPECT_EQ(setsLedBefore(sets, 4), (SetsWon{1, 1}));
}

TEST(MatchScore, SidesFollowTheSwap) {
    EXPECT_EQ(winnerForSide(Side::Left, true), Winner::Home);
    EXPECT_EQ(winnerForSide(Side::Right, true), Winner::Away);
    EXPECT_EQ(winnerForSide(Side::Left, false), Winner::Away);
    EXPECT_EQ(winnerForSide(Side::Right, false), Winner::Home);
}

}  // namespace
}  // namespace rallinox
