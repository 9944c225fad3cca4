#include "video/probe.h"

#include "tests/support/temp_dir.h"
#include "tests/support/test_videos.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace rallinox {
namespace {

TEST(Probe, ReadsSizeFrameRateAndDuration) {
    test::TempDir dir;
    const std::string path = dir.file("match.mp4");
    ASSERT_TRUE(test::writeNumberedVideo(path, 25, 50, 320, 240));
    VideoInfo info;
    std::string error;
    ASSERT_TRUE(probe(path, info, error)) << error;
    EXPECT_EQ(info.width, 320);
    EXPECT_EQ(info.height, 240);
    EXPECT_DOUBLE_EQ(info.fps, 25.0);
    EXPECT_DOUBLE_EQ(info.durationSec, 2.0);
}

TEST(Probe, OpensPathsWithNonAsciiLettersUnchanged) {
    test::TempDir dir;
    const std::string path = dir.file("Spiel gegen Köln – Satz 1.mp4");
    ASSERT_TRUE(test::writeNumberedVideo(path, 30, 3));
    EXPECT_EQ(openCvPath(path), path);
    VideoInfo info;
    std::string error;
    EXPECT_TRUE(probe(path, info, error)) << error;
}

TEST(Probe, NamesAMissingFileWithItsFullPath) {
    test::TempDir dir;
    const std::string expectedTail = "\nIt may have been moved, renamed or be on a drive that is not connected.";
    for (const std::string& path : {dir.file("gone.mp4"), dir.file("no-folder/gone.mp4"), std::string()}) {
        VideoInfo info;
        std::string error;
        EXPECT_FALSE(probe(path, info, error));
        EXPECT_EQ(error, "This file was not found:\n" + path + expectedTail);
    }
    // A regular file used as a folder is as missing as a deleted one.
    test::writeFile(dir.file("plain"), "x");
    VideoInfo info;
    std::string error;
    EXPECT_FALSE(probe(dir.file("plain/gone.mp4"), info, error));
    EXPECT_EQ(error.rfind("This file was not found:\n", 0), 0u);
}

TEST(Probe, NamesAFileThatIsNotAVideoByItsBareName) {
    test::TempDir dir;
    const std::string path = dir.file("notes.txt");
    test::writeFile(path, "Set 1: 25-21, set 2: 19-25.\n");
    VideoInfo info;
    std::string error;
    EXPECT_FALSE(probe(path, info, error));
    EXPECT_EQ(error, "\"notes.txt\" cannot be opened. It may be damaged, or not be a video this computer can read.");
}

TEST(Probe, SaysASoundRecordingHasNoVideoTrack) {
    test::TempDir dir;
    const std::string path = dir.file("interview.m4a");
    ASSERT_TRUE(test::runFfmpeg("-f lavfi -i sine=d=1 -c:a aac \"" + path + '"'));
    VideoInfo info;
    std::string error;
    EXPECT_FALSE(probe(path, info, error));
    EXPECT_EQ(error, "\"interview.m4a\" has no video track: it holds only sound.");
}

TEST(Probe, RefusesAFrameRateAboveOneThousand) {
    test::TempDir dir;
    const std::string path = dir.file("fast.mp4");
    ASSERT_TRUE(test::runFfmpeg("-f lavfi -i testsrc2=s=64x48:r=2000 -frames:v 20 -c:v libx264 \"" + path + '"'));
    VideoInfo info;
    std::string error;
    EXPECT_FALSE(probe(path, info, error));
    EXPECT_EQ(error, "This file has no readable video track.");
}

TEST(Probe, GivesDurationZeroWhenTheStreamHasNoFrameCount) {
    test::TempDir dir;
    const std::string path = dir.file("camera.h264");
    ASSERT_TRUE(test::runFfmpeg("-f lavfi -i testsrc2=s=64x48:r=25 -frames:v 20 -c:v libx264 -f h264 \"" + path + '"'));
    VideoInfo info;
    std::string error;
    ASSERT_TRUE(probe(path, info, error)) << error;
    EXPECT_EQ(info.width, 64);
    EXPECT_DOUBLE_EQ(info.durationSec, 0.0);
}

TEST(CheckVideoTrack, RefusesMissingOrImplausibleFrameRates) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double fps : {0.0, -25.0, nan, 1000.01, std::numeric_limits<double>::infinity()}) {
        VideoInfo info;
        std::string error;
        EXPECT_FALSE(checkVideoTrack(1920, 1080, fps, 100, info, error)) << fps;
        EXPECT_EQ(error, "This file has no readable video track.");
    }
    VideoInfo info;
    std::string error;
    EXPECT_TRUE(checkVideoTrack(1920, 1080, 1000.0, 2000, info, error));
    EXPECT_DOUBLE_EQ(info.durationSec, 2.0);
}

TEST(CheckVideoTrack, RefusesEmptyOrNonsensicalPictureSizes) {
    for (auto [width, height] : {std::pair{0.0, 1080.0}, {1920.0, 0.5}, {std::nan(""), 1080.0}, {1e300, 1080.0}}) {
        VideoInfo info;
        std::string error;
        EXPECT_FALSE(checkVideoTrack(width, height, 30, 100, info, error));
    }
}

TEST(CheckVideoTrack, TakesWholePixelsAndZeroDurationForUnknownFrameCounts) {
    for (double count : {0.0, -1.0, -9.2e18}) {
        VideoInfo info;
        std::string error;
        ASSERT_TRUE(checkVideoTrack(1280.9, 720.2, 59.94, count, info, error));
        EXPECT_EQ(info.width, 1280);
        EXPECT_EQ(info.height, 720);
        EXPECT_DOUBLE_EQ(info.durationSec, 0.0);
    }
}

}  // namespace
}  // namespace rallinox
