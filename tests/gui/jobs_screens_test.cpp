// A video from drop to analysed project as the user sees it: the progress on
// the card, the toast, the editor, the close question while an analysis
// runs; the settings and about screens; right-to-left project names.
#include <gtest/gtest.h>

#include "tests/gui/gui_run.h"
#include "tests/support/test_videos.h"

namespace rallinox::guitest {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCloseQuestion = "asked: An analysis or export is still running. Stop it and quit?";

// A moving test picture long enough for the analysis to be watched.
fs::path makeLongVideo(const GuiRun& run, const std::string& name, int seconds) {
    const fs::path file = run.folder() / name;
    if (!test::writeTestVideo(file.string(), {640, 360, 30, double(seconds)})) ADD_FAILURE() << "ffmpeg could not make " << file;
    return file;
}

size_t count(const std::string& text, const std::string& part) {
    size_t found = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
    return found;
}

TEST(AnalysisInTheApp, CardShowsTheProgressThenTheToastAndTheProjectOpens) {
    GuiRun run;
    const fs::path video = makeLongVideo(run, "Cup final.mp4", 20);
    ASSERT_EQ(run.play("wait-for Finding the ball\nwait 20\nexpect-text Cancel\nexpect-no-text Analyse\n"
                       "screenshot progress.png\n"
                       "wait-for Analysis finished: \nwait 2\nscreenshot finished.png\n"
                       "expect-title Cup final  -  Rallinox\nclick-label < Projects\nwait 30\nexpect-text Open\n"
                       "screenshot card.png\nclose\n",
                       video.string()),
              0)
        << run.output();
    const std::string log = readFile(run.dataDir() / "rallinox.log");
    EXPECT_NE(log.find("analysis started for p"), std::string::npos) << log;
    EXPECT_NE(log.find("analysis done: "), std::string::npos) << log;
    EXPECT_EQ(count(run.output(), kCloseQuestion), 0u) << "nothing runs any more at the end";
}

TEST(AnalysisInTheApp, QuittingDuringAnAnalysisAsksInTheWindowAndOnlyStopAndQuitEndsIt) {
    GuiRun run;
    const fs::path video = makeLongVideo(run, "long match.mp4", 180);
    // The window keeps drawing while it asks: the analysis's progress goes on behind the question.
    ASSERT_EQ(run.play("wait-for Finding the ball\nclose\nwait 3\n"
                       "expect-text An analysis or export is still running. Stop it and quit?\n"
                       "screenshot question.png\nwait-for Finding the ball\nclick-label Keep running\nwait 10\n"
                       "expect-no-text An analysis or export is still running. Stop it and quit?\n"
                       "expect-text Cancel\nclose\nwait 3\nkey escape\nwait 3\n"
                       "expect-no-text An analysis or export is still running. Stop it and quit?\n"
                       "click-label Settings\nwait-for Analysing long match  \nscreenshot pill.png\nkey escape\n"
                       "wait-for Finding the ball\nclose\nwait 3\nclick-label Stop and quit\nwait 30\n"
                       "expect-text never drawn: the window is gone\n",
                       video.string()),
              0)
        << run.output();
    EXPECT_EQ(count(run.output(), kCloseQuestion), 0u) << "answered by the script itself";
    const std::string log = readFile(run.dataDir() / "rallinox.log");
    EXPECT_EQ(log.find("analysis done: "), std::string::npos) << "the analysis was stopped, not finished";
    EXPECT_TRUE(fs::exists(run.dataDir() / "window.txt")) << "the placement is remembered";
}

TEST(AnalysisInTheApp, CancelShowsTheProjectAsNotAnalysedAndItCanBeAnalysedAgain) {
    GuiRun run;
    const fs::path video = makeLongVideo(run, "training.mp4", 120);
    ASSERT_EQ(run.play("wait-for Finding the ball\nclick-label Cancel\nwait 3\nexpect-text Not analysed yet\n"
                       "click-label Analyse\nwait 3\nwait-for Finding the ball\nclick-label Cancel\nwait 3\n"
                       "expect-text Not analysed yet\nclose\n",
                       video.string()),
              0)
        << run.output();
    EXPECT_EQ(count(run.output(), kCloseQuestion), 0u);
}

TEST(ProjectCards, DeleteAsksFirstAndKeepsTheVideo) {
    GuiRun run;
    const fs::path video = run.makeVideo("friendly.mp4");
    ASSERT_EQ(run.play("wait-for < Projects\nclick-label < Projects\nwait 3\nclick-label Delete\nwait 3\n"
                       "expect-text Delete project?\nscreenshot delete.png\nclick-label Keep\nwait 3\n"
                       "expect-projects 1\nclick-label Delete\nwait 3\nclick-label Delete\nwait 3\n"
                       "expect-projects 0\nexpect-text dropzone\nclose\n",
                       video.string()),
              0)
        << run.output();
    EXPECT_TRUE(fs::exists(video));
    EXPECT_TRUE(fs::is_empty(run.dataDir() / "projects"));
}

TEST(ProjectCards, MovedVideoIsLocatedAndTheProjectOpens) {
    GuiRun run;
    const fs::path video = run.makeVideo("final.mp4");
    ASSERT_EQ(run.play("wait-for < Projects\nclose\n", video.string()), 0) << run.output();
    fs::create_directories(run.folder() / "home" / "Matches");
    fs::rename(video, run.folder() / "home" / "Matches" / "final.mp4");
    ASSERT_EQ(run.play("wait 5\nclick-label Open\nwait 3\nexpect-text Where is the video?\n"
                       "expect-text " + video.string() + "\nscreenshot locate.png\n"
                       "click-label Locate the video...\nwait 3\nclick-label Matches/\n"
                       // The file appears where the folder was: wait out the double-click time.
                       "wait 30\nclick-label final.mp4\nclick-label Open\nwait 5\nexpect-title final  -  Rallinox\nclose\n"),
              0)
        << run.output();
    EXPECT_NE(readFile(run.dataDir() / "projects" / fs::directory_iterator(run.dataDir() / "projects")->path().filename() /
                       "project.json")
                  .find("Matches/final.mp4"),
              std::string::npos);
}

TEST(SettingsAndAbout, ScreensShowTheSettingsTheVersionAndTheNotices) {
    GuiRun run;
    ASSERT_EQ(run.play("wait 3\nclick-label Settings\nwait 3\nexpect-text Rally detection (applies to the next analysis)\n"
                       "expect-text An 8 s rally becomes a 12.5 s clip: 1.5 s before, 3.0 s after.\n"
                       "screenshot settings.png\nclick-label < Back\nwait 3\nclick-label About\nwait 3\n"
                       "expect-text Rallinox for Linux  0.1.0\n"
                       "expect-no-text THIRD_PARTY_NOTICES.md is missing from the app folder.\n"
                       "screenshot about.png\nkey escape\nwait 3\nexpect-text dropzone\nclose\n"),
              0)
        << run.output();
    EXPECT_TRUE(fs::exists(run.dataDir() / "settings.json"));
}

TEST(RightToLeftNames, HebrewAndArabicProjectNamesAreDrawnOnTheirCards) {
    GuiRun run;
    run.makeVideo("\xD7\x94\xD7\x92\xD7\x9E\xD7\xA8.mp4");  // "הגמר" (one word: the script splits paths at blanks)
    run.makeVideo("\xD8\xA7\xD9\x84\xD9\x86\xD9\x87\xD8\xA7\xD8\xA6\xD9\x8A.mp4");          // "النهائي"
    ASSERT_EQ(run.play("drop \xD7\x94\xD7\x92\xD7\x9E\xD7\xA8.mp4\n"
                       "wait-for < Projects\nclick-label < Projects\nwait 3\n"
                       "drop \xD8\xA7\xD9\x84\xD9\x86\xD9\x87\xD8\xA7\xD8\xA6\xD9\x8A.mp4\n"
                       "wait-for < Projects\nclick-label < Projects\nwait 60\n"
                       "expect-projects 2\n"
                       "expect-text \xD7\x94\xD7\x92\xD7\x9E\xD7\xA8\n"
                       "expect-text \xD8\xA7\xD9\x84\xD9\x86\xD9\x87\xD8\xA7\xD8\xA6\xD9\x8A\n"
                       "screenshot rtl.png\nclose\n"),
              0)
        << run.output();
}

}  // namespace
}  // namespace rallinox::guitest
