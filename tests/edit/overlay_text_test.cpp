// The text over the preview picture.
#include <gtest/gtest.h>

#include "tests/support/rally_builders.h"
#include "edit/overlay_text.h"

namespace rallinox {
namespace {

using test::makeHint;
using test::makeProject;

TEST(OverlayText, NamesTheRallyAndHowFarIntoItItIs) {
    Project project = makeProject({{10, 20}, {40, 75}}, 100);
    EXPECT_EQ(overlayText(project, 12, true, ""), "Rally 1 of 2   0:02 / 0:10");
    project.rallies[1].name = "Long one";
    EXPECT_EQ(overlayText(project, 70, true, ""), "Rally 2 of 2  -  Long one   0:30 / 0:35");
}

TEST(OverlayText, ShowsTheScoreOnlyWithoutTheScoreboard) {
    Project project = makeProject({{10, 20}, {40, 75}}, 100);
    project.rallies[0].winner = Winner::Away;
    EXPECT_EQ(overlayText(project, 12, true, ""), "Rally 1 of 2   |   Set 1  0-1   0:02 / 0:10");
    EXPECT_EQ(overlayText(project, 12, false, ""), "Rally 1 of 2   0:02 / 0:10");
}

TEST(OverlayText, BreaksAndAnEmptyList) {
    const Project project = makeProject({{10, 20}, {40, 75}}, 100);
    EXPECT_EQ(overlayText(project, 5, true, ""), "Between rallies  -  break 0:10");
    EXPECT_EQ(overlayText(project, 30, true, ""), "Between rallies  -  break 0:20");
    EXPECT_EQ(overlayText(project, 90, true, ""), "Between rallies  -  break 0:25") << "up to the video's end";
    EXPECT_EQ(overlayText(makeProject({}, 100), 30, true, ""), "No rallies");
}

TEST(OverlayText, AddsOpenHintsAndGivesWayToTheDecidingClip) {
    Project project = makeProject({{10, 20}}, 100);
    project.hints = {makeHint(HintKind::Missed, 30, 40), makeHint(HintKind::Doubtful, 10, 20),
                     makeHint(HintKind::Joined, 10, 20, 0, true)};
    EXPECT_EQ(overlayText(project, 35, true, ""),
              "Between rallies  -  break 1:20   |   Missed rally?  See \"To check\"");
    EXPECT_EQ(overlayText(project, 15, true, "Who won?"), "Who won?   |   Not a rally?  See \"To check\"")
        << "answered hints say nothing";
}

}  // namespace
}  // namespace rallinox
