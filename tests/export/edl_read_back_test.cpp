// The EDL of a project, read back by OpenTimelineIO's CMX 3600 reader: an
// independent check that video editors find every rally where we put it.
#include "export/edl.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace rallinox {
namespace {

std::vector<Rally> matchRallies() {
    const std::vector<std::pair<double, double>> spans = {
        {12.5, 20.0}, {31.02, 44.9}, {60.0, 59.0}, {75.3, 75.3}, {3601.5, 3622.75}, {3700.0, 3711.49}};
    std::vector<Rally> rallies;
    for (const auto& [start, end] : spans) {
        Rally rally;
        rally.startSec = start;
        rally.endSec = end;
        rallies.push_back(rally);
    }
    rallies[1].name = "Long  rally";
    return rallies;
}

// Runs the reader; its exit status is 0 only when every event matched.
int readBack(const test::TempDir& dir, double fps, const std::vector<Rally>& rallies) {
    const std::string edl = (dir / "cut.edl").string();
    if (!saveEdl(edl, "Final", "match video.mp4", fps, rallies).empty()) return -1;
    std::string expected;
    for (const Rally& rally : rallies) expected += std::to_string(rally.startSec) + " " + std::to_string(rally.endSec) + "\n";
    const std::string list = (dir / "rallies.txt").string();
    test::writeFile(list, expected);
    const std::string command = std::string("'") + RALLINOX_TEST_PYTHON + "' '" + RALLINOX_EDL_READER + "' '" + edl +
                                "' " + std::to_string(fps) + " '" + list + "'";
    return std::system(command.c_str());
}

TEST(EdlReadBack, OpenTimelineIoFindsEveryEventAtItsTimecodes) {
    test::TempDir dir;
    for (double fps : {25.0, 29.97, 30.0, 50.0, 59.94}) {
        SCOPED_TRACE("fps " + std::to_string(fps));
        EXPECT_EQ(readBack(dir, fps, matchRallies()), 0);
    }
}

}  // namespace
}  // namespace rallinox
