#include "edit/rally_navigation.h"

#include <gtest/gtest.h>

#include "tests/edit/rally_builders.h"

namespace rallinox {
namespace {

using test::makeProject;

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

}  // namespace
}  // namespace rallinox
