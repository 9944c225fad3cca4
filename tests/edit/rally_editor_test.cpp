#include "edit/rally_editor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "tests/support/rally_builders.h"

namespace rallinox {
namespace {

using test::makeProject;
using test::spans;

class RallyEditorTest : public ::testing::Test {
protected:
    // Rally 1 [10, 20], Rally 2 [30, 40], Rally 3 [50, 60] in a 100 s video.
    Project project = makeProject({{10, 20}, {30, 40}, {50, 60}}, 100);
    RallyEditor editor{project};
};

TEST_F(RallyEditorTest, ChangeStartStopsAtThePreviousRallyAndKeepsHalfASecond) {
    EXPECT_TRUE(editor.changeStart(2, 15));
    EXPECT_DOUBLE_EQ(project.rallies[1].startSec, 20);  // touches Rally 1
    EXPECT_EQ(editor.undoLabel(), "change the start of Rally 2");

    EXPECT_FALSE(editor.changeStart(2, 39.6));
    EXPECT_TRUE(editor.changeStart(2, 39.5));
    EXPECT_DOUBLE_EQ(project.rallies[1].startSec, 39.5);

    EXPECT_TRUE(editor.changeStart(1, -5));
    EXPECT_DOUBLE_EQ(project.rallies[0].startSec, 0);
}

TEST_F(RallyEditorTest, ChangeEndStopsAtTheNextRallyOrTheVideoEnd) {
    EXPECT_TRUE(editor.changeEnd(1, 35));
    EXPECT_DOUBLE_EQ(project.rallies[0].endSec, 30);
    EXPECT_EQ(editor.undoLabel(), "change the end of Rally 1");

    EXPECT_TRUE(editor.changeEnd(3, 500));
    EXPECT_DOUBLE_EQ(project.rallies[2].endSec, 100);

    EXPECT_FALSE(editor.changeEnd(3, 50.4));
    EXPECT_TRUE(editor.changeEnd(3, 50.5));
    EXPECT_DOUBLE_EQ(project.rallies[2].endSec, 50.5);
}

TEST_F(RallyEditorTest, ChangeEndOfTheLastRallyIsFreeWhenTheVideoLengthIsUnknown) {
    project.videoDurationSec = 0;
    EXPECT_TRUE(editor.changeEnd(3, 5000));
    EXPECT_DOUBLE_EQ(project.rallies[2].endSec, 5000);
}

TEST_F(RallyEditorTest, SplitMakesASecondPartWithANewIdAndTheFirstPartsMarks) {
    project.rallies[1].name = "long one";
    project.rallies[1].winner = Winner::Away;
    project.rallies[1].setStart = true;
    project.rallies[1].selected = false;

    EXPECT_FALSE(editor.splitAt(2, 30.3));
    ASSERT_TRUE(editor.splitAt(2, 34));
    EXPECT_EQ(editor.undoLabel(), "split long one");
    EXPECT_EQ(project.nextRallyId, 5);
    ASSERT_EQ(project.rallies.size(), 4u);

    const Rally& first = project.rallies[1];
    EXPECT_EQ(first.id, 2);
    EXPECT_EQ(first.name, "long one");
    EXPECT_DOUBLE_EQ(first.endSec, 34);

    const Rally& second = project.rallies[2];
    EXPECT_EQ(second.id, 4);
    EXPECT_DOUBLE_EQ(second.startSec, 34);
    EXPECT_DOUBLE_EQ(second.endSec, 40);
    EXPECT_EQ(second.source, "split");
    EXPECT_EQ(second.winner, Winner::Away);
    EXPECT_TRUE(second.setStart);
    EXPECT_FALSE(second.selected);
    EXPECT_EQ(rallyDisplayName(second, 2), "Rally 3");
}

TEST_F(RallyEditorTest, KeepPartDropsOneSideOfTheTime) {
    EXPECT_TRUE(editor.keepPart(1, 12, true));
    EXPECT_EQ(editor.undoLabel(), "keep the first part of Rally 1");
    EXPECT_TRUE(editor.keepPart(2, 31, false));
    EXPECT_EQ(editor.undoLabel(), "keep the second part of Rally 2");
    EXPECT_EQ(spans(project), (test::Spans{{10, 12}, {31, 40}, {50, 60}}));
    EXPECT_FALSE(editor.keepPart(3, 59.7, true));
}

TEST_F(RallyEditorTest, JoinKeepsTheFirstRallysIdentityAndMarks) {
    project.rallies[0].name = "first";
    project.rallies[1].winner = Winner::Home;
    ASSERT_TRUE(editor.joinWithNext(1));
    EXPECT_EQ(editor.undoLabel(), "join first with the next rally");
    ASSERT_EQ(project.rallies.size(), 2u);
    EXPECT_EQ(project.rallies[0].id, 1);
    EXPECT_EQ(project.rallies[0].name, "first");
    EXPECT_EQ(project.rallies[0].winner, Winner::None);
    EXPECT_DOUBLE_EQ(project.rallies[0].endSec, 40);
    EXPECT_FALSE(editor.joinWithNext(3));
}

TEST_F(RallyEditorTest, LabelsNameTheRallyAsItWasBeforeTheEdit) {
    EXPECT_TRUE(editor.renameRally(3, "ace"));
    EXPECT_EQ(editor.undoLabel(), "rename Rally 3");
    EXPECT_TRUE(editor.deleteRally(1));
    EXPECT_EQ(editor.undoLabel(), "delete Rally 1");
    EXPECT_TRUE(editor.setWinner(2, Winner::Home));
    EXPECT_EQ(editor.undoLabel(), "score Rally 1");
    EXPECT_TRUE(editor.setWinner(2, Winner::None));
    EXPECT_EQ(editor.undoLabel(), "clear the winner of Rally 1");
    EXPECT_TRUE(editor.setSetStart(3, true));
    EXPECT_EQ(editor.undoLabel(), "start a new set at ace");
    EXPECT_TRUE(editor.setSetStart(3, false));
    EXPECT_EQ(editor.undoLabel(), "remove the set start at ace");
}

TEST_F(RallyEditorTest, AddRallyTrimsAgainstNeighbours) {
    // [t, t + 8] running into a rally that starts at t + 3.
    EXPECT_NE(editor.addRally(27, 35), 0);
    EXPECT_EQ(spans(project), (test::Spans{{10, 20}, {27, 30}, {30, 40}, {50, 60}}));

    // t inside a rally that ends at t + 5.
    Project other = makeProject({{10, 20}}, 100);
    RallyEditor otherEditor(other);
    EXPECT_NE(otherEditor.addRally(15, 23), 0);
    EXPECT_EQ(spans(other), (test::Spans{{10, 20}, {20, 23}}));
}

TEST_F(RallyEditorTest, AddRallyMakesAManualRallyInListOrder) {
    const int64_t id = editor.addRally(44, 42);  // swapped ends
    EXPECT_EQ(id, 4);
    EXPECT_EQ(project.nextRallyId, 5);
    EXPECT_EQ(editor.undoLabel(), "add a rally");
    ASSERT_EQ(project.rallies.size(), 4u);
    const Rally& added = project.rallies[2];
    EXPECT_EQ(added.id, 4);
    EXPECT_DOUBLE_EQ(added.startSec, 42);
    EXPECT_DOUBLE_EQ(added.endSec, 44);
    EXPECT_EQ(added.source, "manual");
    EXPECT_TRUE(added.name.empty());
    EXPECT_TRUE(added.selected);
    EXPECT_EQ(added.winner, Winner::None);
    EXPECT_FALSE(added.setStart);
}

TEST_F(RallyEditorTest, AddRallyIsClampedToTheVideo) {
    EXPECT_NE(editor.addRally(-3, 5), 0);
    EXPECT_NE(editor.addRally(96, 104), 0);
    EXPECT_EQ(spans(project), (test::Spans{{0, 5}, {10, 20}, {30, 40}, {50, 60}, {96, 100}}));
}

TEST_F(RallyEditorTest, RefusalsLeaveTheRalliesAndTheHistoryUntouched) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::pair<const char*, std::function<bool(RallyEditor&)>>> refusals = {
        {"unknown id", [](RallyEditor& e) { return e.changeStart(99, 1); }},
        {"unknown id end", [](RallyEditor& e) { return e.changeEnd(99, 1); }},
        {"unknown id split", [](RallyEditor& e) { return e.splitAt(99, 35); }},
        {"unknown id keep", [](RallyEditor& e) { return e.keepPart(99, 35, true); }},
        {"unknown id join", [](RallyEditor& e) { return e.joinWithNext(99); }},
        {"unknown id delete", [](RallyEditor& e) { return e.deleteRally(99); }},
        {"unknown id rename", [](RallyEditor& e) { return e.renameRally(99, "x"); }},
        {"unknown id winner", [](RallyEditor& e) { return e.setWinner(99, Winner::Home); }},
        {"unknown id set start", [](RallyEditor& e) { return e.setSetStart(99, true); }},
        {"start too close to end", [](RallyEditor& e) { return e.changeStart(2, 39.6); }},
        {"end too close to start", [](RallyEditor& e) { return e.changeEnd(2, 30.4); }},
        {"end before previous rally", [](RallyEditor& e) { return e.changeEnd(2, 15); }},
        {"split near start", [](RallyEditor& e) { return e.splitAt(2, 30.3); }},
        {"split near end", [](RallyEditor& e) { return e.splitAt(2, 39.7); }},
        {"split outside", [](RallyEditor& e) { return e.splitAt(2, 45); }},
        {"keep near end", [](RallyEditor& e) { return e.keepPart(2, 39.7, false); }},
        {"join last", [](RallyEditor& e) { return e.joinWithNext(3); }},
        {"same name", [](RallyEditor& e) { return e.renameRally(2, ""); }},
        {"same winner", [](RallyEditor& e) { return e.setWinner(2, Winner::None); }},
        {"set start on first", [](RallyEditor& e) { return e.setSetStart(1, true); }},
        {"same set start", [](RallyEditor& e) { return e.setSetStart(2, false); }},
        {"add inside a rally", [](RallyEditor& e) { return e.addRally(32, 38) != 0; }},
        {"add over a whole rally", [](RallyEditor& e) { return e.addRally(25, 45) != 0; }},
        {"add into a short gap", [](RallyEditor& e) { return e.addRally(19, 20.3) != 0; }},
        {"add before the video", [](RallyEditor& e) { return e.addRally(-9, -1) != 0; }},
        {"add not a number", [nan](RallyEditor& e) { return e.addRally(nan, 5) != 0; }},
        {"start not a number", [nan](RallyEditor& e) { return e.changeStart(2, nan); }},
        {"end not a number", [nan](RallyEditor& e) { return e.changeEnd(2, nan); }},
        {"split not a number", [nan](RallyEditor& e) { return e.splitAt(2, nan); }},
        {"keep not a number", [nan](RallyEditor& e) { return e.keepPart(2, nan, true); }},
    };
    for (const auto& [what, refusal] : refusals) {
        SCOPED_TRACE(what);
        Project p = makeProject({{10, 20}, {30, 40}, {50, 60}}, 100);
        RallyEditor e(p);
        ASSERT_TRUE(e.renameRally(1, "earlier edit"));
        const Project before = p;

        EXPECT_FALSE(refusal(e));
        EXPECT_EQ(p, before);
        EXPECT_EQ(e.undoLabel(), "rename Rally 1");
        EXPECT_TRUE(e.undo());
        EXPECT_EQ(p.rallies[0].name, "");
        EXPECT_FALSE(e.undo());
    }
}

TEST_F(RallyEditorTest, EachTickIsAStepAndTickingAllIsOne) {
    EXPECT_FALSE(editor.setSelected(2, true)) << "already ticked";
    EXPECT_FALSE(editor.setSelected(99, false));
    EXPECT_FALSE(editor.setAllSelected(true));
    EXPECT_FALSE(editor.canUndo());

    ASSERT_TRUE(editor.setSelected(2, false));
    EXPECT_EQ(editor.undoLabel(), "untick Rally 2");
    const Project someTicked = project;
    ASSERT_TRUE(editor.setAllSelected(false));
    EXPECT_EQ(editor.undoLabel(), "untick all rallies");
    EXPECT_FALSE(editor.setAllSelected(false));

    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(project, someTicked) << "one undo brings the whole ticked subset back";
    ASSERT_TRUE(editor.setAllSelected(true));
    EXPECT_EQ(editor.undoLabel(), "tick all rallies");
    ASSERT_TRUE(editor.setSelected(1, false));
    ASSERT_TRUE(editor.setSelected(1, true));
    EXPECT_EQ(editor.undoLabel(), "tick Rally 1");
}

TEST_F(RallyEditorTest, HistoryKeepsTheLastFiftySteps) {
    for (int i = 1; i <= 51; ++i) ASSERT_TRUE(editor.renameRally(1, "name " + std::to_string(i)));
    int undone = 0;
    while (editor.undo()) ++undone;
    EXPECT_EQ(undone, 50);
    EXPECT_EQ(project.rallies[0].name, "name 1");  // as after the first edit
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(RallyEditorTest, UndoRestoresTheListButNeverHandsAnIdOutTwice) {
    const Project before = project;
    const int64_t first = editor.addRally(70, 78);
    ASSERT_NE(first, 0);
    EXPECT_TRUE(editor.undo());
    EXPECT_EQ(project.rallies, before.rallies);
    EXPECT_EQ(project.nextRallyId, first + 1);

    const int64_t second = editor.addRally(70, 78);
    EXPECT_GT(second, first);

    ASSERT_TRUE(editor.splitAt(second, 74));
    EXPECT_TRUE(editor.undo());
    EXPECT_GT(editor.addRally(80, 88), second + 1);
}

TEST_F(RallyEditorTest, UndoAfterDeleteBringsTheRallyBack) {
    const Project before = project;
    ASSERT_TRUE(editor.deleteRally(2));
    EXPECT_EQ(editor.undoLabel(), "delete Rally 2");
    EXPECT_TRUE(editor.undo());
    EXPECT_EQ(project, before);
}

TEST_F(RallyEditorTest, RedoMakesTheUndoneStepsAgainInTurn) {
    EXPECT_FALSE(editor.redo());
    EXPECT_EQ(editor.redoLabel(), "");
    const Project original = project;
    ASSERT_TRUE(editor.deleteRally(2));
    ASSERT_TRUE(editor.renameRally(1, "ace"));
    const Project edited = project;

    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(editor.redoLabel(), "rename Rally 1");
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(project, original);
    EXPECT_EQ(editor.redoLabel(), "delete Rally 2");
    EXPECT_FALSE(editor.canUndo());

    ASSERT_TRUE(editor.redo());
    EXPECT_EQ(editor.undoLabel(), "delete Rally 2");
    ASSERT_TRUE(editor.redo());
    EXPECT_EQ(project, edited);
    EXPECT_FALSE(editor.redo());
    EXPECT_EQ(editor.undoLabel(), "rename Rally 1") << "a redone step can be undone again";
}

TEST_F(RallyEditorTest, ANewEditForgetsTheUndoneSteps) {
    ASSERT_TRUE(editor.renameRally(1, "ace"));
    ASSERT_TRUE(editor.undo());
    EXPECT_FALSE(editor.setWinner(1, Winner::None)) << "a refused edit keeps them";
    EXPECT_TRUE(editor.canRedo());
    ASSERT_TRUE(editor.setSelected(3, false));
    EXPECT_FALSE(editor.canRedo());
    EXPECT_FALSE(editor.redo());
}

TEST_F(RallyEditorTest, RedoKeepsTheLastFiftyStepsLikeUndo) {
    for (int i = 1; i <= 51; ++i) ASSERT_TRUE(editor.renameRally(1, "name " + std::to_string(i)));
    while (editor.undo()) {
    }
    int redone = 0;
    while (editor.redo()) ++redone;
    EXPECT_EQ(redone, 50);
    EXPECT_EQ(project.rallies[0].name, "name 51");
}

TEST_F(RallyEditorTest, UndoAndRedoNameTheRallyTheyBroughtBackOrChanged) {
    ASSERT_TRUE(editor.deleteRally(2));
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(editor.restoredRallyId(), 2);
    ASSERT_TRUE(editor.redo());
    EXPECT_EQ(editor.restoredRallyId(), 0) << "a redone delete leaves nothing to name";

    ASSERT_TRUE(editor.joinWithNext(1));  // Rally 1 takes Rally 3 in
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(editor.restoredRallyId(), 1);
    ASSERT_TRUE(editor.setAllSelected(false));
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(editor.restoredRallyId(), 1);
    ASSERT_TRUE(editor.changeEnd(3, 70));
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(editor.restoredRallyId(), 3);
    ASSERT_TRUE(editor.redo());
    EXPECT_EQ(editor.restoredRallyId(), 3);
}

}  // namespace
}  // namespace rallinox
