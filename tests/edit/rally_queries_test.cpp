// The rally list's breaks, figures and sorted order, and where next and
// previous rally go.
#include "edit/rally_queries.h"

#include <gtest/gtest.h>

#include "tests/support/rally_builders.h"

namespace rallinox {
namespace {

using test::makeProject;

TEST(RallyBreaks, EachBreakRunsFromTheLatestEndBeforeTheRally) {
    // The second rally lies inside the first: the third's break counts from the first's end.
    const Project project = makeProject({{12, 40}, {20, 30}, {45, 50}, {49, 60}}, 100);
    const RallyBreaks breaks = rallyBreaks(project.rallies);
    ASSERT_EQ(breaks.beforeSec.size(), 4u);
    EXPECT_DOUBLE_EQ(breaks.beforeSec[0], 12);  // from the video's start
    EXPECT_DOUBLE_EQ(breaks.beforeSec[1], 0);
    EXPECT_DOUBLE_EQ(breaks.beforeSec[2], 5);
    EXPECT_DOUBLE_EQ(breaks.beforeSec[3], 0);  // overlaps the one before
}

TEST(RallyBreaks, OnlyBreaksOverThirtySecondsAndTwiceTheMedianAreLong) {
    // Breaks after the first rally: 10, 12 and 100 s; the median 12 gives the floor of 30 s.
    const Project project = makeProject({{200, 205}, {215, 220}, {232, 240}, {340, 350}}, 400);
    const RallyBreaks breaks = rallyBreaks(project.rallies);
    EXPECT_DOUBLE_EQ(breaks.longThresholdSec, 30);
    EXPECT_FALSE(breaks.isLong(0)) << "the 200 s before the first rally is never long";
    EXPECT_FALSE(breaks.isLong(1));
    EXPECT_FALSE(breaks.isLong(2));
    EXPECT_TRUE(breaks.isLong(3));
}

TEST(RallyBreaks, TheThresholdFollowsLongUsualBreaksWithTheMeanOfTheTwoMiddleOnes) {
    // Breaks 20, 30, 40 and 100 s: median (30 + 40) / 2 = 35, threshold 70 s.
    const Project project = makeProject({{0, 10}, {30, 40}, {70, 80}, {120, 130}, {230, 240}}, 300);
    const RallyBreaks breaks = rallyBreaks(project.rallies);
    EXPECT_DOUBLE_EQ(breaks.longThresholdSec, 70);
    EXPECT_FALSE(breaks.isLong(3));
    EXPECT_TRUE(breaks.isLong(4));
}

TEST(RallyBreaks, ASingleRallyHasNoLongBreak) {
    const Project project = makeProject({{500, 510}}, 600);
    const RallyBreaks breaks = rallyBreaks(project.rallies);
    EXPECT_DOUBLE_EQ(breaks.beforeSec.at(0), 500);
    EXPECT_FALSE(breaks.isLong(0));
    EXPECT_TRUE(rallyBreaks({}).beforeSec.empty());
}

TEST(RallyLength, ABackwardsRallyHasNoLength) {
    Rally rally;
    rally.startSec = 10;
    rally.endSec = 4;
    EXPECT_DOUBLE_EQ(rallyLengthSec(rally), 0);
    rally.endSec = 17.5;
    EXPECT_DOUBLE_EQ(rallyLengthSec(rally), 7.5);
}

TEST(RallyRowOrder, SortsByLengthOrBreakAndKeepsListOrderForEqualKeys) {
    // Lengths 5, 8, 5, 2; breaks 0, 5, 7, 5.
    const Project project = makeProject({{0, 5}, {10, 18}, {25, 30}, {35, 37}}, 60);
    using Order = std::vector<size_t>;
    EXPECT_EQ(rallyRowOrder(project.rallies, RallyOrderKey::Position, false), (Order{0, 1, 2, 3}));
    EXPECT_EQ(rallyRowOrder(project.rallies, RallyOrderKey::Position, true), (Order{3, 2, 1, 0}));
    EXPECT_EQ(rallyRowOrder(project.rallies, RallyOrderKey::Length, true), (Order{1, 0, 2, 3}));
    EXPECT_EQ(rallyRowOrder(project.rallies, RallyOrderKey::Length, false), (Order{3, 0, 2, 1}));
    EXPECT_EQ(rallyRowOrder(project.rallies, RallyOrderKey::Break, true), (Order{2, 1, 3, 0}));
    EXPECT_EQ(rallyRowOrder(project.rallies, RallyOrderKey::Break, false), (Order{0, 1, 3, 2}));
    EXPECT_TRUE(rallyRowOrder({}, RallyOrderKey::Break, true).empty());
}

TEST(RallyStats, SumsLengthsAndSharesOfTheVideo) {
    const Project project = makeProject({{10, 14}, {20, 30}, {40, 46}}, 100);
    const RallyStats stats = rallyStats(project.rallies, project.videoDurationSec);
    EXPECT_EQ(stats.count, 3u);
    EXPECT_DOUBLE_EQ(stats.totalSec, 20);
    EXPECT_DOUBLE_EQ(stats.averageSec, 20.0 / 3);
    EXPECT_DOUBLE_EQ(stats.longestSec, 10);
    EXPECT_DOUBLE_EQ(stats.shortestSec, 4);
    EXPECT_DOUBLE_EQ(stats.share, 0.2);
    EXPECT_DOUBLE_EQ(stats.cutOutSec, 80);
}

TEST(RallyStats, CountsOnlyTickedRalliesWhenAsked) {
    Project project = makeProject({{10, 14}, {20, 30}}, 100);
    project.rallies[1].selected = false;
    const RallyStats stats = rallyStats(project.rallies, 100, true);
    EXPECT_EQ(stats.count, 1u);
    EXPECT_DOUBLE_EQ(stats.totalSec, 4);
    EXPECT_DOUBLE_EQ(stats.shortestSec, 4);
}

TEST(RallyStats, EmptyListsUnknownLengthsAndBackwardRallies) {
    const RallyStats none = rallyStats({}, 60);
    EXPECT_EQ(none.count, 0u);
    EXPECT_DOUBLE_EQ(none.averageSec, 0);
    EXPECT_DOUBLE_EQ(none.cutOutSec, 60);

    const Project backward = makeProject({{30, 20}, {40, 50}}, 0);
    const RallyStats stats = rallyStats(backward.rallies, 0);
    EXPECT_DOUBLE_EQ(stats.totalSec, 10) << "a rally ending before it starts counts as 0 s";
    EXPECT_DOUBLE_EQ(stats.shortestSec, 0);
    EXPECT_DOUBLE_EQ(stats.share, 0) << "no share without a known video length";
    EXPECT_DOUBLE_EQ(stats.cutOutSec, 0);

    const Project longer = makeProject({{0, 90}}, 60);
    EXPECT_DOUBLE_EQ(rallyStats(longer.rallies, 60).share, 1.0);
}

// Rallies start at 10, 30 and 50 s.
const Project kProject = makeProject({{10, 20}, {30, 40}, {50, 60}}, 100);

TEST(PreviousRally, GoesBackToTheRallyBeforeOnlyInTheFirstSecond) {
    EXPECT_EQ(previousRallyByTime(kProject.rallies, 30.5), 0) << "0.5 s after a start: the rally before";
    EXPECT_EQ(previousRallyByTime(kProject.rallies, 32), 1) << "2 s after a start: that rally's own start";
    EXPECT_EQ(previousRallyByTime(kProject.rallies, 45), 1);
    EXPECT_EQ(previousRallyByTime(kProject.rallies, 10.5), -1);
    EXPECT_EQ(previousRallyByTime(kProject.rallies, 0), -1);
}

TEST(NextRally, SkipsTheRallyThePlayerIsAtTheStartOf) {
    EXPECT_EQ(nextRallyByTime(kProject.rallies, 0), 0);
    EXPECT_EQ(nextRallyByTime(kProject.rallies, 10), 1) << "standing on a start, next is the following rally";
    EXPECT_EQ(nextRallyByTime(kProject.rallies, 29.7), 1);
    EXPECT_EQ(nextRallyByTime(kProject.rallies, 29.8), 2);
    EXPECT_EQ(nextRallyByTime(kProject.rallies, 55), -1);
    EXPECT_EQ(nextRallyByTime({}, 0), -1);
}

TEST(RallyCount, OneRallyAndAnyOtherNumberOfRallies) {
    EXPECT_EQ(rallyCount(0), "0 rallies");
    EXPECT_EQ(rallyCount(1), "1 rally");
    EXPECT_EQ(rallyCount(2), "2 rallies");
    EXPECT_EQ(rallyCount(21), "21 rallies");
}

}  // namespace
}  // namespace rallinox
