// The one request the window and rallinox-export both build: the rally
// files and their names, the scoreboard of each exported rally, the EDL and
// the side files.
#include "export/export_plan.h"

#include <gtest/gtest.h>

#include "tests/support/rally_builders.h"

namespace rallinox {
namespace {

Project scoredMatch() {
    Project project;
    project.name = "Final";
    project.videoPath = "/videos/final.mp4";
    project.videoFps = 25;
    project.rallies = test::scriptedRallies("hha.h");
    project.nextRallyId = 6;
    project.rallies[2].selected = false;
    project.rallies[4].name = "Set point: 3/4?";
    return project;
}

TEST(ExportPlan, OneFilePerRallyIsNumberedInListOrderWithSafeNamesAndNoEdl) {
    const Project project = scoredMatch();
    ExportOptions options;
    options.eachDir = "/out";
    options.edl = true;
    const ExportRequest request =
        planExport(project, chosenRallies(project, ExportScope::Ticked, 0), options, Settings{});
    EXPECT_EQ(request.eachPaths, (std::vector<std::string>{"/out/01 Rally 1.mp4", "/out/02 Rally 2.mp4",
                                                           "/out/03 Rally 4.mp4", "/out/04 Set point- 3-4-.mp4"}));
    EXPECT_TRUE(request.outputPath.empty());
    EXPECT_TRUE(request.edlPath.empty()) << "the EDL describes the one MP4 only";
}

TEST(ExportPlan, RallyFileNamesStayValidFileNames) {
    EXPECT_EQ(eachRallyFileName("Rally 3", 2, 12), "03 Rally 3.mp4");
    EXPECT_EQ(eachRallyFileName("Rally 3", 2, 120), "003 Rally 3.mp4") << "numbers sort as text";
    EXPECT_EQ(eachRallyFileName("../..", 0, 1), "01 -.mp4") << "no way out of the folder";
    EXPECT_EQ(eachRallyFileName("..", 0, 1), "01.mp4");
    EXPECT_EQ(eachRallyFileName("a\\b\nc|d*e<f>g\"h", 0, 1), "01 a-b-c-d-e-f-g-h.mp4");
    EXPECT_EQ(eachRallyFileName(".hidden. ", 0, 1), "01 hidden.mp4");
    const std::string longName = std::string(119, 'x') + "\xC3\xA7";  // "ç" across the limit
    EXPECT_EQ(eachRallyFileName(longName, 0, 1), "01 " + std::string(119, 'x') + ".mp4")
        << "a character is never cut in half";
}

TEST(ExportPlan, EachExportedRallyGetsItsOwnScoreboardWhenShown) {
    const Project project = scoredMatch();
    const std::vector<Rally> chosen = chosenRallies(project, ExportScope::Ticked, 0);
    Settings settings;
    settings.boardStyle = BoardStyle::OneBar;
    ExportOptions options;
    options.outputPath = "/out/final.mp4";
    EXPECT_TRUE(planExport(project, chosen, options, settings).boards.empty()) << "not asked for";
    options.scoreboard = true;
    const std::vector<BoardClip> boards = planExport(project, chosen, options, settings).boards;
    ASSERT_EQ(boards.size(), chosen.size());
    // Rally 4 comes after the unticked third one (won by the away team).
    EXPECT_EQ(boards[2].before.homePoints, 2);
    EXPECT_EQ(boards[2].before.awayPoints, 1);
    EXPECT_EQ(boards[2].style, BoardStyle::OneBar) << "the look the user chose";
    Project unscored = project;
    for (Rally& rally : unscored.rallies) rally.winner = Winner::None;
    EXPECT_TRUE(planExport(unscored, chosen, options, settings).boards.empty()) << "nothing to show";
}

TEST(ExportPlan, RequestCarriesTheVideoOptionsTheEdlAndTheSideFiles) {
    const Project project = scoredMatch();
    ExportOptions options;
    options.outputPath = "/out/final.mp4";
    options.edl = true;
    options.keepSound = false;
    options.fast = true;
    options.csvPath = "/out/final.csv";
    options.timelines = {{TimelineFormat::Xmeml, "/out/final.xml"}, {TimelineFormat::Otio, "/out/final.otio"}};
    const ExportRequest request = planExport(project, project.rallies, options, Settings{});
    EXPECT_EQ(request.sourcePath, "/videos/final.mp4");
    EXPECT_EQ(request.edlPath, "/out/final.edl");
    EXPECT_FALSE(request.keepSound);
    EXPECT_TRUE(request.fast);
    EXPECT_EQ(request.rallies.size(), 5u);
    ASSERT_EQ(request.textFiles.size(), 3u);
    EXPECT_EQ(request.textFiles[0].path, "/out/final.csv");
    EXPECT_EQ(request.textFiles[1].text.rfind("<?xml", 0), 0u);
    EXPECT_NE(request.textFiles[2].text.find("\"OTIO_SCHEMA\": \"Timeline.1\""), std::string::npos);
}

}  // namespace
}  // namespace rallinox
