// rallinox-export run as the user runs it, on a hand-made project over a
// 40-s H.264 + AAC match video: what it writes, and what it leaves behind
// when it cannot (nothing).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <functional>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/export/export_media.h"
#include "tests/support/temp_dir.h"

namespace rallinox {
namespace {

namespace fs = std::filesystem;

constexpr int kFps = 25;

// Rallies 2-10 s and 15-20 s ticked, 25-30 s not.
std::string projectJson(const std::string& videoPath) {
    return R"({"id": "p1", "name": "Final", "videoPath": ")" + videoPath +
           R"(", "videoDurationSec": 40, "videoFps": 25, "videoWidth": 160, "videoHeight": 120, "state": "ready",
  "rallies": [
    {"id": 1, "startSec": 2, "endSec": 10, "selected": true, "name": "Long: first?"},
    {"id": 2, "startSec": 15, "endSec": 20, "selected": true},
    {"id": 3, "startSec": 25, "endSec": 30, "selected": false}]})";
}

struct ToolRun {
    int status = -1;
    std::string errors;    // standard error without the progress lines
    int progressLines = 0;  // "Exporting  40.0 %  (file 1 of 1)"
};

ToolRun resultOf(int status, const std::string& standardError) {
    ToolRun result{status, "", 0};
    size_t start = 0;
    while (start < standardError.size()) {
        const size_t end = std::min(standardError.find('\n', start), standardError.size());
        const std::string line = standardError.substr(start, end + 1 - start);
        if (line.rfind("Exporting ", 0) == 0)
            ++result.progressLines;
        else
            result.errors += line;
        start = end + 1;
    }
    return result;
}

class ExportTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test::writeNumberedSource(source_, kFps, 40));
        fs::create_directories(dir_ / "project");
        test::writeFile(dir_ / "project" / "project.json", projectJson(source_));
    }

    // `shellPrefix` runs before the tool in the same shell (limits, traps).
    ToolRun run(const std::string& arguments, const std::string& shellPrefix = "") const {
        const std::string errors = dir_.file("errors.txt");
        const std::string command = shellPrefix + " '" + RALLINOX_EXPORT_TOOL + "' " + arguments + " >/dev/null 2>'" +
                                    errors + "'";
        const int raw = std::system(("sh -c \"" + command + "\"").c_str());
        return resultOf(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, test::readFile(errors));
    }

    std::string project() const { return "'" + dir_.file("project") + "'"; }

    // Every file under `folder`, for checking that nothing was left behind.
    std::vector<fs::path> filesUnder(const fs::path& folder) const {
        std::vector<fs::path> found;
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(folder, ignored))
            if (entry.is_regular_file()) found.push_back(entry.path());
        return found;
    }

    test::TempDir dir_;
    const std::string source_ = dir_.file("match.mp4");
};

TEST_F(ExportTool, WritesTheTickedRalliesWithSoundAndTheEdlNextToThem) {
    const ToolRun result = run(project() + " '" + dir_.file("out/rallies.mp4") + "' --edl");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_GT(result.progressLines, 0) << "plain progress lines when standard error is not a terminal";
    const test::ReadBack video = test::readBack(dir_.file("out/rallies.mp4"));
    ASSERT_TRUE(video.opened);
    EXPECT_NEAR(video.videoSec, 13.0, 1.5 / kFps);
    EXPECT_TRUE(video.hasAudio);
    EXPECT_NEAR(video.audioSec, 13.0, 0.1);
    const std::string edl = test::readFile(dir_ / "out" / "rallies.edl");
    EXPECT_NE(edl.find("TITLE: Final"), std::string::npos);
    EXPECT_NE(edl.find("00:00:02:00 00:00:10:00 00:00:00:00 00:00:08:00"), std::string::npos) << edl;
    EXPECT_NE(edl.find("00:00:15:00 00:00:20:00 00:00:08:00 00:00:13:00"), std::string::npos) << edl;
    EXPECT_EQ(edl.find("00:00:25:00"), std::string::npos) << "the unticked rally stays out";
}

TEST_F(ExportTool, EachWritesOnePlayableFilePerTickedRallyInListOrder) {
    const ToolRun result = run(project() + " --each '" + dir_.file("clips") + "' --csv '" + dir_.file("clips/list.csv") +
                               "'");
    ASSERT_EQ(result.status, 0) << result.errors;
    const std::vector<std::pair<std::string, double>> expected = {{"01 Long- first-.mp4", 8.0},
                                                                  {"02 Rally 2.mp4", 5.0}};
    for (const auto& [name, seconds] : expected) {
        SCOPED_TRACE(name);
        const test::ReadBack clip = test::readBack((dir_ / "clips" / name).string());
        ASSERT_TRUE(clip.opened);
        EXPECT_NEAR(clip.videoSec, seconds, 1.0 / kFps);
        EXPECT_TRUE(clip.hasAudio);
        ASSERT_FALSE(clip.frames.empty());
        EXPECT_EQ(clip.frames.front().number, (name[1] == '1' ? 2 : 15) * kFps) << "starts where its rally starts";
    }
    EXPECT_EQ(filesUnder(dir_ / "clips").size(), 3u) << "two videos and the list, no EDL";
    EXPECT_NE(test::readFile(dir_ / "clips" / "list.csv").find("2,Rally 2,0:00:15.00,0:00:20.00,5.00,5.00"),
              std::string::npos);
}

TEST_F(ExportTool, ReadsTheProjectAsTheWindowDoesInListOrderAndInsideTheVideo) {
    test::writeFile(dir_ / "project" / "project.json",
                    R"({"id": "p1", "name": "Final", "videoPath": ")" + source_ + R"(", "videoDurationSec": 40,
  "videoFps": 25, "state": "ready", "rallies": [
    {"id": 2, "startSec": 15, "endSec": 20, "selected": true},
    {"id": 1, "startSec": 2, "endSec": 10, "selected": true},
    {"id": 4, "startSec": 1e16, "endSec": 2e16, "selected": true}]})");
    const ToolRun result = run(project() + " '" + dir_.file("out/rallies.mp4") + "' --edl");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_NEAR(test::readBack(dir_.file("out/rallies.mp4")).videoSec, 13.0, 1.5 / kFps);
    const std::string edl = test::readFile(dir_ / "out" / "rallies.edl");
    EXPECT_NE(edl.find("00:00:02:00 00:00:10:00 00:00:00:00 00:00:08:00"), std::string::npos) << edl;
    EXPECT_NE(edl.find("00:00:15:00 00:00:20:00 00:00:08:00 00:00:13:00"), std::string::npos) << edl;
}

TEST_F(ExportTool, ChoosesRalliesByIdOrAll) {
    ASSERT_EQ(run(project() + " --rally 3 '" + dir_.file("three.mp4") + "'").status, 0);
    EXPECT_NEAR(test::readBack(dir_.file("three.mp4")).videoSec, 5.0, 1.5 / kFps);
    ASSERT_EQ(run(project() + " --all --no-sound '" + dir_.file("all.mp4") + "'").status, 0);
    const test::ReadBack all = test::readBack(dir_.file("all.mp4"));
    EXPECT_NEAR(all.videoSec, 18.0, 1.5 / kFps);
    EXPECT_FALSE(all.hasAudio);
    const ToolRun unknown = run(project() + " --rally 9 '" + dir_.file("nine.mp4") + "'");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.errors, "This project has no rally with id 9.\n");
}

TEST_F(ExportTool, EveryFailureGivesOneLineAnErrorStatusAndNoFile) {
    const std::string out = dir_.file("out/rallies.mp4");
    const std::string sideFiles = " --edl --csv '" + dir_.file("out/list.csv") + "' --otio '" +
                                  dir_.file("out/cut.otio") + "' --each '" + dir_.file("out/each") + "'";
    struct Case {
        const char* what;
        std::function<void()> prepare;
        std::string arguments;
        std::string shellPrefix;
        std::string message;  // the start of the one line
    };
    const std::vector<Case> cases = {
        {"damaged project", [&] { test::writeFile(dir_ / "project" / "project.json", "{\"rallies\": [1, 2"); },
         project() + " '" + out + "'" + sideFiles, "", "The project file "},
        {"missing video", [&] { fs::rename(source_, dir_.file("moved.mp4")); },
         project() + " '" + out + "'" + sideFiles, "", "The match video of this project is missing: "},
        {"unwritable folder", [&] { test::writeFile(dir_ / "blocker", "a file, not a folder"); },
         project() + " '" + dir_.file("blocker/rallies.mp4") + "'", "", "Cannot write into the folder "},
        // A file size limit makes every write past a few kilobytes fail as on a full disk.
        {"full disk", [] {}, project() + " '" + out + "'" + sideFiles, "trap '' XFSZ; ulimit -f 16;", ""},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.what);
        test::writeFile(dir_ / "project" / "project.json", projectJson(source_));
        if (!fs::exists(source_)) fs::rename(dir_.file("moved.mp4"), source_);
        each.prepare();
        const ToolRun result = run(each.arguments, each.shellPrefix);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.errors.rfind(each.message, 0), 0u) << result.errors;
        EXPECT_EQ(std::count(result.errors.begin(), result.errors.end(), '\n'), 1) << result.errors;
        EXPECT_TRUE(filesUnder(dir_ / "out").empty());
        fs::remove_all(dir_ / "out");
        fs::remove(dir_ / "blocker");
    }
}

}  // namespace
}  // namespace rallinox
