#include "edit/deciding_clip.h"

#include <gtest/gtest.h>

#include "tests/support/rally_builders.h"

namespace rallinox {
namespace {

using test::makeProject;

const ClipRules kEndOfRally{1.5, 3.0, false};
const ClipRules kNextServe{1.5, 3.0, true};

// Rallies 20 s apart, scored so that the score before rally home + away
// (0-based) is home-away; one more rally follows it.
std::vector<Rally> scoredTo(int home, int away) {
    test::Spans spans;
    for (int i = 0; i <= home + away + 1; ++i) spans.emplace_back(i * 20.0, i * 20.0 + 10);
    std::vector<Rally> rallies = makeProject(spans, 0).rallies;
    for (int i = 0; i < home + away; ++i) rallies[static_cast<size_t>(i)].winner = i < home ? Winner::Home : Winner::Away;
    return rallies;
}

TEST(DecidingClipWindow, EndOfRallyShowsThePointAndGrowsBackIntoTheRally) {
    const std::vector<Rally> rallies = makeProject({{80, 100}, {94, 100.5}}, 200).rallies;
    EXPECT_EQ(decidingClipWindow(rallies, 0, 0, kEndOfRally), (TimeSpan{92, 100}));
    EXPECT_EQ(decidingClipWindow(rallies, 0, 5, kEndOfRally), (TimeSpan{87, 100}));
    EXPECT_EQ(decidingClipWindow(rallies, 1, 0, kEndOfRally), (TimeSpan{94, 100.5})) << "never before the rally";
    EXPECT_EQ(decidingClipWindow(rallies, 2, 0, kEndOfRally), (TimeSpan{0, 0}));
    EXPECT_EQ(decidingClipWindow(rallies, -1, 0, kEndOfRally), (TimeSpan{0, 0}));
}

TEST(DecidingClipWindow, NextServeShowsTheNextStartUntilThatRallyEnds) {
    const std::vector<Rally> rallies = makeProject({{100, 120}, {130, 140}}, 200).rallies;
    EXPECT_EQ(decidingClipWindow(rallies, 0, 0, kNextServe), (TimeSpan{130, 135.5}));
    EXPECT_EQ(decidingClipWindow(rallies, 0, 10, kNextServe), (TimeSpan{130, 140}));
    EXPECT_EQ(decidingClipWindow(rallies, 1, 0, kNextServe), (TimeSpan{132, 140})) << "the last rally shows its end";
}

TEST(DecidingClipState, ShowMoreGrowsFiveSecondsPerPressForTheSameRallyOnly) {
    const std::vector<Rally> rallies = makeProject({{100, 120}, {130, 140}}, 200).rallies;
    DecidingClip clip;
    EXPECT_FALSE(clip.start(rallies, 5, 0, kNextServe));
    EXPECT_FALSE(clip.active());

    ASSERT_TRUE(clip.showMore(rallies, 0, kNextServe));
    EXPECT_EQ(clip.moreSec(), 5);
    ASSERT_TRUE(clip.showMore(rallies, 0, kNextServe));
    EXPECT_EQ(clip.window(), (TimeSpan{130, 140}));
    EXPECT_EQ(clip.rallyId(), 1);

    ASSERT_TRUE(clip.startWholeRally(rallies, 1));
    EXPECT_TRUE(clip.wholeRally());
    EXPECT_EQ(clip.window(), (TimeSpan{130, 140}));
    ASSERT_TRUE(clip.showMore(rallies, 1, kEndOfRally));
    EXPECT_FALSE(clip.wholeRally());
    EXPECT_EQ(clip.moreSec(), 5) << "a whole rally is not widened further";

    ASSERT_TRUE(clip.showMore(rallies, 0, kEndOfRally));
    EXPECT_EQ(clip.moreSec(), 5) << "another rally's clip starts over";
}

TEST(DecidingClipState, PausesOnceAtTheEndAndEndsWhenThePlayerLeavesOrTheRallyChanges) {
    const std::vector<Rally> rallies = makeProject({{80, 100}}, 200).rallies;
    DecidingClip clip;
    ASSERT_TRUE(clip.start(rallies, 0, 0, kEndOfRally));
    EXPECT_EQ(clip.update(1, 92, true), ClipStep::None);
    EXPECT_EQ(clip.update(1, 99.99, true), ClipStep::Pause);
    EXPECT_EQ(clip.update(1, 100.0, false), ClipStep::None) << "paused, the clip stays for Show more";
    EXPECT_TRUE(clip.active());
    EXPECT_EQ(clip.update(1, 100.6, false), ClipStep::Ended) << "sought past the window";
    EXPECT_FALSE(clip.active());
    EXPECT_EQ(clip.update(1, 95, true), ClipStep::None);

    ASSERT_TRUE(clip.start(rallies, 0, 0, kEndOfRally));
    EXPECT_EQ(clip.update(1, 91.6, false), ClipStep::None) << "within the half second before the window";
    EXPECT_EQ(clip.update(7, 95, true), ClipStep::Ended) << "another rally was highlighted";
}

TEST(DecidingClipText, NamesWhatTheClipShows) {
    std::vector<Rally> rallies = makeProject({{10, 20}, {50, 60}}, 100).rallies;
    rallies[1].name = "Block";
    const MatchSetup match;
    EXPECT_EQ(clipText(rallies, 0, match, false, false), "End of Rally 1");
    EXPECT_EQ(clipText(rallies, 0, match, true, true), "All of Rally 1");
    EXPECT_EQ(clipText(rallies, 1, match, true, false), "End of Block: no rally after it");
    EXPECT_EQ(clipText(rallies, 0, match, true, false), "Start of Block: the serving team won Rally 1");
    EXPECT_EQ(clipText(rallies, 2, match, true, false), "");

    rallies[1].setStart = true;
    EXPECT_EQ(clipText(rallies, 0, match, true, false),
              "Start of Block after a 0:30 break: if the teams changed ends, the set is over; "
              "if not, the serving team won Rally 1");
}

TEST(DecidingClipText, ASetPointNamesTheTeamThatWouldWinTheSet) {
    MatchSetup match;
    match.homeName = "Lions";
    std::vector<Rally> rallies = scoredTo(24, 23);
    EXPECT_EQ(clipText(rallies, 24 + 23, match, true, false),
              "Start of Rally 49 after a 0:10 break: if the teams changed ends, Lions won the set; "
              "if not, the serving team won Rally 48");
    EXPECT_NE(clipText(scoredTo(20, 24), 44, match, true, false).find("Away won the set"), std::string::npos);

    rallies = scoredTo(24, 24);
    EXPECT_EQ(clipText(rallies, 48, match, true, false),
              "Start of Rally 50: the serving team won Rally 49");

    match.winBy = 1;
    EXPECT_NE(clipText(rallies, 48, match, true, false).find("the set is over"), std::string::npos)
        << "at 24-24 with win by 1 either team can win the set";
}

}  // namespace
}  // namespace rallinox
