// The texts a project card shows about its project and its analysis.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "ui/projects/analysis_progress_text.h"
#include "ui/projects/project_card_text.h"

namespace rallinox::ui {
namespace {

TEST(AnalysisProgressText, StartingNoteUpToThreePercentThenTimeLeftAndVideoRead) {
    EXPECT_EQ(analysisStatusLine(0.02, 5, 1),
              "Starting...  You can keep using the app; analysis runs in the background.");
    EXPECT_EQ(analysisStatusLine(0.03, 5, 1),
              "Starting...  You can keep using the app; analysis runs in the background.");
    EXPECT_EQ(analysisStatusLine(0.5, 60, 150), "About 1:00 left  -  2:30 of video read");
    EXPECT_EQ(analysisStatusLine(0.25, 1200, 3725), "About 1:00:00 left  -  1:02:05 of video read");
}

TEST(AnalysisProgressText, SpeedLineWithRealTimeFactorAndDecoder) {
    EXPECT_EQ(analysisSpeedLine(239.6, 80, 10, "software"), "240 frames/s  -  8.0x real time  -  software decoding");
    EXPECT_EQ(analysisSpeedLine(30, 0, 0, "GPU"), "30 frames/s  -  0.0x real time  -  GPU decoding")
        << "no time passed yet";
}

Project readyProject(double durationSec, std::vector<std::pair<double, double>> rallies) {
    Project project;
    project.state = ProjectState::Ready;
    project.videoDurationSec = durationSec;
    int64_t id = 1;
    for (const auto& [start, end] : rallies) project.rallies.push_back({id++, start, end, "", ""});
    return project;
}

TEST(ProjectCardText, RallyLineSumsThePlayAndItsShareOfTheVideo) {
    EXPECT_EQ(cardRallyLine(readyProject(600, {})), "0 rallies   -   0:00 of play (0%)");
    EXPECT_EQ(cardRallyLine(readyProject(600, {{10, 40}, {100, 145.4}})), "2 rallies   -   1:15 of play (13%)");
    EXPECT_EQ(cardRallyLine(readyProject(20, {{0, 15}, {5, 20}})), "2 rallies   -   0:30 of play (100%)")
        << "overlapping rallies cannot cover more than the video";
    EXPECT_EQ(cardRallyLine(readyProject(0, {{1, 2}})), "1 rally   -   0:01 of play (0%)") << "unknown length";
}

class ProjectCardMetaLine : public testing::Test {
protected:
    void SetUp() override {
        const char* zone = std::getenv("TZ");
        savedZone_ = zone ? zone : "";
        hadZone_ = zone != nullptr;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override {
        if (hadZone_) setenv("TZ", savedZone_.c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }

private:
    std::string savedZone_;
    bool hadZone_ = false;
};

TEST_F(ProjectCardMetaLine, DateLengthAndHeightOnlyWhenKnown) {
    Project project;
    project.createdUnix = 1773340800;  // 12 March 2026, 18:40 UTC
    project.videoDurationSec = 5530;
    project.videoHeight = 1080;
    EXPECT_EQ(cardMetaLine(project), "12 Mar 2026, 18:40   |   1:32:10 video   |   1080p");
    project.videoHeight = 0;
    EXPECT_EQ(cardMetaLine(project), "12 Mar 2026, 18:40   |   1:32:10 video");
}

TEST(ProjectCardText, DeleteQuestionNamesTheProject) {
    EXPECT_EQ(deleteProjectQuestion("Final"),
              "The project \"Final\" is deleted: its rally list and your edits are removed. Your video file and "
              "exported videos stay.");
}

TEST(ProjectFilter, AsciiLettersMatchWithoutRegardToCase) {
    EXPECT_TRUE(nameMatchesFilter("cup final 2026", "FINAL"));
    EXPECT_TRUE(nameMatchesFilter("Cup Final", "cup f"));
    EXPECT_TRUE(nameMatchesFilter("anything", "")) << "an empty filter matches all";
    EXPECT_TRUE(nameMatchesFilter("", ""));
    EXPECT_FALSE(nameMatchesFilter("Cup final", "semi"));
    EXPECT_FALSE(nameMatchesFilter("fin", "final")) << "longer than the name";
    EXPECT_FALSE(nameMatchesFilter("\xC3\x84rger", "\xC3\xA4")) << "only ASCII letters are folded";
}

}  // namespace
}  // namespace rallinox::ui
