#include "edit/review_hints.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/rally_builders.h"

namespace rallinox {
namespace {

using test::makeHint;
using test::makeProject;

TEST(ReviewHints, OpenHintsAreTheUnansweredOnesByStartTime) {
    const std::vector<ReviewHint> hints = {makeHint(HintKind::Missed, 50, 60), makeHint(HintKind::Doubtful, 10, 20, 0, true),
                                           makeHint(HintKind::Joined, 30, 40), makeHint(HintKind::Doubtful, 30, 35)};
    EXPECT_EQ(openHints(hints), (std::vector<size_t>{2, 3, 0}));  // equal starts keep list order
    EXPECT_TRUE(openHints({}).empty());
}

TEST(ReviewHints, RelatedRallyHasTheLargestOverlap) {
    const Project project = makeProject({{0, 10}, {12, 20}, {22, 24}, {30, 34}}, 100);
    EXPECT_EQ(relatedRallyIndex(project.rallies, makeHint(HintKind::Doubtful, 8, 16)), 1);
    EXPECT_EQ(relatedRallyIndex(project.rallies, makeHint(HintKind::Doubtful, 18, 26)), 1);  // 2 s each: the first
    EXPECT_EQ(relatedRallyIndex(project.rallies, makeHint(HintKind::Doubtful, 25, 30)), -1);     // touching is no overlap
    EXPECT_EQ(relatedRallyIndex(project.rallies, makeHint(HintKind::Joined, 31, 32)), 3);
}

TEST(ReviewHints, PlayWindowByKind) {
    EXPECT_EQ(hintPlayWindow(makeHint(HintKind::Joined, 10, 40, 20), 100), (TimeSpan{15, 25}));
    EXPECT_EQ(hintPlayWindow(makeHint(HintKind::Joined, 10, 40, 12), 100), (TimeSpan{10, 17}));
    EXPECT_EQ(hintPlayWindow(makeHint(HintKind::Doubtful, 10, 40), 100), (TimeSpan{10, 40}));
    EXPECT_EQ(hintPlayWindow(makeHint(HintKind::Missed, 1, 8), 100), (TimeSpan{0, 10}));  // never before the video
    EXPECT_EQ(hintPlayWindow(makeHint(HintKind::Missed, 90, 99), 100), (TimeSpan{88, 100}));
    EXPECT_EQ(hintPlayWindow(makeHint(HintKind::Missed, 90, 99), 0), (TimeSpan{88, 101}));
}

TEST(ReviewHints, PauseIsUsableOnlyWellInsideItsRally) {
    Project project = makeProject({{10, 30}}, 100);
    const ReviewHint joined = makeHint(HintKind::Joined, 10, 30, 20);
    EXPECT_TRUE(pauseUsable(project.rallies, joined));
    project.rallies[0].endSec = 20.4;
    EXPECT_FALSE(pauseUsable(project.rallies, joined));
    project.rallies.clear();
    EXPECT_FALSE(pauseUsable(project.rallies, joined));
}

TEST(ReviewHints, OpenHintUnderThePlayer) {
    const std::vector<ReviewHint> hints = {makeHint(HintKind::Missed, 10, 20, 0, true), makeHint(HintKind::Doubtful, 15, 30),
                                           makeHint(HintKind::Joined, 12, 18)};
    EXPECT_EQ(openHintAt(hints, 16), 1);
    EXPECT_EQ(openHintAt(hints, 12.5), 2);
    EXPECT_EQ(openHintAt(hints, 31), -1);
}

TEST(ReviewHints, MissedStretchIsPlacedAmongTheRallies) {
    Project project = makeProject({{10, 20}, {40, 50}}, 100);
    project.rallies[1].name = "smash";
    EXPECT_EQ(missedHintPlace(project.rallies, makeHint(HintKind::Missed, 2, 8), true), ", before the first rally");
    EXPECT_EQ(missedHintPlace(project.rallies, makeHint(HintKind::Missed, 19.995, 38), false), ", after Rally 1");
    EXPECT_EQ(missedHintPlace(project.rallies, makeHint(HintKind::Missed, 25, 38), true), ", between Rally 1 and smash");
    EXPECT_EQ(missedHintPlace(project.rallies, makeHint(HintKind::Missed, 55, 60), true), ", after the last rally");
}

TEST(ReviewHints, InstructionPerKind) {
    EXPECT_STREQ(hintInstruction(HintKind::Doubtful),
                 "Is this real play? If not, delete it; if it is, click It's a rally.");
}

}  // namespace
}  // namespace rallinox
