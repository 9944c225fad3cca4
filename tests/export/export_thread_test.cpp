// The export as the application runs it: on the export job's own thread,
// with the EDL and the log lines, cancelled from the GUI's thread.
#include "export/export_body.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

#include "app/core/log.h"
#include "app/jobs/export_job.h"
#include "tests/export/export_media.h"
#include "tests/support/temp_dir.h"

// The scoreboard's fonts: fontconfig loses a few bytes of its configuration
// (as in tests/export/board/lsan.supp). Read by the address sanitizer's leak checker.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace rallinox {
namespace {

namespace fs = std::filesystem;

Rally rally(double startSec, double endSec) {
    Rally made;
    made.startSec = startSec;
    made.endSec = endSec;
    return made;
}

ExportRequest requestFor(const std::string& source, const std::string& output) {
    ExportRequest request;
    request.sourcePath = source;
    request.outputPath = output;
    request.title = "Cup final";
    request.fps = 25;
    request.rallies = {rally(1, 3), rally(4, 5.5)};
    return request;
}

ExportResult runToTheEnd(ExportJob& job) {
    while (!job.done()) std::this_thread::yield();
    return job.takeResult().value();
}

class ExportThread : public ::testing::Test {
protected:
    void SetUp() override {
        openLog(dir / "rallinox.log");
        ASSERT_TRUE(test::writeNumberedSource(source, 25, 8));
    }
    void TearDown() override { closeLog(); }
    std::string log() const { return test::readFile(dir / "rallinox.log"); }

    test::TempDir dir;
    const std::string source = dir.file("match.mp4");
};

TEST_F(ExportThread, WritesTheVideoIntoANewFolderAndTheEdlBesideIt) {
    ExportRequest request = requestFor(source, dir.file("exports/Cup final - rallies.mp4"));
    request.edlPath = dir.file("exports/Cup final - rallies.edl");
    ExportJob job(request, exportBody());
    const ExportResult result = runToTheEnd(job);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_TRUE(result.message.empty());
    EXPECT_DOUBLE_EQ(result.outputSec, 3.5);
    EXPECT_NEAR(test::readBack(request.outputPath).videoSec, 3.5, 0.06);
    const std::string edl = test::readFile(request.edlPath);
    EXPECT_EQ(edl.rfind("TITLE: Cup final\n", 0), 0u) << edl;
    EXPECT_NE(edl.find("* FROM CLIP NAME: match.mp4\n"), std::string::npos) << edl;
    EXPECT_NE(edl.find("002  AX       AA/V  C        00:00:04:00 00:00:05:13 00:00:02:00 00:00:03:13"),
              std::string::npos)
        << edl;
    EXPECT_NE(log().find("[info] export done: 2 rallies"), std::string::npos) << log();
}

TEST_F(ExportThread, AFailedEdlKeepsTheVideoAndSaysSo) {
    ExportRequest request = requestFor(source, dir.file("out.mp4"));
    request.edlPath = dir.file("no such folder/out.edl");
    ExportJob job(request, exportBody());
    const ExportResult result = runToTheEnd(job);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.message, "Could not write the EDL file.");
    EXPECT_TRUE(fs::exists(request.outputPath));
}

TEST_F(ExportThread, AFailureIsLoggedWithItsMessage) {
    ExportRequest request = requestFor(source, dir.file("out.mp4"));
    request.rallies = {rally(3, 3)};
    ExportJob job(request, exportBody());
    EXPECT_EQ(runToTheEnd(job).message, "No rallies to export.");
    EXPECT_NE(log().find("[error] export failed: No rallies to export."), std::string::npos) << log();
}

// Remembers on which thread it was made and how many pictures it saw.
struct CountingOverlay : FrameOverlay {
    explicit CountingOverlay(std::atomic<int>& count) : pictures(count) {}
    void draw(Nv12Picture&, size_t, double) override { pictures.fetch_add(1); }
    std::atomic<int>& pictures;
};

TEST_F(ExportThread, TheOverlayIsMadeOnTheExportThreadAndSeesEveryPicture) {
    std::atomic<int> pictures{0};
    std::thread::id madeOn;
    ExportJob job(requestFor(source, dir.file("out.mp4")), exportBody([&] {
                      madeOn = std::this_thread::get_id();
                      return std::make_unique<CountingOverlay>(pictures);
                  }));
    ASSERT_TRUE(runToTheEnd(job).ok);
    EXPECT_NE(madeOn, std::this_thread::get_id());
    EXPECT_EQ(pictures.load(), int(test::readBack(dir.file("out.mp4")).frames.size()));
}

int cornerSpread(const test::ReadBack& file) {
    const auto [darkest, brightest] = std::minmax_element(
        file.frames.begin(), file.frames.end(),
        [](const test::DecodedFrame& a, const test::DecodedFrame& b) { return a.cornerLuma < b.cornerLuma; });
    return file.frames.empty() ? 0 : brightest->cornerLuma - darkest->cornerLuma;
}

TEST_F(ExportThread, TheRequestsScoreboardsAreDrawnWithoutBeingAskedForAgain) {
    const ExportRequest plain = requestFor(source, dir.file("plain.mp4"));
    ExportRequest scored = requestFor(source, dir.file("scored.mp4"));
    BoardClip board;
    board.before.homeName = "HOME";
    board.before.awayName = "AWAY";
    board.after = board.before;
    board.lengthSec = 2;
    scored.boards = {board, board};
    ExportJob plainJob(plain);
    ExportJob scoredJob(scored);
    ASSERT_TRUE(runToTheEnd(plainJob).ok);
    ASSERT_TRUE(runToTheEnd(scoredJob).ok);
    const test::ReadBack without = test::readBack(plain.outputPath);
    const test::ReadBack with = test::readBack(scored.outputPath);
    ASSERT_EQ(with.frames.size(), without.frames.size());
    // The numbered picture's corner brightens frame by frame; under the
    // board's translucent panel it barely follows.
    EXPECT_LT(cornerSpread(with), cornerSpread(without) / 4);
}

// Remembers which exported cut each picture belonged to.
struct CutRecordingOverlay : FrameOverlay {
    explicit CutRecordingOverlay(std::vector<size_t>& seen) : cuts(seen) {}
    void draw(Nv12Picture&, size_t cutIndex, double) override {
        if (cuts.empty() || cuts.back() != cutIndex) cuts.push_back(cutIndex);
    }
    std::vector<size_t>& cuts;
};

TEST_F(ExportThread, EachRallyFileIsDrawnAsItsOwnRallyAndTheTextFilesFollow) {
    ExportRequest request = requestFor(source, "");
    request.eachPaths = {dir.file("each/01 Rally 1.mp4"), dir.file("each/02 Rally 2.mp4")};
    request.textFiles = {{dir.file("each/list.csv"), "Number\r\n1\r\n2\r\n"}};
    std::vector<size_t> cuts;
    ExportJob job(request, exportBody([&] { return std::make_unique<CutRecordingOverlay>(cuts); }));
    const ExportResult result = runToTheEnd(job);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(cuts, (std::vector<size_t>{0, 1})) << "the second file shows the second rally's board";
    EXPECT_NEAR(test::readBack(request.eachPaths[0]).videoSec, 2.0, 0.06);
    EXPECT_NEAR(test::readBack(request.eachPaths[1]).videoSec, 1.5, 0.06);
    EXPECT_DOUBLE_EQ(result.outputSec, 3.5);
    EXPECT_EQ(test::readFile(dir / "each" / "list.csv"), "Number\r\n1\r\n2\r\n");
    EXPECT_FLOAT_EQ(float(overallFraction(job.request, job.progress)), 1.0f);
}

TEST_F(ExportThread, ARallyFileThatFailsTakesTheFinishedOnesAndTheTextFilesWithIt) {
    test::writeFile(dir / "blocker", "a file where a folder should be");
    ExportRequest request = requestFor(source, dir.file("all.mp4"));
    request.eachPaths = {dir.file("each/01 Rally 1.mp4"), dir.file("blocker/02 Rally 2.mp4")};
    request.textFiles = {{dir.file("each/list.csv"), "Number\r\n"}};
    ExportJob job(request, exportBody());
    const ExportResult result = runToTheEnd(job);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.message.empty());
    EXPECT_FALSE(fs::exists(request.outputPath));
    EXPECT_FALSE(fs::exists(request.eachPaths[0]));
    EXPECT_FALSE(fs::exists(dir / "each" / "list.csv"));
}

TEST_F(ExportThread, CancelFromAnotherThreadStopsEarlyAndLeavesNoFile) {
    const std::string longSource = dir.file("long match.mp4");
    ASSERT_TRUE(test::writeNumberedSource(longSource, 25, 60, 48000));
    ExportRequest request = requestFor(longSource, dir.file("out.mp4"));
    request.rallies = {rally(1, 29), rally(30, 59)};
    ExportJob job(request, exportBody());
    while (job.progress.fraction.load() <= 0 && !job.done()) std::this_thread::yield();
    job.cancel();
    const ExportResult result = runToTheEnd(job);
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(result.ok);
    EXPECT_LT(job.progress.fraction.load(), 1.0f);
    EXPECT_FALSE(fs::exists(request.outputPath));
    EXPECT_FALSE(fs::exists(request.outputPath + ".part"));
    EXPECT_EQ(log().find("export failed"), std::string::npos) << "a cancel is no failure";
}

}  // namespace
}  // namespace rallinox
