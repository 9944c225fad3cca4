// How the highlight follows the playhead, and how "Rallies only" skips the
// breaks while playing.
#include <gtest/gtest.h>

#include "edit/playhead_follow.h"
#include "tests/support/rally_builders.h"

namespace rallinox {
namespace {

using test::makeProject;

const Project kMatch = makeProject({{20, 30}, {40, 50}, {50, 55}}, 100);

TEST(PlayheadFollow, HighlightsTheRallyUnderAMovedPlayhead) {
    EXPECT_EQ(followPlayhead(kMatch.rallies, 25, true, false, true).highlightId, 1);
    EXPECT_EQ(followPlayhead(kMatch.rallies, 50, true, false, true).highlightId, 3)
        << "where two rallies touch, the later one is highlighted";
    EXPECT_EQ(followPlayhead(kMatch.rallies, 25, false, false, true).highlightId, 0) << "a still playhead keeps it";
    EXPECT_EQ(followPlayhead(kMatch.rallies, 35, true, false, true).highlightId, 0) << "a break keeps it";
    const FollowStep paused = followPlayhead(kMatch.rallies, 5, true, false, true);
    EXPECT_LT(paused.seekToSec, 0) << "nothing jumps while paused";
    EXPECT_FALSE(paused.pause);
}

TEST(PlayheadFollow, RalliesOnlyJumpsOverBreaksAndStopsAfterTheLast) {
    const FollowStep early = followPlayhead(kMatch.rallies, 10, true, true, true);
    EXPECT_DOUBLE_EQ(early.seekToSec, 20);
    EXPECT_EQ(early.highlightId, 1);

    const FollowStep gap = followPlayhead(kMatch.rallies, 30.05, true, true, true);
    EXPECT_DOUBLE_EQ(gap.seekToSec, 40) << "past the end of a rally the next one starts";
    EXPECT_EQ(gap.highlightId, 2);

    const FollowStep inside = followPlayhead(kMatch.rallies, 45, true, true, true);
    EXPECT_LT(inside.seekToSec, 0);
    EXPECT_EQ(inside.highlightId, 2);

    const FollowStep after = followPlayhead(kMatch.rallies, 56, true, true, true);
    EXPECT_TRUE(after.pause);
    EXPECT_LT(after.seekToSec, 0);
}

TEST(PlayheadFollow, RalliesOnlyPlaysIntoARallyThatIsAboutToStart) {
    const FollowStep step = followPlayhead(kMatch.rallies, 39.8, true, true, true);
    EXPECT_LT(step.seekToSec, 0) << "0.2 s before a start the rally is not skipped";
    EXPECT_FALSE(step.pause);
}

TEST(PlayheadFollow, WithoutRalliesOnlyOrWithoutRallies) {
    const FollowStep whole = followPlayhead(kMatch.rallies, 10, true, true, false);
    EXPECT_LT(whole.seekToSec, 0);
    EXPECT_FALSE(whole.pause);
    EXPECT_TRUE(followPlayhead({}, 10, true, true, true).pause) << "nothing to play with no rallies";
}

TEST(PlayheadFollow, FindsRalliesByTime) {
    EXPECT_EQ(rallyIndexAt(kMatch.rallies, 50), 1) << "the first one holding the time";
    EXPECT_EQ(rallyIdAt(kMatch.rallies, 50), 3) << "the last one holding the time";
    EXPECT_EQ(rallyIndexAt(kMatch.rallies, 35), -1);
    EXPECT_EQ(rallyIdAt(kMatch.rallies, 35), 0);
}

}  // namespace
}  // namespace rallinox
