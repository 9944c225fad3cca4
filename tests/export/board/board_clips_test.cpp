#include "export/board_clips.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/rally_builders.h"

namespace rallinox {
namespace {

using test::scriptedRallies;

MatchSetup teams(const std::string& home, const std::string& away) {
    MatchSetup match;
    match.homeName = home;
    match.awayName = away;
    return match;
}

Settings boardSettings(BoardTiming timing, BoardStyle style = BoardStyle::TwoRows,
                       BoardPosition position = BoardPosition::TopLeft) {
    Settings settings;
    settings.boardEnabled = true;
    settings.boardTiming = timing;
    settings.boardStyle = style;
    settings.boardPosition = position;
    return settings;
}

ProjectSettings paddings(double startSec, double endSec) {
    ProjectSettings project;
    project.startPaddingSec = startSec;
    project.endPaddingSec = endSec;
    return project;
}

TEST(BoardClips, NoBoardWhenSwitchedOffOrNothingIsScored) {
    Settings off = boardSettings(BoardTiming::WholeRally);
    off.boardEnabled = false;
    EXPECT_TRUE(boardClips(scriptedRallies("ha"), MatchSetup{}, off, ProjectSettings{}).empty());
    EXPECT_TRUE(boardClips(scriptedRallies("..."), MatchSetup{}, boardSettings(BoardTiming::WholeRally), ProjectSettings{}).empty());
    EXPECT_TRUE(boardClips({}, MatchSetup{}, boardSettings(BoardTiming::WholeRally), ProjectSettings{}).empty());
    EXPECT_EQ(boardClips(scriptedRallies("..h"), MatchSetup{}, boardSettings(BoardTiming::WholeRally), ProjectSettings{}).size(), 3u);
}

TEST(BoardClips, WholeRallyShowsTheScoreBeforeThenTheWinnerLitThenTheScoreAfter) {
    const auto clips =
        boardClips(scriptedRallies("ha", 20.0), teams("Lions", "Tigers"), boardSettings(BoardTiming::WholeRally, BoardStyle::OneBar, BoardPosition::BottomLeft), paddings(1.5, 3.0));
    ASSERT_EQ(clips.size(), 2u);
    const BoardClip& second = clips[1];
    EXPECT_DOUBLE_EQ(second.lengthSec, 20.0);
    EXPECT_DOUBLE_EQ(second.switchSec, 17.0);
    EXPECT_DOUBLE_EQ(second.highlightEndSec, 18.5);
    EXPECT_TRUE(second.visible.empty());
    EXPECT_EQ(second.style, BoardStyle::OneBar);
    EXPECT_EQ(second.position, BoardPosition::BottomLeft);

    const BoardState playing = boardStateAt(second, 0.0);
    EXPECT_EQ(playing.homeName, "LIONS");
    EXPECT_EQ(playing.awayName, "TIGERS");
    EXPECT_EQ(playing.homePoints, 1);
    EXPECT_EQ(playing.awayPoints, 0);
    EXPECT_EQ(playing.highlighted, Winner::None);
    EXPECT_EQ(boardStateAt(second, 16.99), playing);

    const BoardState lit = boardStateAt(second, 17.0);
    EXPECT_EQ(lit.homePoints, 1);
    EXPECT_EQ(lit.awayPoints, 1);
    EXPECT_EQ(lit.highlighted, Winner::Away);
    EXPECT_EQ(boardStateAt(second, 18.49), lit);

    BoardState settled = lit;
    settled.highlighted = Winner::None;
    EXPECT_EQ(boardStateAt(second, 18.5), settled);
    EXPECT_EQ(boardStateAt(second, 20.0), settled);
    for (double t : {0.0, 10.0, 17.0, 20.0}) EXPECT_EQ(boardOpacity(second, t), 1.0);
}

TEST(BoardClips, UnscoredRallySwitchesToTheSameScoreAndNeverLightsUp) {
    const auto clips = boardClips(scriptedRallies("h."), MatchSetup{}, boardSettings(BoardTiming::WholeRally), paddings(1.5, 3.0));
    ASSERT_EQ(clips.size(), 2u);
    const BoardClip& unscored = clips[1];
    EXPECT_DOUBLE_EQ(unscored.highlightEndSec, unscored.switchSec);
    EXPECT_EQ(unscored.before, unscored.after);
    for (double t : {0.0, 16.9, 17.0, 17.5, 20.0}) {
        EXPECT_EQ(boardStateAt(unscored, t).highlighted, Winner::None);
        EXPECT_EQ(boardStateAt(unscored, t).homePoints, 1);
    }
}

TEST(BoardClips, SwitchTimeStaysWithinTheClip) {
    const auto shortClips = boardClips(scriptedRallies("h", 2.0), MatchSetup{}, boardSettings(BoardTiming::WholeRally), paddings(1.5, 3.0));
    ASSERT_EQ(shortClips.size(), 1u);
    EXPECT_DOUBLE_EQ(shortClips[0].switchSec, 0.0);
    EXPECT_EQ(boardStateAt(shortClips[0], 0.0).homePoints, 1);  // the point is shown won at once

    auto reversed = scriptedRallies("h");
    reversed[0].endSec = reversed[0].startSec - 5.0;
    const auto clips = boardClips(reversed, MatchSetup{}, boardSettings(BoardTiming::WholeRally), paddings(1.5, 3.0));
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_DOUBLE_EQ(clips[0].lengthSec, 0.0);
    EXPECT_DOUBLE_EQ(clips[0].switchSec, 0.0);
}

TEST(BoardClips, StartAndEndShowsTheFirstSecondsOfPlayAndTheEndWithFades) {
    const auto clips = boardClips(scriptedRallies("a", 20.0), MatchSetup{}, boardSettings(BoardTiming::StartAndEnd), paddings(1.5, 3.0));
    ASSERT_EQ(clips.size(), 1u);
    const BoardClip& clip = clips[0];
    ASSERT_EQ(clip.visible.size(), 2u);
    EXPECT_EQ(clip.visible[0], (BoardInterval{0.0, 4.5}));    // start padding + 3 s of play
    EXPECT_EQ(clip.visible[1], (BoardInterval{16.0, 20.0}));  // 1 s before the point ends

    EXPECT_DOUBLE_EQ(boardOpacity(clip, 0.0), 1.0);  // the clip's own start does not fade
    EXPECT_DOUBLE_EQ(boardOpacity(clip, 4.0), 1.0);
    EXPECT_NEAR(boardOpacity(clip, 4.35), 0.5, 1e-9);
    EXPECT_DOUBLE_EQ(boardOpacity(clip, 4.5), 0.0);
    EXPECT_DOUBLE_EQ(boardOpacity(clip, 10.0), 0.0);
    EXPECT_NEAR(boardOpacity(clip, 16.15), 0.5, 1e-9);
    EXPECT_DOUBLE_EQ(boardOpacity(clip, 16.3), 1.0);
    EXPECT_DOUBLE_EQ(boardOpacity(clip, 20.0), 1.0);  // nor does its end
    EXPECT_DOUBLE_EQ(boardOpacity(clip, 25.0), 0.0);
}

TEST(BoardClips, StartAndEndKeepsTheBoardOnShortPlay) {
    // Play from 1.5 s to the switch at 5 s lasts 3.5 s: nothing is hidden.
    const auto clips = boardClips(scriptedRallies("h", 8.0), MatchSetup{}, boardSettings(BoardTiming::StartAndEnd), paddings(1.5, 3.0));
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_TRUE(clips[0].visible.empty());
    for (double t : {0.0, 4.0, 4.6, 8.0}) EXPECT_EQ(boardOpacity(clips[0], t), 1.0);

    // Exactly 4 s of play: the shown stretches meet, the board stays; a little
    // more and the middle is hidden.
    const auto edge = boardClips(scriptedRallies("h", 8.5), MatchSetup{}, boardSettings(BoardTiming::StartAndEnd), paddings(1.5, 3.0));
    EXPECT_TRUE(edge[0].visible.empty());
    const auto longer = boardClips(scriptedRallies("h", 9.0), MatchSetup{}, boardSettings(BoardTiming::StartAndEnd), paddings(1.5, 3.0));
    EXPECT_EQ(longer[0].visible.size(), 2u);
}

TEST(BoardClips, SetsWonCountTheSetsBeforeTheRally) {
    const auto clips =
        boardClips(scriptedRallies("hh|aaa|h.a|h"), MatchSetup{}, boardSettings(BoardTiming::WholeRally), paddings(1.5, 3.0));
    ASSERT_EQ(clips.size(), 9u);
    const BoardState firstSet = clips[1].after;
    EXPECT_EQ(firstSet.set, 1);
    EXPECT_EQ(firstSet.homeSets, 0);
    EXPECT_EQ(firstSet.awaySets, 0);
    EXPECT_EQ(firstSet.homePoints, 2);

    const BoardState secondSetStart = clips[2].before;
    EXPECT_EQ(secondSetStart.set, 2);
    EXPECT_EQ(secondSetStart.homePoints, 0);
    EXPECT_EQ(secondSetStart.awayPoints, 0);
    EXPECT_EQ(secondSetStart.homeSets, 1);
    EXPECT_EQ(secondSetStart.awaySets, 0);

    const BoardClip& thirdSetLast = clips[7];
    EXPECT_EQ(thirdSetLast.before.set, 3);
    EXPECT_EQ(thirdSetLast.before.homeSets, 1);
    EXPECT_EQ(thirdSetLast.before.awaySets, 1);
    EXPECT_EQ(thirdSetLast.after.homePoints, 1);
    EXPECT_EQ(thirdSetLast.after.awayPoints, 1);
    // The set in progress counts for nobody, the finished ones for their leader.
    EXPECT_EQ(thirdSetLast.after.homeSets, 1);
    EXPECT_EQ(thirdSetLast.after.awaySets, 1);
    EXPECT_EQ(clips[8].before.set, 4);
    EXPECT_EQ(clips[8].before.awaySets, 1);
    EXPECT_EQ(clips[8].before.homeSets, 1);  // set 3 ended 1-1: a tie counts for nobody
}

TEST(BoardNames, TrimmedUpperCasedWithTheirDiacriticsAndNeverEmpty) {
    EXPECT_EQ(boardName(" Lions \t\r\n", "Home"), "LIONS");
    EXPECT_EQ(boardName("straße", "Home"), "STRASSE");
    EXPECT_EQ(boardName("çağ", "Home"), "ÇAĞ");
    EXPECT_EQ(boardName("Ünal Spor", "Home"), "ÜNAL SPOR");
    EXPECT_EQ(boardName("", "Home"), "HOME");
    EXPECT_EQ(boardName(" \t ", "Away"), "AWAY");
    EXPECT_FALSE(boardName("ab\xff\xfe", "Home").empty());  // damaged text is repaired, not dropped

    const auto clips = boardClips(scriptedRallies("h"), teams("", "çağ "), boardSettings(BoardTiming::WholeRally), ProjectSettings{});
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(clips[0].before.homeName, "HOME");
    EXPECT_EQ(clips[0].after.awayName, "ÇAĞ");
}

}  // namespace
}  // namespace rallinox
