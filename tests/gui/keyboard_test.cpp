// The editor's keys as people type them: by the letter their keyboard layout
// prints on the key, and every press counted however quickly it was tapped.
#include <gtest/gtest.h>

#include "tests/gui/editor_fixture.h"
#include "tests/gui/gui_run.h"

namespace rallinox::guitest {
namespace {

TEST(Keyboard, ShortcutsFollowTheLettersOfFrenchAndGermanLayouts) {
    GuiRun run;
    // Wherever the editor opens (0:00 or the rally's start), A adds a rally.
    const Project project = readyProject(run, makeMatchVideo(run, "league.mp4", 60), 60, {{30, 33}});
    saveProject(run, project);
    ASSERT_EQ(run.play("wait 10\nclick-label Open\nwait-for Ticked rallies are exported\nkeyboard fr\n"
                       // The digit row counts by place: a French 1 key types "&".
                       "key 1\nwait 3\n"
                       // Where a US keyboard has A and Z, a French one has Q and W.
                       "key q\nwait 3\nexpect-text Rallies (1)\n"
                       "key a\nwait 3\nexpect-text Rallies (2)\n"
                       "key ctrl+w\nwait 3\nexpect-text Rallies (2)\n"
                       "key ctrl+z\nwait 3\nexpect-text Rallies (1)\n"
                       // A German keyboard swaps Y and Z.
                       "keyboard de\nkey a\nwait 3\nexpect-text Rallies (2)\n"
                       "key ctrl+y\nwait 3\nexpect-text Rallies (2)\n"
                       "key ctrl+z\nwait 3\nexpect-text Rallies (1)\nclose\n"),
              0)
        << run.output();
    const Project saved = loadProject(run, project.id);
    ASSERT_EQ(saved.rallies.size(), 1u);
    EXPECT_EQ(saved.rallies[0].winner, Winner::Home);
}

TEST(Keyboard, EveryTapActsOnceEvenWhenAllComeBetweenTwoFrames) {
    GuiRun run;
    saveProject(run, readyProject(run, makeMatchVideo(run, "league.mp4", 120), 120, {{5, 12}, {60, 70}}));
    ASSERT_EQ(run.play("wait 10\nclick-label Open\nwait-for Ticked rallies are exported\nclick-label Rally 2\nwait-for 1:00 / 2:00\n"
                       "tap 10 left\nwait 40\nexpect-text 0:10 / 2:00\n"
                       "tap 10 right\nwait 40\nexpect-text 1:00 / 2:00\n"
                       // Ctrl is up again before the frame that sees Z.
                       "tap 6 left\nwait 30\nexpect-text 0:30 / 2:00\nkey a\nwait 3\nexpect-text Rallies (3)\n"
                       "tap 1 ctrl+z\nwait 10\nexpect-text Rallies (2)\nclose\n"),
              0)
        << run.output();
}

}  // namespace
}  // namespace rallinox::guitest
