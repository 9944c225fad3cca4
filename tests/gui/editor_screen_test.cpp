// The editor as the user sees it: the figures, the preview with its text,
// the timeline, playing through the rallies.
#include <gtest/gtest.h>

#include "tests/gui/editor_fixture.h"
#include "tests/gui/gui_run.h"

namespace rallinox::guitest {
namespace {

TEST(EditorScreen, ShowsTheProjectsFiguresPreviewAndTimeline) {
    GuiRun run;
    const Project project = sampleProject(run, makeMatchVideo(run, "final.mp4", 60), 60);
    saveProject(run, project);
    // Opening goes to the first rally.
    ASSERT_EQ(run.play("wait 10\nclick-label Open\nwait-for 0:05 / 1:00\n"
                       "expect-title Saturday final  -  Rallinox\n"
                       "expect-text play time\nexpect-text 0:22\nexpect-text 37%\nexpect-text average rally\n"
                       "expect-text 7.3 s\nexpect-text longest rally\nexpect-text 11.0 s\nexpect-text 0:38\n"
                       "expect-text Analysed in 9.5 s (6.3x real time)  -  finding the ball: 160 frames/s, "
                       "software decoding\n"
                       "expect-text Rallies (3)\nexpect-text To check (1)\n"
                       "screenshot editor.png\nclose\n"),
              0)
        << run.output();
}

TEST(EditorScreen, RallyFarPastTheVideosEndIsDroppedOnOpening) {
    GuiRun run;
    // Drawn as it stands, its trim strip would count seconds from 1e16 on.
    saveProject(run, readyProject(run, makeMatchVideo(run, "final.mp4", 10), 10, {{1e16, 1e16 + 10}}));
    ASSERT_EQ(run.play("wait 10\nclick-label Open\nwait-for 0:00 / 0:10\nexpect-text Rallies (0)\n"
                       "screenshot absurd.png\nclose\n"),
              0)
        << run.output();
}

TEST(EditorScreen, RalliesOnlyPlaysFromRallyToRallyAndStopsAfterTheLast) {
    GuiRun run;
    Project project = sampleProject(run, makeMatchVideo(run, "final.mp4", 60), 60);
    project.rallies.erase(project.rallies.begin() + 1);  // 5-12 and 40-44 remain
    project.rallies[0].endSec = 6;
    project.rallies[1].startSec = 40;
    project.rallies[1].endSec = 41.5;
    saveProject(run, project);
    // The clock under the picture skips from the first rally straight to
    // the second and stops 1.5 s into it.
    ASSERT_EQ(run.play("wait 10\nclick-label Open\nwait-for 0:05 / 1:00\nkey space\n"
                       "screenshot playing.png\nwait-for 0:40 / 1:00\nwait-for Play\nexpect-no-text Pause\n"
                       "expect-text 0:42 / 1:00\nscreenshot stopped.png\nclose\n"),
              0)
        << run.output();
}

TEST(EditorScreen, AnalyseAgainAsksFirstAndKeepingTheEditsChangesNothing) {
    GuiRun run;
    const Project project = sampleProject(run, makeMatchVideo(run, "final.mp4", 45), 45);
    saveProject(run, project);
    ASSERT_EQ(run.play("wait 10\nclick-label Open\nwait-for 0:05 / 0:45\nclick-label Analyse again\nwait 3\n"
                       "expect-text The rallies are found again with the paddings from Settings (1.5 s before, 3.0 s "
                       "after). Your edits, names, scores and answers in \"To check\" are replaced.\n"
                       "screenshot analyse_again.png\nclick-label Keep my edits\nwait 3\n"
                       "expect-no-text Keep my edits\nexpect-title Saturday final  -  Rallinox\nclose\n"),
              0)
        << run.output();
    EXPECT_EQ(loadProject(run, project.id).rallies, project.rallies);
}

}  // namespace
}  // namespace rallinox::guitest
