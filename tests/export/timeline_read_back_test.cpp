// The timelines for video editors, read back by OpenTimelineIO and its FCPXML
// and Final Cut Pro 7 XML readers: every rally is a clip of the original
// video with its name and its source range, at the usual frame rates.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "export/export_plan.h"
#include "tests/support/rally_builders.h"
#include "tests/support/temp_dir.h"

namespace rallinox {
namespace {

struct Rate {
    double measured;  // as the project stores it
    int num;
    int den;
};

Project matchAt(double fps) {
    Project project = test::makeProject({{12.5, 20.0}, {31.02, 44.9}, {60.0, 59.0}, {3601.5, 3622.75}, {3700, 3711.49}},
                                        3800);
    project.name = "Final <A & B>";
    project.videoPath = "/matches/final day/match.mp4";
    project.videoFps = fps;
    project.videoWidth = 1920;
    project.videoHeight = 1080;
    project.rallies[1].name = "Ace \"straight\" & <down>";
    project.rallies[3].name = "Çağrı's block";
    project.rallies[0].winner = Winner::Home;
    project.rallies[1].winner = Winner::Away;
    return project;
}

// Runs the reader; its exit status is 0 only when every clip matched.
int readBack(const test::TempDir& dir, const char* kind, TimelineFormat format, const Rate& rate) {
    const Project project = matchAt(rate.measured);
    ExportOptions options;
    const std::string timeline = dir.file(std::string("cut") + timelineExtension(format));
    options.timelines.emplace_back(format, timeline);
    const ExportRequest request = planExport(project, project.rallies, options, Settings{});
    if (request.textFiles.size() != 1) return -1;
    test::writeFile(timeline, request.textFiles.front().text);
    std::string expected;
    for (size_t i = 0; i < project.rallies.size(); ++i) {
        const Rally& rally = project.rallies[i];
        if (rally.endSec <= rally.startSec) continue;  // no frame to place
        expected += std::to_string(rally.startSec) + "\t" + std::to_string(rally.endSec) + "\t" +
                    rallyDisplayName(rally, i) + "\n";
    }
    const std::string list = dir.file("rallies.txt");
    test::writeFile(list, expected);
    const std::string command = std::string("'") + RALLINOX_TEST_PYTHON + "' '" + RALLINOX_TIMELINE_READER + "' " +
                                kind + " '" + timeline + "' " + std::to_string(rate.num) + " " +
                                std::to_string(rate.den) + " '" + list + "'";
    return std::system(command.c_str());
}

TEST(TimelineReadBack, EveryFormatHoldsEachRallyAsAClipOfTheOriginalVideo) {
    test::TempDir dir;
    const std::vector<Rate> rates = {
        {25.0, 25, 1}, {29.97002997, 30000, 1001}, {30.0, 30, 1}, {50.0, 50, 1}, {59.94005994, 60000, 1001}};
    for (const Rate& rate : rates) {
        SCOPED_TRACE("fps " + std::to_string(rate.measured));
        EXPECT_EQ(readBack(dir, "fcpxml", TimelineFormat::Fcpxml, rate), 0);
        EXPECT_EQ(readBack(dir, "xmeml", TimelineFormat::Xmeml, rate), 0);
        EXPECT_EQ(readBack(dir, "otio", TimelineFormat::Otio, rate), 0);
    }
}

}  // namespace
}  // namespace rallinox
