// The application's window, frame loop and shared dialogs, driven as a user
// would under a virtual display.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include "tests/gui/editor_fixture.h"
#include "tests/gui/gui_run.h"

namespace rallinox::guitest {
namespace {

namespace fs = std::filesystem;

// The theme's window background, (0.059, 0.090, 0.165) in 8 bits.
const cv::Vec3b kWindowBgBgr{42, 23, 15};
const cv::Vec3b kAccentBgr{129, 185, 16};

bool near(const cv::Vec3b& a, const cv::Vec3b& b) {
    for (int i = 0; i < 3; ++i) {
        if (std::abs(a[i] - b[i]) > 2) return false;
    }
    return true;
}

int countPixels(const cv::Mat& image, const cv::Vec3b& color) {
    int count = 0;
    for (int y = 0; y < image.rows; ++y) {
        for (int x = 0; x < image.cols; ++x) count += near(image.at<cv::Vec3b>(y, x), color) ? 1 : 0;
    }
    return count;
}

void playExpectingSuccess(GuiRun& run, const std::string& script, const std::string& video = "") {
    ASSERT_EQ(run.play(script, video), 0) << run.output();
}

TEST(AppWindow, StartsWithTheThemedProjectsScreen) {
    GuiRun run;
    playExpectingSuccess(run, "wait 5\n"
                       "expect-title Rallinox\n"
                       "expect-text Cut a full volleyball match down to the rallies.\n"
                       "expect-text +  New project from a video...\n"
                       "expect-icon 64 64\n"
                       "screenshot start.png\n"
                       "close\n");
    const cv::Mat shot = cv::imread((run.folder() / "start.png").string());
    ASSERT_FALSE(shot.empty());
    // 1360 x 860 fits 92 % of the 1600 x 1000 display.
    EXPECT_EQ(shot.cols, 1360);
    EXPECT_EQ(shot.rows, 860);
    EXPECT_TRUE(near(shot.at<cv::Vec3b>(shot.rows - 3, 3), kWindowBgBgr));
    EXPECT_GT(countPixels(shot, kAccentBgr), 320 * 30) << "the accent button is drawn";

    const std::string log = readFile(run.dataDir() / "rallinox.log");
    EXPECT_NE(log.find(" [info] Rallinox 0.1.0 started\n"), std::string::npos) << log;
}

TEST(AppWindow, ClosingRemembersThePlacementAndTheNextStartRestoresIt) {
    GuiRun run;
    playExpectingSuccess(run, "wait 2\nmove 60 50\nresize 1100 700\nwait 10\nexpect-window 60 50 1100 700\nclose\n");
    EXPECT_EQ(readFile(run.dataDir() / "window.txt"), "60 50 1160 750 0\n");
    const std::string firstLog = readFile(run.dataDir() / "rallinox.log");

    playExpectingSuccess(run, "wait 3\nexpect-window 60 50 1100 700\nclose\n");
    EXPECT_EQ(readFile(run.dataDir() / "rallinox.log.old"), firstLog) << "the first run's log is kept";
    EXPECT_EQ(readFile(run.dataDir() / "window.txt"), "60 50 1160 750 0\n");
}

TEST(AppWindow, RestartsInAFramingWindowManagerLeaveTheWindowWhereItWas) {
    GuiRun run;
    run.useWindowManager();
    playExpectingSuccess(run, "wait 10\nclose\n");
    const std::string first = readFile(run.dataDir() / "window.txt");
    ASSERT_FALSE(first.empty()) << run.output();
    for (int restart = 1; restart <= 4; ++restart) {
        playExpectingSuccess(run, "wait 10\nclose\n");
        EXPECT_EQ(readFile(run.dataDir() / "window.txt"), first) << "after restart " << restart;
    }
}

TEST(AppWindow, TheDesktopsScaleSizesTheWindow) {
    GuiRun run;
    run.setEnvironment("GDK_SCALE", "2");
    // 2720 x 1720 wanted, capped at 92 % of the 1600 x 1000 display and centred.
    playExpectingSuccess(run, "wait 3\nexpect-window 64 40 1472 920\nclose\n");
}

TEST(AppWindow, UnusablePlacementIsIgnored) {
    GuiRun run;
    fs::create_directories(run.dataDir());
    std::ofstream(run.dataDir() / "window.txt") << "100 100 390 700 0\n";  // 290 wide
    playExpectingSuccess(run, "wait 3\nexpect-window 120 70 1360 860\nclose\n");
}

TEST(AppWindow, DroppingSeveralFilesMakesAProjectOfTheFirstOnly) {
    GuiRun run;
    run.makeVideo("first.mp4");
    run.makeVideo("second.mp4");
    playExpectingSuccess(run, "expect-projects 0\ndrop first.mp4 second.mp4\nwait 3\nexpect-projects 1\n"
                       "expect-text first\nexpect-no-text second\nclose\n");
}

TEST(AppWindow, VideoOnTheCommandLineBecomesAProjectBeforeTheFirstFrame) {
    GuiRun run;
    const fs::path video = run.makeVideo("opening.mp4");
    playExpectingSuccess(run, "expect-projects 1\nwait 2\nexpect-text opening\nclose\n", video.string());
}

TEST(AppWindow, ReopeningAVideoOpensItsAnalysedProjectInsteadOfMakingAnother) {
    GuiRun run;
    const std::string video = run.makeVideo("demo-match.mp4").string();
    ASSERT_EQ(run.playWithArguments("wait-for < Projects\nexpect-projects 1\nclose\n", {"--reopen", video}), 0)
        << run.output();
    ASSERT_EQ(run.playWithArguments("expect-projects 1\nexpect-title demo-match  -  Rallinox\nwait 5\nclose\n",
                                    {"--reopen", video}),
              0)
        << run.output();
    EXPECT_EQ(readFile(run.dataDir() / "rallinox.log").find("analysis started"), std::string::npos)
        << "the second start analyses nothing";
}

TEST(AppWindow, UnreadableDropShowsTheErrorDialogUntilOkOrEnter) {
    GuiRun run;
    std::ofstream(run.folder() / "notes.mp4") << "not a video";
    playExpectingSuccess(run, "drop notes.mp4\nwait 3\nexpect-text Something went wrong\nexpect-projects 0\n"
                       "screenshot error.png\nclick-label OK\nwait 2\nexpect-no-text Something went wrong\n"
                       "drop notes.mp4\nwait 3\nexpect-text Something went wrong\nkey enter\nwait 2\n"
                       "expect-no-text Something went wrong\nclose\n");
}

TEST(AppWindow, ProjectWhoseVideoBecameAPipeOpensShowsAndQuitsWithoutWaitingForIt) {
    GuiRun run;
    const fs::path video = makeMatchVideo(run, "final.mp4", 10);
    saveProject(run, sampleProject(run, video, 10));
    fs::remove(video);
    // Opening it to read waits for a writer for ever, as a dead network mount can.
    ASSERT_EQ(mkfifo(video.c_str(), 0600), 0);
    playExpectingSuccess(run, "wait 10\nclick-label Open\n"
                       "wait-for \"final.mp4\" is not a video file: it is a device, a pipe or a socket.\n"
                       "expect-title Rallinox\nscreenshot pipe.png\nclick-label OK\nwait 2\nclose\n");
}

TEST(AppWindow, ChoosingAVideoInTheInAppBrowserMakesAProject) {
    GuiRun run;
    fs::create_directories(run.folder() / "home" / "Matches");
    fs::rename(run.makeVideo("final.mp4"), run.folder() / "home" / "Matches" / "final.mp4");
    std::ofstream(run.folder() / "home" / "Matches" / "notes.txt") << "not shown";
    // final.mp4 appears where Matches/ was: waiting out the double-click time
    // keeps the next click from choosing it at once.
    playExpectingSuccess(run, "wait 2\nkey ctrl+o\nwait 3\nexpect-text Videos\nclick-label Matches/\nwait 30\n"
                       "expect-text final.mp4\nexpect-no-text notes.txt\nscreenshot browser.png\n"
                       "click-label final.mp4\nclick-label Open\nwait 3\nexpect-projects 1\nclose\n");
}

TEST(AppWindow, CancellingTheInAppBrowserChangesNothing) {
    GuiRun run;
    playExpectingSuccess(run, "wait 2\nclick-label +  New project from a video...\nwait 3\nexpect-text Cancel\n"
                       "key escape\nwait 3\nexpect-no-text Cancel\nexpect-projects 0\nclose\n");
}

TEST(AppWindow, SettingsShortcutAndEscapeReturnToTheProjectsAndSaveTheSettings) {
    GuiRun run;
    playExpectingSuccess(run, "wait 2\nkey ctrl+comma\nwait 2\nexpect-text < Back\nexpect-no-text dropzone\n"
                       "key escape\nwait 2\nexpect-text dropzone\nexpect-no-text < Back\nclose\n");
    EXPECT_TRUE(fs::exists(run.dataDir() / "settings.json"));
}

TEST(AppWindow, ShortcutsWaitWhileADialogIsOpen) {
    GuiRun run;
    playExpectingSuccess(run, "wait 2\nkey ctrl+o\nwait 2\nkey ctrl+comma\nwait 2\nexpect-no-text < Back\n"
                       "expect-text Choose a match video\nclose\n");
}

TEST(AppWindow, WithoutAGraphicsContextItSaysSoAndEndsWithCodeOne) {
    GuiRun run;
    EXPECT_EQ(run.playWithoutDisplay("close\n"), 1);
    EXPECT_NE(run.output().find("Rallinox could not start the graphics device (OpenGL 3)."), std::string::npos)
        << run.output();
}

TEST(AppWindow, TypedCharacterOfAnotherScriptIsDrawnFromTheNextFrame) {
    GuiRun run;
    playExpectingSuccess(run, "wait 2\nkey ctrl+o\nwait 3\nclick-label ##name\nwait 1\n"
                       "type \xE0\xB8\x81\nwait 3\nexpect-glyph 0E01\nscreenshot thai.png\nclose\n");
}

TEST(AppWindow, NamesInOtherScriptsGetTheirGlyphs) {
    GuiRun run;
    run.makeVideo("\xD0\xA4\xD0\xB8\xD0\xBD\xD0\xB0\xD0\xBB.mp4");  // "Финал"
    playExpectingSuccess(run, "drop \xD0\xA4\xD0\xB8\xD0\xBD\xD0\xB0\xD0\xBB.mp4\nwait 3\n"
                       "expect-text \xD0\xA4\xD0\xB8\xD0\xBD\xD0\xB0\xD0\xBB\nexpect-glyph 0424\n"
                       "screenshot cyrillic.png\nclose\n");
}

}  // namespace
}  // namespace rallinox::guitest
