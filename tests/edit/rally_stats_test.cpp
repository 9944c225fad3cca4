// The editor's figures row and the export dialog's figures.
#include <gtest/gtest.h>

#include "edit/rally_stats.h"
#include "tests/edit/rally_builders.h"

namespace rallinox {
namespace {

using test::makeProject;

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

}  // namespace
}  // namespace rallinox
