// The export as the user sees it: from the editor with Ctrl+E to the dialog's
// options, the save dialog, the result with the file on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/gui/editor_fixture.h"
#include "tests/gui/gui_run.h"

namespace rallinox::guitest {
namespace {

namespace fs = std::filesystem;

// An analysed project "Final" with two ticked rallies.
void makeAnalysedProject(const GuiRun& run, const fs::path& video, double secondRallyEnd = 7) {
    Project project = readyProject(run, video, secondRallyEnd + 1, {{1, 4}, {5, secondRallyEnd}});
    project.name = "Final";
    saveProject(run, project);
}

std::vector<fs::path> exportedVideos(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        if (entry.path().extension() == ".mp4") found.push_back(entry.path());
    return found;
}

TEST(ExportDialog, CtrlEExportsTheTickedRalliesIntoTheChosenFile) {
    GuiRun run;
    makeAnalysedProject(run, makeMatchVideo(run, "final.mp4", 8));
    ASSERT_EQ(run.play("wait 5\nclick-label Open\nwait-for < Projects\nkey ctrl+e\nwait-for Ticked rallies (2)\n"
                       "expect-text All rallies (2)\nexpect-text Only Rally 1\n"
                       "expect-text The video will be 0:05 long (2 rallies), cut from 0:08.\n"
                       "screenshot options.png\nclick-label Choose file and export\nwait 5\nclick-label Save\n"
                       "wait-for Your rallies video is ready.\nexpect-text Play video\nscreenshot ready.png\n"
                       "click-label Close\nwait 3\nexpect-no-text Your rallies video is ready.\n"
                       "key ctrl+e\nwait-for Ticked rallies (2)\nclose\n"),
              0)
        << run.output();
    const std::vector<fs::path> videos = exportedVideos(run.folder() / "home");
    ASSERT_EQ(videos.size(), 1u);
    EXPECT_EQ(videos.front().filename(), "Final - rallies.mp4");
    EXPECT_GT(fs::file_size(videos.front()), 1000u);
    EXPECT_NE(readFile(run.dataDir() / "rallinox.log").find("export done: 2 rallies"), std::string::npos);
}

TEST(ExportDialog, ProgressIsShownAndCancelLeavesNoFile) {
    GuiRun run;
    makeAnalysedProject(run, makeMatchVideo(run, "final.mp4", 240), 239);
    ASSERT_EQ(run.play("wait 5\nclick-label Open\nwait-for < Projects\nkey ctrl+e\nwait-for Ticked rallies (2)\n"
                       "click-label Choose file and export\nwait 5\nclick-label Save\n"
                       "wait-for Exporting rally \n"
                       "expect-text The video is encoded on the processor; a supported graphics card makes this "
                       "faster.\nscreenshot progress.png\nclick-label Cancel\nwait-for Export cancelled.\n"
                       "screenshot cancelled.png\nclick-label Close\nwait 3\nclose\n"),
              0)
        << run.output();
    EXPECT_TRUE(exportedVideos(run.folder() / "home").empty());
    EXPECT_EQ(readFile(run.dataDir() / "rallinox.log").find("export failed"), std::string::npos);
}

TEST(ExportDialog, OneFilePerRallyWritesEachTickedRallyWithTheListAndTimelineIntoTheChosenFolder) {
    GuiRun run;
    makeAnalysedProject(run, makeMatchVideo(run, "final.mp4", 8));
    ASSERT_EQ(run.play("wait 5\nclick-label Open\nwait-for < Projects\nkey ctrl+e\nwait-for Ticked rallies (2)\n"
                       "click-label One file per rally\nclick-label Fast, no re-encoding\n"
                       "wait-for Each rally then starts at the key frame at or before its start,\n"
                       "click-label Timeline for video editors\nclick-label Save the rally list (CSV)\nwait 3\n"
                       "expect-text 2 videos, one per rally, 0:05 in all, cut from 0:08.\n"
                       "expect-text FCPXML (Final Cut Pro, Resolve)\nscreenshot each-options.png\n"
                       "click-label Choose folder and export\nwait 5\nclick-label Choose this folder\n"
                       "wait-for Your rally videos are ready.\nexpect-no-text Play video\nscreenshot each-ready.png\n"
                       "click-label Close\nwait 3\nclose\n"),
              0)
        << run.output();
    std::vector<fs::path> videos = exportedVideos(run.folder() / "home");
    std::sort(videos.begin(), videos.end());
    ASSERT_EQ(videos.size(), 2u);
    EXPECT_EQ(videos[0].filename(), "01 Rally 1.mp4");
    EXPECT_EQ(videos[1].filename(), "02 Rally 2.mp4");
    EXPECT_EQ(videos[0].parent_path(), videos[1].parent_path());
    const fs::path folder = videos[0].parent_path();
    EXPECT_NE(readFile(folder / "Final - rallies.csv").find("2,Rally 2,"), std::string::npos);
    EXPECT_NE(readFile(folder / "Final - rallies.fcpxml").find("<asset-clip ref=\"r2\" name=\"Rally 2\""),
              std::string::npos);
}

// The scoreboard's look, corner and timing are chosen with radio buttons and
// kept in settings.json by their numbers.
TEST(ExportDialog, ScoreboardChoicesAreKeptInTheSettingsByTheirNumbers) {
    GuiRun run;
    Project project = readyProject(run, makeMatchVideo(run, "final.mp4", 8), 8, {{1, 4}, {5, 7}});
    project.rallies[0].winner = Winner::Home;
    saveProject(run, project);
    ASSERT_EQ(run.play("wait 5\nclick-label Open\nwait-for < Projects\nkey ctrl+e\nwait-for Ticked rallies (2)\n"
                       "click-label One bar\nclick-label Bottom left\nclick-label Start and end\nwait 3\n"
                       "screenshot board-options.png\nclose\n"),
              0)
        << run.output();
    const std::string settings = readFile(run.dataDir() / "settings.json");
    EXPECT_NE(settings.find("\"boardStyle\": 1"), std::string::npos) << settings;
    EXPECT_NE(settings.find("\"boardPosition\": 2"), std::string::npos) << settings;
    EXPECT_NE(settings.find("\"boardTiming\": 1"), std::string::npos) << settings;
}

// A desktop whose opener cannot open anything (and no file manager on a bus):
// the buttons of the finished export say so instead of doing nothing.
TEST(ExportDialog, PlayAndShowInFolderSayWhenNothingCouldOpenTheVideo) {
    GuiRun run;
    makeAnalysedProject(run, makeMatchVideo(run, "final.mp4", 8));
    const fs::path programs = run.folder() / "programs";
    fs::create_directories(programs);
    std::ofstream(programs / "xdg-open") << "#!/bin/sh\nexit 4\n";
    fs::permissions(programs / "xdg-open", fs::perms::owner_all);
    const std::string savedPath = std::getenv("PATH");
    setenv("PATH", (programs.string() + ":" + savedPath).c_str(), 1);
    const int status =
        run.play("wait 5\nclick-label Open\nwait-for < Projects\nkey ctrl+e\nwait-for Ticked rallies (2)\n"
                 "click-label Choose file and export\nwait 5\nclick-label Save\nwait-for Your rallies video is ready.\n"
                 "click-label Show in folder\nwait-for Could not open the folder of \nscreenshot no-file-manager.png\n"
                 "click-label Play video\nwait-for Could not open /\nclose\n");
    setenv("PATH", savedPath.c_str(), 1);
    ASSERT_EQ(status, 0) << run.output();
}

}  // namespace
}  // namespace rallinox::guitest
