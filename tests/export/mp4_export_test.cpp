#include "export/mp4_export.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "export/video_encoder.h"
#include "video/mp4_boxes.h"
#include "tests/export/export_media.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_videos.h"

namespace rallinox {
namespace {

namespace fs = std::filesystem;

// Half a frame at 25 or 30 frames per second, and one and a half.
constexpr double kHalfFrame = 0.02;
constexpr double kFrameAndAHalf = 0.06;

struct Exported {
    ExportResult result;
    test::ReadBack file;
};

Exported exportCuts(const std::string& source, const std::string& output, const std::vector<Cut>& cuts,
                    bool keepSound = true, FrameOverlay* overlay = nullptr) {
    ExportProgress progress;
    Exported exported;
    exported.result = exportMp4(source, output, cuts, keepSound, overlay, progress);
    if (exported.result.ok) {
        EXPECT_FLOAT_EQ(progress.fraction.load(), 1.0f);
        EXPECT_EQ(progress.currentCut.load(), int32_t(cuts.size()) - 1);
        exported.file = test::readBack(output);
    }
    return exported;
}

// The cut list's length in the output, within a frame or two.
void expectLength(const Exported& exported, double seconds, double fps) {
    EXPECT_NEAR(exported.result.outputSec, seconds, 1e-9);
    EXPECT_NEAR(exported.file.videoSec, seconds, kFrameAndAHalf);
    EXPECT_NEAR(double(exported.file.frames.size()), seconds * fps, 1.5);
    EXPECT_NEAR(exported.file.fps, fps, 1e-6);
}

// The frame number the source shows at `sourceSec`.
void expectShows(const Exported& exported, double outputSec, double sourceSec, double fps) {
    const test::DecodedFrame* frame = test::frameAt(exported.file, outputSec - kHalfFrame);
    ASSERT_NE(frame, nullptr) << "nothing at " << outputSec;
    EXPECT_NEAR(frame->timeSec, outputSec, kHalfFrame);
    EXPECT_NEAR(frame->number, sourceSec * fps, 1.0) << "at output time " << outputSec;
}

TEST(Mp4Export, CutsOfA30FpsMatchFollowEachOtherWithTheirSound) {
    test::TempDir dir;
    const std::string source = dir.file("match.mp4");
    ASSERT_TRUE(test::writeNumberedSource(source, 30, 20));
    const std::string output = dir.file("rallies.mp4");
    const Exported exported = exportCuts(source, output, {{2, 5}, {8, 12.5}, {15, 17}});
    ASSERT_TRUE(exported.result.ok) << exported.result.message;
    EXPECT_FALSE(exported.result.cancelled);
    EXPECT_FALSE(exported.result.noSound);
    EXPECT_TRUE(exported.result.message.empty());
    ASSERT_TRUE(exported.file.opened);
    expectLength(exported, 9.5, 30);
    EXPECT_EQ(exported.file.width, 160);
    EXPECT_EQ(exported.file.height, 120);
    EXPECT_EQ(exported.file.videoCodec, "h264");
    ASSERT_TRUE(exported.file.hasAudio);
    EXPECT_EQ(exported.file.audioCodec, "aac");
    EXPECT_EQ(exported.file.audioRate, 48000);
    EXPECT_NEAR(exported.file.audioSec, 9.5, 0.05);
    expectShows(exported, 0, 2, 30);
    expectShows(exported, 3, 8, 30);
    expectShows(exported, 7.5, 15, 30);
    expectShows(exported, 9.0, 16.5, 30);
    EXPECT_EQ(fs::directory_iterator(dir.path()) == fs::directory_iterator(), false);
    EXPECT_FALSE(fs::exists(output + ".part"));
}

TEST(Mp4Export, CutsOf8And5SecondsAt25FpsMakeA13SecondVideo) {
    test::TempDir dir;
    const std::string source = dir.file("match 25.mp4");
    ASSERT_TRUE(test::writeNumberedSource(source, 25, 20));
    const std::string output = dir.file("out.mp4");
    const Exported exported = exportCuts(source, output, {{1, 9}, {12, 17}});
    ASSERT_TRUE(exported.result.ok) << exported.result.message;
    expectLength(exported, 13, 25);
    EXPECT_NEAR(exported.file.audioSec, 13, 0.05);
    expectShows(exported, 0, 1, 25);
    expectShows(exported, 8, 12, 25);  // the second cut's first frame is stamped 8 s
}

TEST(Mp4Export, TheSoundOfACutStaysWithItsPicture) {
    test::TempDir dir;
    const std::string source = dir.file("beep.mp4");
    ASSERT_TRUE(test::writeBeepingSource(source, 25, 12, 9.0));
    const std::string output = dir.file("out.mp4");
    const Exported exported = exportCuts(source, output, {{2, 4.5}, {8, 10}});
    ASSERT_TRUE(exported.result.ok) << exported.result.message;
    // Times as a player counts them, from each file's own start.
    const double sourceBeep = test::firstSoundSec(source) - mp4AudioStartOffset(source);
    ASSERT_NEAR(sourceBeep, 9.0, 0.01);
    const double outputBeep = test::firstSoundSec(output) - mp4AudioStartOffset(output);
    // 1 s into the second cut, which starts 2.5 s into the output.
    EXPECT_NEAR(outputBeep, 3.5 + (sourceBeep - 9.0), 0.01);
}

TEST(Mp4Export, CutsOfATransportStreamStartAtTheirFirstFrameNotTheNextKeyFrame) {
    test::TempDir dir;
    const std::string source = dir.file("camcorder.mts");
    ASSERT_TRUE(test::writeNumberedSource(source, 25, 10));
    const Exported exported = exportCuts(source, dir.file("out.mp4"), {{3, 5}, {7.2, 8}});
    ASSERT_TRUE(exported.result.ok) << exported.result.message;
    expectLength(exported, 2.8, 25);
    expectShows(exported, 0, 3, 25);
    expectShows(exported, 2, 7.2, 25);
}

TEST(Mp4Export, ASourceWithoutSoundGivesAVideoOnlyFile) {
    test::TempDir dir;
    const std::string source = dir.file("silent.mp4");
    ASSERT_TRUE(test::writeNumberedSource(source, 30, 10, 0));
    const Exported exported = exportCuts(source, dir.file("out.mp4"), {{1, 3}, {5, 6}});
    ASSERT_TRUE(exported.result.ok) << exported.result.message;
    EXPECT_FALSE(exported.result.noSound);
    EXPECT_FALSE(exported.file.hasAudio);
    expectLength(exported, 3, 30);
    expectShows(exported, 2, 5, 30);
}

TEST(Mp4Export, SoundIsLeftOutWhenNotWantedOrNotInAKeptFormat) {
    test::TempDir dir;
    const std::string source = dir.file("low rate.mp4");
    ASSERT_TRUE(test::writeNumberedSource(source, 25, 6, 22050));

    const Exported kept = exportCuts(source, dir.file("kept.mp4"), {{1, 3}});
    ASSERT_TRUE(kept.result.ok) << kept.result.message;
    EXPECT_TRUE(kept.result.noSound) << "22.05 kHz sound cannot be kept";
    EXPECT_FALSE(kept.file.hasAudio);
    expectLength(kept, 2, 25);

    const Exported unwanted = exportCuts(source, dir.file("unwanted.mp4"), {{1, 3}}, false);
    ASSERT_TRUE(unwanted.result.ok) << unwanted.result.message;
    EXPECT_FALSE(unwanted.result.noSound) << "nothing to note when the sound was not wanted";
    EXPECT_FALSE(unwanted.file.hasAudio);

    const std::string good = dir.file("good.mp4");
    ASSERT_TRUE(test::writeNumberedSource(good, 25, 4, 44100));
    const Exported dropped = exportCuts(good, dir.file("dropped.mp4"), {{0, 2}}, false);
    ASSERT_TRUE(dropped.result.ok) << dropped.result.message;
    EXPECT_FALSE(dropped.file.hasAudio);
}

// Two seconds at one size, then two at another, as one transport stream.
std::string writeSizeChange(const test::TempDir& dir, const std::string& first, const std::string& second) {
    const std::string path = dir.file(first + "-" + second + ".ts");
    const auto part = [&](const std::string& size, int offset) {
        const std::string file = dir.file(size + ".ts");
        const bool made = test::runFfmpeg("-f lavfi -i testsrc2=s=" + size + ":r=25 -t 2 -c:v libx264 -bf 0 " +
                                          "-output_ts_offset " + std::to_string(offset) + " \"" + file + '"');
        EXPECT_TRUE(made);
        return file;
    };
    const std::string a = part(first, 0);
    const std::string b = part(second, 2);
    EXPECT_TRUE(test::runFfmpeg("-i \"concat:" + a + "|" + b + "\" -c copy \"" + path + '"'));
    return path;
}

TEST(Mp4Export, LargerFramesLaterInTheSourceAreScaledToTheFirstSizeSmallerOnesStopIt) {
    test::TempDir dir;
    const std::string growing = writeSizeChange(dir, "160x120", "320x240");
    const Exported scaled = exportCuts(growing, dir.file("scaled.mp4"), {{1, 3.5}});
    ASSERT_TRUE(scaled.result.ok) << scaled.result.message;
    EXPECT_EQ(scaled.file.width, 160);
    EXPECT_NEAR(double(scaled.file.frames.size()), 2.5 * 25, 1.5);

    const std::string shrinking = writeSizeChange(dir, "320x240", "160x120");
    const Exported stopped = exportCuts(shrinking, dir.file("stopped.mp4"), {{1, 3.5}});
    EXPECT_FALSE(stopped.result.ok);
    EXPECT_EQ(stopped.result.message, "Export stopped while reading the video");
    EXPECT_FALSE(fs::exists(dir / "stopped.mp4"));
}

TEST(Mp4Export, TurnedVideosKeepTheirRotation) {
    test::TempDir dir;
    const std::string plain = dir.file("plain.mp4");
    const std::string source = dir.file("phone.mp4");
    ASSERT_TRUE(test::writeNumberedSource(plain, 30, 4));
    // Stored as a quarter turn counter-clockwise: 270 degrees clockwise.
    ASSERT_TRUE(test::runFfmpeg("-i \"" + plain + "\" -c copy -metadata:s:v:0 rotate=90 \"" + source + '"'));
    const std::string output = dir.file("out.mp4");
    const Exported exported = exportCuts(source, output, {{1, 2}});
    ASSERT_TRUE(exported.result.ok) << exported.result.message;
    EXPECT_EQ(exported.file.rotation, 270u);
    EXPECT_EQ(exported.file.width, 160);
}

// Marks every picture it is given and remembers where it was.
class MarkingOverlay : public FrameOverlay {
public:
    void draw(Nv12Picture& picture, size_t cutIndex, double secondsIntoCut) override {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) picture.luma[y * picture.lumaPitch + x] = 235;
        calls.push_back({cutIndex, secondsIntoCut});
        sizes.insert({picture.width, picture.height});
    }
    std::vector<std::pair<size_t, double>> calls;
    std::set<std::pair<int, int>> sizes;
};

TEST(Mp4Export, EveryPictureOfEveryCutPassesTheOverlayWithItsTimeInTheCut) {
    test::TempDir dir;
    const std::string source = dir.file("match.mp4");
    ASSERT_TRUE(test::writeNumberedSource(source, 25, 8));
    MarkingOverlay overlay;
    const Exported exported = exportCuts(source, dir.file("out.mp4"), {{1, 2}, {4, 6}}, true, &overlay);
    ASSERT_TRUE(exported.result.ok) << exported.result.message;
    ASSERT_EQ(overlay.calls.size(), exported.file.frames.size());
    EXPECT_EQ(overlay.sizes, (std::set<std::pair<int, int>>{{160, 120}}));
    size_t firstOfSecond = 0;
    while (firstOfSecond < overlay.calls.size() && overlay.calls[firstOfSecond].first == 0) ++firstOfSecond;
    EXPECT_NEAR(double(firstOfSecond), 25, 1);
    EXPECT_NEAR(overlay.calls.front().second, 0, kHalfFrame);
    EXPECT_NEAR(overlay.calls[firstOfSecond].second, 0, kHalfFrame);
    EXPECT_NEAR(overlay.calls.back().second, 2 - 0.04, kHalfFrame);
    for (const test::DecodedFrame& frame : exported.file.frames)
        ASSERT_NEAR(frame.cornerLuma, 235, 8) << "the mark is in the picture at " << frame.timeSec;
}

// Sets the cancel flag, as the GUI's "Cancel" does, once a cut starts.
class CancellingOverlay : public FrameOverlay {
public:
    CancellingOverlay(ExportProgress& progress, size_t atCut) : progress_(progress), atCut_(atCut) {}
    void draw(Nv12Picture&, size_t cutIndex, double) override {
        if (cutIndex == atCut_) progress_.cancel.store(true);
    }

private:
    ExportProgress& progress_;
    size_t atCut_;
};

TEST(Mp4Export, CancellingInTheSecondCutLeavesNothingAndKeepsAnOlderFile) {
    test::TempDir dir;
    const std::string source = dir.file("match.mp4");
    ASSERT_TRUE(test::writeNumberedSource(source, 25, 10));
    const std::string output = dir.file("out.mp4");
    ExportProgress progress;
    CancellingOverlay cancelling(progress, 1);
    const ExportResult result = exportMp4(source, output, {{1, 3}, {5, 8}}, true, &cancelling, progress);
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(progress.currentCut.load(), 1);
    EXPECT_LT(progress.fraction.load(), 0.5f);
    EXPECT_FALSE(fs::exists(output));
    EXPECT_FALSE(fs::exists(output + ".part"));

    test::writeFile(output, "last week's export");
    ExportProgress again;
    CancellingOverlay cancellingAgain(again, 1);
    EXPECT_TRUE(exportMp4(source, output, {{1, 3}, {5, 8}}, true, &cancellingAgain, again).cancelled);
    EXPECT_EQ(test::readFile(output), "last week's export");
}

TEST(Mp4Export, RefusesWhatCannotBeWrittenWithAMessageAndLeavesNoFile) {
    test::TempDir dir;
    const std::string source = dir.file("match.mp4");
    ASSERT_TRUE(test::writeNumberedSource(source, 25, 4));
    const std::string before = test::readFile(source);

    // A folder that cannot be made: its parent is a file.
    test::writeFile(dir / "notes.txt", "not a folder");
    const Exported unwritable = exportCuts(source, dir.file("notes.txt/out.mp4"), {{1, 2}});
    EXPECT_FALSE(unwritable.result.ok);
    EXPECT_FALSE(unwritable.result.cancelled);
    EXPECT_EQ(unwritable.result.message.rfind("Cannot create the output file (", 0), 0u) << unwritable.result.message;

    const Exported itself = exportCuts(source, source, {{1, 2}});
    EXPECT_FALSE(itself.result.ok);
    EXPECT_EQ(itself.result.message, kSameFileMessage);
    const std::string link = dir.file("same match.mp4");
    fs::create_hard_link(source, link);
    EXPECT_EQ(exportCuts(source, link, {{1, 2}}).result.message, kSameFileMessage);
    EXPECT_EQ(test::readFile(source), before);

    EXPECT_EQ(exportCuts(source, dir.file("empty.mp4"), {}).result.message, kNoRalliesMessage);
    EXPECT_EQ(exportCuts(source, dir.file("empty.mp4"), {{2, 2}, {3, 1}}).result.message, kNoRalliesMessage);
    EXPECT_FALSE(fs::exists(dir / "empty.mp4"));

    test::writeFile(dir / "broken.mp4", "no video in here");
    const Exported broken = exportCuts(dir.file("broken.mp4"), dir.file("out.mp4"), {{1, 2}});
    EXPECT_EQ(broken.result.message, "Cannot open the source video");
    EXPECT_FALSE(fs::exists(dir / "out.mp4"));
}

// A phone's variable frame rate: here 10 frames per second for the first
// 4 s, 30 after. Every picture keeps its place in time; none is stretched
// to the average rate.
TEST(Mp4Export, AVariableRateSourceKeepsItsPicturesAtTheirOwnTimes) {
    test::TempDir dir;
    const std::string even = dir.file("even.mp4");
    ASSERT_TRUE(test::writeNumberedSource(even, 30, 10));
    const std::string source = dir.file("phone.mp4");
    ASSERT_TRUE(test::runFfmpeg("-i \"" + even + "\" -vf \"select='gte(t\\,4)+not(mod(n\\,3))'\" -fps_mode vfr " +
                                "-c:v libx264 -qp 0 -c:a copy \"" + source + '"'));
    const Exported exported = exportCuts(source, dir.file("out.mp4"), {{5, 8}, {1, 3}});
    ASSERT_TRUE(exported.result.ok) << exported.result.message;
    EXPECT_NEAR(double(exported.file.frames.size()), 3 * 30 + 2 * 10, 1.5);
    ASSERT_FALSE(exported.file.frames.empty());
    EXPECT_NEAR(exported.file.frames.back().timeSec, 4.9, kHalfFrame);
    expectShows(exported, 0.5, 5.5, 30);
    expectShows(exported, 2.9, 7.9, 30);
    expectShows(exported, 4.0, 2.0, 30);
    expectShows(exported, 4.8, 2.8, 30);
}

TEST(Mp4Export, AFullDiskIsReportedAsAFailedWriteAndLeavesNoFile) {
    test::TempDir dir;
    const std::string source = dir.file("match.mp4");
    // Busy pictures, so that the output outgrows the limit while cuts are copied.
    ASSERT_TRUE(test::runFfmpeg("-f lavfi -i testsrc2=s=320x240:r=25:d=10 -c:v libx264 -preset ultrafast \"" +
                                source + '"'));
    const std::string output = dir.file("out.mp4");
    Exported exported;
    {
        const test::FileSizeLimit fullDisk(64 * 1024);
        exported = exportCuts(source, output, {{1, 9}});
    }
    EXPECT_FALSE(exported.result.ok);
    EXPECT_FALSE(exported.result.cancelled);
    EXPECT_EQ(exported.result.message, "Export stopped: the output file could not be written (File too large)");
    EXPECT_FALSE(fs::exists(output));
    EXPECT_FALSE(fs::exists(output + ".part"));
}

TEST(H264BitRate, ATenthOfABitPerPixelAndFrameWithinLimits) {
    EXPECT_EQ(h264BitRate(25, 1920, 1080), 5'184'000);
    EXPECT_EQ(h264BitRate(25, 640, 360), 2'000'000);
    EXPECT_EQ(h264BitRate(60, 3840, 2160), 40'000'000);
}

}  // namespace
}  // namespace rallinox
