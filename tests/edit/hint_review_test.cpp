#include "edit/hint_review.h"

#include <gtest/gtest.h>

#include "tests/support/rally_builders.h"

namespace rallinox {
namespace {

using test::makeHint;
using test::makeProject;
using test::spans;

class HintReviewTest : public ::testing::Test {
protected:
    // Rally 1 [10, 20], Rally 2 [30, 50], Rally 3 [60, 70]; hints: a missed
    // stretch between Rally 1 and 2, Rally 2 joined at 40, Rally 3 doubtful.
    HintReviewTest() {
        project.hints = {makeHint(HintKind::Missed, 22, 28), makeHint(HintKind::Joined, 30, 50, 40),
                         makeHint(HintKind::Doubtful, 60, 70)};
    }

    Project project = makeProject({{10, 20}, {30, 50}, {60, 70}}, 100);
    RallyEditor editor{project};
    HintReview review;
};

TEST_F(HintReviewTest, FocusSetsTheWindowsAndNamesTheRallyInQuestion) {
    EXPECT_EQ(review.focus(project, 1), 2);
    EXPECT_EQ(review.currentHint(), 1);
    EXPECT_EQ(review.playWindow(), (TimeSpan{35, 45}));
    EXPECT_EQ(review.rallyToAdd(), (TimeSpan{30, 50}));

    EXPECT_EQ(review.focus(project, 0), 0);  // a missed stretch has no rally
    EXPECT_EQ(review.playWindow(), (TimeSpan{20, 30}));

    project.hints[2].done = true;
    EXPECT_EQ(review.focus(project, 2), 0);
    EXPECT_FALSE(review.playWindow().has_value());
    EXPECT_TRUE(review.needsRefocus(project));
    EXPECT_EQ(review.focus(project, 7), 0);
    EXPECT_FALSE(review.rallyToAdd().has_value());
}

TEST_F(HintReviewTest, OtherHintsAtTheFocusedIndexAreNotAnsweredInItsPlace) {
    review.focus(project, 0);
    ASSERT_NE(review.openCurrent(project), nullptr);
    // Another project, or a new analysis of this one, with a different hint first.
    project.hints[0] = makeHint(HintKind::Missed, 80, 90);
    EXPECT_TRUE(review.needsRefocus(project));
    EXPECT_EQ(review.openCurrent(project), nullptr);
    EXPECT_FALSE(review.addAsRally(project, editor).done);
    EXPECT_EQ(project.rallies.size(), 3u) << "nothing added at the old hint's times";
    EXPECT_FALSE(project.hints[0].done);
}

TEST_F(HintReviewTest, StartAndEndHereKeepHalfASecond) {
    review.focus(project, 0);
    review.startRallyToAddAt(23);
    review.endRallyToAddAt(22);
    EXPECT_EQ(review.rallyToAdd(), (TimeSpan{23, 23.5}));
    review.startRallyToAddAt(40);
    EXPECT_EQ(review.rallyToAdd(), (TimeSpan{23, 23.5}));
}

TEST_F(HintReviewTest, AddAsRallyTakesOnlyTheStillFreePart) {
    ASSERT_TRUE(editor.changeEnd(1, 24));
    ASSERT_TRUE(editor.changeStart(2, 26));
    review.focus(project, 0);
    const HintAnswer answer = review.addAsRally(project, editor);
    EXPECT_TRUE(answer.done);
    EXPECT_EQ(answer.highlightRallyId, 4);
    EXPECT_TRUE(project.hints[0].done);
    EXPECT_EQ(spans(project), (test::Spans{{10, 24}, {24, 26}, {26, 50}, {60, 70}}));
}

TEST_F(HintReviewTest, AddAsRallyWithoutRoomLeavesTheHintOpen) {
    ASSERT_TRUE(editor.changeEnd(1, 25));
    ASSERT_TRUE(editor.changeStart(2, 25.4));
    review.focus(project, 0);
    const HintAnswer answer = review.addAsRally(project, editor);
    EXPECT_FALSE(answer.done);
    EXPECT_EQ(answer.message, "There is no room for a rally here any more");
    EXPECT_FALSE(project.hints[0].done);
    EXPECT_EQ(project.rallies.size(), 3u);
}

TEST_F(HintReviewTest, JoinedPauseTooCloseToTheEndCanOnlyBeDismissed) {
    ASSERT_TRUE(editor.changeEnd(2, 40.4));
    review.focus(project, 1);
    EXPECT_FALSE(pauseUsable(project.rallies, project.hints[1]));
    const Project before = project;
    EXPECT_EQ(review.splitAtPause(project, editor).message, "This rally can no longer be split there");
    EXPECT_EQ(review.keepPart(project, editor, false).message, "This rally can no longer be split there");
    EXPECT_EQ(project, before);
    EXPECT_TRUE(review.dismiss(project).done);
    EXPECT_TRUE(project.hints[1].done);
}

TEST_F(HintReviewTest, JoinedRallyIsSplitOrTrimmedAtThePause) {
    review.focus(project, 1);
    EXPECT_TRUE(review.splitAtPause(project, editor).done);
    EXPECT_EQ(spans(project), (test::Spans{{10, 20}, {30, 40}, {40, 50}, {60, 70}}));

    Project other = makeProject({{30, 50}}, 100);
    other.hints = {makeHint(HintKind::Joined, 30, 50, 40)};
    RallyEditor otherEditor(other);
    review.focus(other, 0);
    const HintAnswer answer = review.keepPart(other, otherEditor, false);
    EXPECT_EQ(answer.message, "Kept the second part  -  Ctrl+Z undoes it");
    EXPECT_EQ(spans(other), (test::Spans{{40, 50}}));
}

TEST_F(HintReviewTest, UndoingADeleteBringsTheRallyBackButNotTheHint) {
    review.focus(project, 2);
    EXPECT_TRUE(review.deleteRelatedRally(project, editor).done);
    EXPECT_EQ(project.rallies.size(), 2u);
    EXPECT_TRUE(editor.undo());
    EXPECT_EQ(project.rallies.size(), 3u);
    EXPECT_TRUE(project.hints[2].done);
}

TEST_F(HintReviewTest, DeleteNeedsARelatedRally) {
    project.hints[2] = makeHint(HintKind::Doubtful, 80, 90);
    review.focus(project, 2);
    EXPECT_FALSE(review.deleteRelatedRally(project, editor).done);
    EXPECT_FALSE(project.hints[2].done);
}

TEST_F(HintReviewTest, WalkContinuesAfterTheAnsweredHintAndWrapsAround) {
    EXPECT_EQ(HintReview::nextAfterAnswer(project, 22), 1);
    project.hints[2].done = true;
    EXPECT_EQ(HintReview::nextAfterAnswer(project, 60), 0);
    project.hints[0].done = project.hints[1].done = true;
    EXPECT_EQ(HintReview::nextAfterAnswer(project, 60), -1);
}

TEST_F(HintReviewTest, NeighboursInTheOpenList) {
    review.focus(project, 1);
    EXPECT_EQ(review.neighbour(project, -1), 0);
    EXPECT_EQ(review.neighbour(project, 1), 2);
    review.focus(project, 2);
    EXPECT_EQ(review.neighbour(project, 1), -1);
    review.focus(project, -1);
    EXPECT_EQ(review.neighbour(project, 1), -1);
}

TEST_F(HintReviewTest, AutoStopPausesOnceAtTheWindowEnd) {
    review.focus(project, 2);  // window [60, 70]
    review.armAutoStop();
    EXPECT_FALSE(review.autoStopShouldPause(project, 65, true));
    EXPECT_TRUE(review.autoStopShouldPause(project, 69.99, true));
    EXPECT_FALSE(review.autoStopShouldPause(project, 69.99, false));  // paused: stays armed
    EXPECT_TRUE(review.autoStopArmed());
}

TEST_F(HintReviewTest, SeekingAwayDisarmsTheAutoStop) {
    review.focus(project, 2);
    review.armAutoStop();
    EXPECT_FALSE(review.autoStopShouldPause(project, 80, true));
    EXPECT_FALSE(review.autoStopArmed());
    EXPECT_FALSE(review.autoStopShouldPause(project, 69.99, true));  // plays on past the window

    review.armAutoStop();
    project.hints[2].done = true;
    EXPECT_FALSE(review.autoStopShouldPause(project, 69.99, true));
    EXPECT_FALSE(review.autoStopArmed());
}

}  // namespace
}  // namespace rallinox
