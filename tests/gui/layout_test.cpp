// Every screen and dialog at the smallest window (1000 x 640) and at full
// HD: nothing may reach out of its window or be cut, the names and long
// texts included.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/gui/editor_fixture.h"
#include "tests/gui/gui_run.h"
#include "tests/support/rally_builders.h"
#include "tests/support/test_videos.h"

namespace rallinox::guitest {
namespace {

namespace fs = std::filesystem;
using test::makeHint;

// Checks what is on screen at the smallest window, then at full HD, and
// comes back to the smallest. The screenshot, when named, is of the smallest.
std::string seenAtBothSizes(const std::string& screenshot = "") {
    return "resize 1000 640\nwait 6\nexpect-fit\n" + (screenshot.empty() ? "" : "screenshot " + screenshot + "\n") +
           "resize 1920 1080\nwait 6\nexpect-fit\nresize 1000 640\nwait 6\n";
}

// Six projects, so that the filter shows, newest first: a long name, a
// scored match in the middle of a set with the analysis figures, a failed,
// a new and two plain ones.
void writeProjectCards(const GuiRun& run) {
    const fs::path video = makeMatchVideo(run, "final.mp4", 4);
    Project scored = readyProject(run, video, 5400, {{5, 12}, {20, 31}, {40, 44}, {50, 60}});
    scored.name = "Saturday final against the club from the other side of the river, second leg";
    scored.match.homeName = "Lions of the North";
    scored.match.awayName = "Eagles of the South";
    for (Rally& rally : scored.rallies) rally.winner = Winner::Home;
    scored.stats.totalSec = 812.5;
    scored.stats.stage1Fps = 412;
    saveProject(run, scored);
    for (const ProjectState state :
         {ProjectState::Failed, ProjectState::New, ProjectState::Ready, ProjectState::Ready, ProjectState::Ready}) {
        Project project = readyProject(run, video, 4, {{1, 3}});
        project.state = state;
        project.createdUnix = scored.createdUnix - 60;
        saveProject(run, project);
    }
}

TEST(LayoutFits, ProjectsSettingsAndAbout) {
    GuiRun run;
    writeProjectCards(run);
    ASSERT_EQ(run.play("wait 5\nexpect-text 6 projects\n" + seenAtBothSizes("projects.png") +
                       "click-label Settings\nwait 3\n" + seenAtBothSizes("settings.png") +
                       "click-label < Back\nwait 3\nclick-label About\nwait 3\n" + seenAtBothSizes() +
                       "key escape\nwait 3\nclose\n"),
              0)
        << run.output();
}

TEST(LayoutFits, EmptyProjectsScreenAndTheDialogsOfACard) {
    GuiRun run;
    ASSERT_EQ(run.play("wait 5\nexpect-text dropzone\n" + seenAtBothSizes() + "close\n"), 0) << run.output();
    Project moved = readyProject(run, makeMatchVideo(run, "final.mp4", 4), 4, {{1, 3}});
    moved.videoPath = (run.folder() / "gone" / "a match video with a long file name that has moved away.mp4").string();
    saveProject(run, moved);
    // The question names the project: two projects can hold the same video.
    ASSERT_EQ(run.play("wait 5\nclick-label Delete\nwait 3\nexpect-text Delete project?\n"
                       "expect-text The project \"final\" is deleted: its rally list and your edits are removed. "
                       "Your video file and exported videos stay.\n" + seenAtBothSizes() +
                       "click-label Keep\nwait 3\nclick-label Open\nwait 3\nexpect-text Where is the video?\n" +
                       seenAtBothSizes() + "click-label Cancel\nwait 3\nclose\n"),
              0)
        << run.output();
}

TEST(LayoutFits, TheQuitQuestionAndTheAnalysisBehindIt) {
    GuiRun run;
    const fs::path video = run.folder() / "long match.mp4";
    ASSERT_TRUE(test::writeTestVideo(video.string(), {640, 360, 30, 180.0}));
    ASSERT_EQ(run.play("wait-for Finding the ball\nclose\nwait 3\n"
                       "expect-text An analysis or export is still running. Stop it and quit?\n" +
                           seenAtBothSizes("quit.png") + "click-label Stop and quit\nwait 30\n",
                       video.string()),
              0)
        << run.output();
}

// Fourteen rallies: an added one, a long name, the first four scored with a
// set mark that makes a score issue; hints to check and analysis figures.
void writeEditedMatch(const GuiRun& run) {
    std::vector<std::pair<double, double>> spans;
    for (int i = 0; i < 14; ++i) spans.emplace_back(5 + 4 * i, 7.5 + 4 * i);
    Project project = readyProject(run, makeMatchVideo(run, "match.mp4", 62), 62, spans);
    project.name = "Cup semi-final against the club from the other side of the river";
    project.rallies[4].source = "manual";
    project.rallies[6].name = "The longest rally of the season, with three blocks and a dig";
    project.rallies[7].source = "manual";
    project.rallies[7].name = "Another rally with a very long name of its own";
    for (int i = 0; i < 4; ++i) project.rallies[static_cast<size_t>(i)].winner = i % 2 ? Winner::Away : Winner::Home;
    project.rallies[3].setStart = true;
    project.match.homeName = "Lions of the North";
    project.match.awayName = "Eagles of the South";
    project.hints = {makeHint(HintKind::Missed, 8, 9), makeHint(HintKind::Doubtful, 25, 27.5)};
    project.stats.totalSec = 95.5;
    project.stats.realtimeX = 6.3;
    project.stats.stage1Fps = 160;
    project.stats.decoder = "software";
    saveProject(run, project);
}

TEST(LayoutFits, EditorTabsAndDialogs) {
    GuiRun run;
    writeEditedMatch(run);
    ASSERT_EQ(run.play("resize 1000 640\nwait 5\nclick-label Open\nwait-for < Projects\nwait 5\n" +
                       seenAtBothSizes("editor.png") + "key n\nwait 3\n" + seenAtBothSizes("editor-highlighted.png") +
                       "click-label ###check\nwait 3\n" + seenAtBothSizes("check.png") +
                       "click-label ###score\nwait 3\n" + seenAtBothSizes("score.png") +
                       "click-label Match setup...\nwait 3\n" + seenAtBothSizes("match-setup.png") +
                       "click-label Done\nwait 3\nkey f1\nwait 3\n" + seenAtBothSizes("shortcuts.png") +
                       "key escape\nwait 3\nclick-label Analyse again\nwait 3\n" + seenAtBothSizes() +
                       "click-label Keep my edits\nwait 3\n"
                       "key ctrl+e\nwait-for Ticked rallies (14)\nclick-label Fast, no re-encoding\n"
                       "click-label Timeline for video editors\nwait 3\n" + seenAtBothSizes("export.png") +
                       "click-label One file per rally\nwait 3\n" + seenAtBothSizes() +
                       // The low window scrolls the dialog: its button is in view in the high one.
                       "click-label One file per rally\nresize 1920 1080\nwait 6\n"
                       "click-label Choose file and export\nwait 5\n" + seenAtBothSizes() + "click-label Save\n"
                       "wait-for Your rallies video is ready.\n" + seenAtBothSizes("export-ready.png") +
                       "click-label Close\nwait 3\nclose\n"),
              0)
        << run.output();
}

}  // namespace
}  // namespace rallinox::guitest
