#include "edit/rally_editor.h"

#include <gtest/gtest.h>

#include "tests/support/rally_builders.h"

namespace rallinox {
namespace {

using test::makeProject;
using test::Spans;
using test::spans;

TEST(AddRallyHere, AddsEightSecondsFromTheCurrentFrame) {
    Project project = makeProject({{10, 20}}, 100);
    RallyEditor editor(project);
    const int64_t id = addRallyHere(editor, 40);
    EXPECT_EQ(id, 2);
    EXPECT_EQ(spans(project), (Spans{{10, 20}, {40, 48}}));
    EXPECT_EQ(project.rallies[1].source, "manual");
}

TEST(AddRallyHere, NearTheEndOfARallyAddsTheRestAfterIt) {
    Project project = makeProject({{10, 20}, {60, 70}}, 100);
    RallyEditor editor(project);
    EXPECT_NE(addRallyHere(editor, 17), 0);
    EXPECT_EQ(spans(project), (Spans{{10, 20}, {20, 25}, {60, 70}}));
}

TEST(AddRallyHere, RefusesWhenLessThanHalfASecondIsLeft) {
    // From 17 s the 8 s reach 25 s; after the rally's end at 20 s only 0.4 s are free.
    Project project = makeProject({{10, 20}, {20.4, 30}}, 100);
    RallyEditor editor(project);
    EXPECT_EQ(addRallyHere(editor, 17), 0);
    EXPECT_EQ(spans(project), (Spans{{10, 20}, {20.4, 30}}));
    EXPECT_FALSE(editor.canUndo());
}

TEST(AddRallyHere, StopsAtTheVideosEnd) {
    Project project = makeProject({}, 100);
    RallyEditor editor(project);
    EXPECT_NE(addRallyHere(editor, 95), 0);
    EXPECT_EQ(spans(project), (Spans{{95, 100}}));
    EXPECT_EQ(addRallyHere(editor, 99.8), 0);
}

TEST(RenameText, TheDefaultTextOrNothingLeavesTheRallyUnnamed) {
    EXPECT_EQ(nameFromRenameText("Rally 4", 3), "");
    EXPECT_EQ(nameFromRenameText("", 3), "");
    EXPECT_EQ(nameFromRenameText("Rally 4", 2), "Rally 4") << "another rally's number is a real name";
    EXPECT_EQ(nameFromRenameText("rally 4", 3), "rally 4");
    EXPECT_EQ(nameFromRenameText("Set point", 3), "Set point");
}

TEST(RenameText, TheFourthRallyRenamedToItsDefaultStaysUnnamedAndAddsNoStep) {
    Project project = makeProject({{0, 5}, {10, 15}, {20, 25}, {30, 35}}, 100);
    RallyEditor editor(project);
    EXPECT_FALSE(editor.renameRally(4, nameFromRenameText("Rally 4", 3)));
    EXPECT_TRUE(project.rallies[3].name.empty());
    EXPECT_FALSE(editor.canUndo());

    EXPECT_TRUE(editor.renameRally(4, nameFromRenameText("Ace", 3)));
    EXPECT_EQ(editor.undoLabel(), "rename Rally 4");
    EXPECT_FALSE(editor.renameRally(4, nameFromRenameText("Ace", 3))) << "the same name again is no edit";
    EXPECT_EQ(editor.undoLabel(), "rename Rally 4");
    EXPECT_TRUE(editor.undo());
    EXPECT_FALSE(editor.canUndo());

    EXPECT_TRUE(editor.renameRally(4, "Ace"));
    EXPECT_TRUE(editor.renameRally(4, nameFromRenameText("Rally 4", 3))) << "back to unnamed";
    EXPECT_TRUE(project.rallies[3].name.empty());
}

}  // namespace
}  // namespace rallinox
