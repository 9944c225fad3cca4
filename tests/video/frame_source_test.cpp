#include "video/frame_source.h"

#include "tests/support/temp_dir.h"
#include "tests/support/test_videos.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <vector>

namespace rallinox {
namespace {

std::vector<cv::Mat> greyFrames(FrameSource& source) {
    std::vector<cv::Mat> frames;
    cv::Mat frame;
    while (source.pop(frame)) {
        cv::Mat grey;
        if (frame.channels() == 3)
            cv::cvtColor(frame, grey, cv::COLOR_BGR2GRAY);
        else
            grey = frame.clone();
        frames.push_back(grey);
    }
    return frames;
}

TEST(DecoderName, NamesTheThreeKindsAndNothingElse) {
    EXPECT_STREQ(decoderName(DecoderKind::Gpu), "GPU");
    EXPECT_STREQ(decoderName(DecoderKind::Software), "software");
    EXPECT_STREQ(decoderName(DecoderKind::OpenCv), "OpenCV");
    EXPECT_STREQ(decoderName(DecoderKind::None), "");
}

TEST(FrameSource, PrefersFfmpegDecoding) {
    test::TempDir dir;
    const std::string path = dir.file("clip.mp4");
    ASSERT_TRUE(test::writeNumberedVideo(path, 30, 4));
    FrameSource source;
    ASSERT_TRUE(source.open(path, 32, 24, 1));
    EXPECT_EQ(source.decoderKind(), DecoderKind::Software);
    EXPECT_EQ(greyFrames(source).size(), 4u);
}

// An image sequence named by a pattern is something FFmpeg's file reader
// refuses but OpenCV's capture reads; both must show the same pictures.
TEST(FrameSource, FallsBackToOpenCvWithTheSameFrames) {
    test::TempDir dir;
    const std::string pattern = dir.file("shot%03d.png");
    const std::string video = dir.file("shots.mkv");
    ASSERT_TRUE(test::runFfmpeg("-f lavfi -i testsrc2=s=96x64:r=25 -vf format=gray -frames:v 7 \"" + pattern + '"'));
    ASSERT_TRUE(test::runFfmpeg("-framerate 25 -i \"" + pattern + "\" -c:v ffv1 \"" + video + '"'));

    FrameSource fromOpenCv;
    ASSERT_TRUE(fromOpenCv.open(pattern, 0, 0, 2));
    EXPECT_EQ(fromOpenCv.decoderKind(), DecoderKind::OpenCv);
    FrameSource fromFfmpeg;
    ASSERT_TRUE(fromFfmpeg.open(video, 0, 0, 2));
    EXPECT_EQ(fromFfmpeg.decoderKind(), DecoderKind::Software);

    const std::vector<cv::Mat> expected = greyFrames(fromFfmpeg);
    const std::vector<cv::Mat> actual = greyFrames(fromOpenCv);
    ASSERT_EQ(expected.size(), 4u);
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(actual[i].size(), expected[i].size());
        EXPECT_LE(cv::norm(actual[i], expected[i], cv::NORM_INF), 2.0) << "frame " << i;
    }
}

TEST(FrameSource, FailsWhenNoDecoderCanReadTheFile) {
    test::TempDir dir;
    test::writeFile(dir.file("notes.txt"), "not a video\n");
    FrameSource source;
    EXPECT_FALSE(source.open(dir.file("notes.txt"), 32, 24, 1));
    EXPECT_EQ(source.decoderKind(), DecoderKind::None);
    cv::Mat frame;
    EXPECT_FALSE(source.pop(frame));
}

TEST(FrameSource, CanBeReopenedWhileFramesAreStillQueued) {
    test::TempDir dir;
    const std::string path = dir.file("long.mp4");
    ASSERT_TRUE(test::writeNumberedVideo(path, 30, 60));
    FrameSource source;
    ASSERT_TRUE(source.open(path, 32, 24, 1));
    ASSERT_TRUE(source.open(path, 32, 24, 30));
    const std::vector<cv::Mat> frames = greyFrames(source);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(test::frameNumber(frames[1]), 30);
    source.stop();
    cv::Mat frame;
    EXPECT_FALSE(source.pop(frame));
}

}  // namespace
}  // namespace rallinox
