#include "edit/trim_limits.h"

#include <gtest/gtest.h>

#include "edit/rally_editor.h"
#include "tests/support/rally_builders.h"

namespace rallinox {
namespace {

using test::makeProject;

TEST(TrimWindow, ShowsSixSecondsAroundTheRallyWithinTheVideo) {
    const Project project = makeProject({{3, 20}, {40, 97}}, 100);
    const TrimWindow first = trimWindow(project.rallies[0], 100, 0);
    EXPECT_DOUBLE_EQ(first.lo, 0);
    EXPECT_DOUBLE_EQ(first.hi, 26);
    const TrimWindow last = trimWindow(project.rallies[1], 100, 0);
    EXPECT_DOUBLE_EQ(last.lo, 34);
    EXPECT_DOUBLE_EQ(last.hi, 100);
}

TEST(TrimWindow, FallsBackOnThePlayersLengthThenLeavesTheEndOpen) {
    const Project project = makeProject({{40, 97}}, 0);
    EXPECT_DOUBLE_EQ(trimWindow(project.rallies[0], 0, 99).hi, 99);
    EXPECT_DOUBLE_EQ(trimWindow(project.rallies[0], 0, 0).hi, 103);
    Rally instant;
    instant.startSec = instant.endSec = 0;
    EXPECT_DOUBLE_EQ(trimWindow(instant, 0.2, 0).span(), 1) << "a window shorter than 1 s still spans 1 s";
}

TEST(TrimHandles, TheFirstRallysStartStopsAtTheWindowsLeftEdgeAndHalfASecondBeforeItsEnd) {
    const Project project = makeProject({{4, 20}, {30, 40}}, 100);
    const TrimWindow window = trimWindow(project.rallies[0], 100, 0);
    EXPECT_DOUBLE_EQ(limitTrimStart(project.rallies, 0, window, -50), 0);
    EXPECT_DOUBLE_EQ(limitTrimStart(project.rallies, 0, window, 19.9), 19.5);
    EXPECT_DOUBLE_EQ(limitTrimStart(project.rallies, 0, window, 7.25), 7.25);

    const Project later = makeProject({{50, 60}}, 100);
    EXPECT_DOUBLE_EQ(limitTrimStart(later.rallies, 0, trimWindow(later.rallies[0], 100, 0), 0), 44) << "lo, not 0";
}

TEST(TrimHandles, NeighboursBoundTheHandles) {
    const Project project = makeProject({{10, 20}, {22, 30}, {33, 40}}, 100);
    const TrimWindow window = trimWindow(project.rallies[1], 100, 0);
    EXPECT_DOUBLE_EQ(limitTrimStart(project.rallies, 1, window, 16), 20);
    EXPECT_DOUBLE_EQ(limitTrimEnd(project.rallies, 1, window, 36), 33);
    EXPECT_DOUBLE_EQ(limitTrimEnd(project.rallies, 1, window, 22.1), 22.5);

    const TrimWindow lastWindow = trimWindow(project.rallies[2], 100, 0);
    EXPECT_DOUBLE_EQ(limitTrimEnd(project.rallies, 2, lastWindow, 90), 46) << "the last rally's end stops at hi";
}

TEST(TrimHandles, TheLimitedTimesAreAcceptedByTheEditor) {
    // Ends and starts whose half-second neighbours do not subtract exactly.
    for (const double end : {20.3, 0.7, 1234.1, 99.99}) {
        Project project = makeProject({{end - 3.3, end}}, 0);
        const TrimWindow window = trimWindow(project.rallies[0], 0, 0);
        const double start = limitTrimStart(project.rallies, 0, window, end);
        EXPECT_NEAR(start, end - 0.5, 1e-9);
        RallyEditor editor(project);
        EXPECT_TRUE(editor.changeStart(1, start)) << end;
        const double newEnd = limitTrimEnd(project.rallies, 0, window, -1);
        EXPECT_TRUE(editor.changeEnd(1, newEnd)) << end;
    }
}

TEST(TrimHandles, ReleasingAHandleWithoutMovingRecordsAnUndoStep) {
    Project project = makeProject({{10, 20}}, 100);
    RallyEditor editor(project);
    const TrimWindow window = trimWindow(project.rallies[0], 100, 0);
    EXPECT_TRUE(editor.changeStart(1, limitTrimStart(project.rallies, 0, window, 10)));
    EXPECT_EQ(editor.undoLabel(), "change the start of Rally 1");
    EXPECT_DOUBLE_EQ(project.rallies[0].startSec, 10);
}

}  // namespace
}  // namespace rallinox
