// The window draws when something changes and rests otherwise: left alone
// it draws only the few frames that settle it, a playing video keeps it
// drawing, and a toast still goes away on time while nobody touches it.
#include <gtest/gtest.h>

#include "tests/gui/editor_fixture.h"
#include "tests/gui/gui_run.h"

namespace rallinox::guitest {
namespace {

TEST(FrameLoop, LeftAloneTheProjectsScreenAndAPausedEditorDrawAlmostNothing) {
    GuiRun run;
    saveProject(run, sampleProject(run, makeMatchVideo(run, "final.mp4", 60), 60));
    ASSERT_EQ(run.play("wait-for Saturday final\nwait 30\nidle 3\nexpect-idle-frames 0 6\n"
                       "click-label Open\nwait-for Ticked rallies are exported\nwait 30\nidle 3\nexpect-idle-frames 0 6\nclose\n"),
              0)
        << run.output();
}

TEST(FrameLoop, APlayingVideoKeepsDrawingAndAToastEndsWithoutInput) {
    GuiRun run;
    saveProject(run, sampleProject(run, makeMatchVideo(run, "final.mp4", 60), 60));
    ASSERT_EQ(run.play("wait 10\nclick-label Open\nwait-for Ticked rallies are exported\nkey space\nidle 2\nexpect-idle-frames 20 1000\n"
                       "key space\nwait 5\nkey delete\nwait-for Rally 1 deleted\nidle 6\nexpect-idle-frames 1 12\n"
                       "expect-no-text Rally 1 deleted  -  Ctrl+Z brings it back\nscreenshot rested.png\nclose\n"),
              0)
        << run.output();
}

}  // namespace
}  // namespace rallinox::guitest
