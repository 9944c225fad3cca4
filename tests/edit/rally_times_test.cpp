#include "edit/rally_times.h"

#include <gtest/gtest.h>

#include "edit/rally_order.h"
#include "tests/edit/rally_builders.h"

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

}  // namespace
}  // namespace rallinox
