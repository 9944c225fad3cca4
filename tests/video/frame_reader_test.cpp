#include "video/frame_reader.h"
#include "video/mp4_boxes.h"

#include "tests/support/temp_dir.h"
#include "tests/support/test_videos.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rallinox {
namespace {

std::vector<int> deliveredFrameNumbers(MfFrameReader& reader) {
    std::vector<int> numbers;
    cv::Mat frame;
    while (reader.pop(frame)) numbers.push_back(test::frameNumber(frame));
    return numbers;
}

// The first frame of `path` at the picture's own size.
cv::Mat firstFullFrame(const std::string& path) {
    MfFrameReader reader;
    cv::Mat frame;
    if (reader.start(path, 0, 0, 1)) reader.pop(frame);
    return frame;
}

std::vector<int> everyNth(int first, int last, int step) {
    std::vector<int> numbers;
    for (int n = first; n <= last; n += step) numbers.push_back(n);
    return numbers;
}

// Sets the media time of the first edit of the first edit list (version 0).
void setFirstEditMediaTime(const std::string& path, std::uint32_t mediaTime) {
    std::string bytes = test::readFile(path);
    const auto elst = bytes.find("elst");
    ASSERT_NE(elst, std::string::npos);
    ASSERT_EQ(bytes[elst + 4], '\0') << "version 0 expected";
    const std::string big = {char(mediaTime >> 24), char(mediaTime >> 16), char(mediaTime >> 8), char(mediaTime)};
    bytes.replace(elst + 16, 4, big);
    test::writeFile(path, bytes);
}

TEST(MfFrameReader, DeliversGreyFramesOfTheAnalysisSize) {
    test::TempDir dir;
    const std::string path = dir.file("clip.mp4");
    ASSERT_TRUE(test::writeNumberedVideo(path, 30, 10, 128, 96));
    MfFrameReader reader;
    ASSERT_TRUE(reader.start(path, 80, 60, 1));
    EXPECT_FALSE(reader.hardware());
    cv::Mat frame;
    ASSERT_TRUE(reader.pop(frame));
    EXPECT_EQ(frame.type(), CV_8UC1);
    EXPECT_EQ(frame.cols, 80);
    EXPECT_EQ(frame.rows, 60);
    EXPECT_EQ(deliveredFrameNumbers(reader), everyNth(1, 9, 1));
}

TEST(MfFrameReader, KeepsEveryStepthFrameCountedFromTheFirst) {
    test::TempDir dir;
    const std::string path = dir.file("sixty.mp4");
    ASSERT_TRUE(test::writeNumberedVideo(path, 60, 60));
    MfFrameReader reader;
    ASSERT_TRUE(reader.start(path, 32, 24, 2));
    EXPECT_EQ(deliveredFrameNumbers(reader), everyNth(0, 58, 2));
    ASSERT_TRUE(reader.start(path, 32, 24, 0));  // a step below 1 keeps every frame
    EXPECT_EQ(deliveredFrameNumbers(reader), everyNth(0, 59, 1));
}

TEST(MfFrameReader, StartsAtTheEditListStartAndStepsFromThere) {
    test::TempDir dir;
    const std::string path = dir.file("edited.mp4");
    ASSERT_TRUE(test::writeNumberedVideo(path, 25, 20, 64, 48, "-video_track_timescale 12800 -use_editlist 1"));
    setFirstEditMediaTime(path, 1024);  // 0.08 s: frames 0 and 1 come before it
    ASSERT_DOUBLE_EQ(mp4VideoStartOffset(path), 0.08);
    MfFrameReader reader;
    ASSERT_TRUE(reader.start(path, 64, 48, 1));
    EXPECT_EQ(deliveredFrameNumbers(reader), everyNth(2, 19, 1));
    ASSERT_TRUE(reader.start(path, 64, 48, 3));
    EXPECT_EQ(deliveredFrameNumbers(reader), everyNth(2, 19, 3));
}

TEST(MfFrameReader, DeliversOnlyTheVisibleRowsOfAPaddedPicture) {
    // H.264 codes 1080 lines as 1088 with a crop; a white band in the last
    // four visible rows must stay there, not be squeezed by padding rows.
    test::TempDir dir;
    const std::string path = dir.file("hd.mp4");
    ASSERT_TRUE(test::runFfmpeg("-f lavfi -i \"color=black:s=1920x1080:r=30,drawbox=y=1076:h=4:w=iw:c=white:t=fill\" "
                                "-frames:v 2 -c:v libx264 -preset ultrafast -qp 0 \"" + path + '"'));
    const cv::Mat frame = firstFullFrame(path);
    ASSERT_EQ(frame.rows, 1080);
    ASSERT_EQ(frame.cols, 1920);
    EXPECT_GT(cv::mean(frame.rowRange(1076, 1080))[0], 200.0);
    EXPECT_LT(cv::mean(frame.rowRange(1060, 1075))[0], 30.0);
}

TEST(MfFrameReader, RoundsOddPictureSizesDownToEven) {
    test::TempDir dir;
    const std::string path = dir.file("odd.mkv");
    ASSERT_TRUE(test::runFfmpeg("-f lavfi -i testsrc2=s=101x51:r=25 -frames:v 3 -pix_fmt yuv444p -c:v libx264 \"" +
                                path + '"'));
    const cv::Mat frame = firstFullFrame(path);
    EXPECT_EQ(frame.cols, 100);
    EXPECT_EQ(frame.rows, 50);
}

// Two raw H.264 streams of different sizes played one after the other.
std::string sizeChangingVideo(const test::TempDir& dir, const std::string& secondSize) {
    const std::string first = dir.file("first.h264"), second = dir.file("second.h264");
    const std::string joined = dir.file("joined.h264");
    if (!test::writeNumberedVideo(first, 25, 5, 64, 48, "-f h264")) return {};
    if (!test::runFfmpeg("-f lavfi -i testsrc2=s=" + secondSize + ":r=25 -frames:v 5 -c:v libx264 -f h264 \"" +
                         second + '"'))
        return {};
    test::writeFile(joined, test::readFile(first) + test::readFile(second));
    return joined;
}

TEST(MfFrameReader, EndsTheStreamWhenThePictureShrinks) {
    test::TempDir dir;
    const std::string path = sizeChangingVideo(dir, "32x24");
    ASSERT_FALSE(path.empty());
    MfFrameReader reader;
    ASSERT_TRUE(reader.start(path, 32, 24, 1));
    EXPECT_EQ(deliveredFrameNumbers(reader), everyNth(0, 4, 1));
}

TEST(MfFrameReader, KeepsTheFirstPictureAreaWhenThePictureGrows) {
    test::TempDir dir;
    const std::string path = sizeChangingVideo(dir, "128x96");
    ASSERT_FALSE(path.empty());
    MfFrameReader reader;
    ASSERT_TRUE(reader.start(path, 0, 0, 1));
    cv::Mat frame;
    int frames = 0;
    for (; reader.pop(frame); ++frames) ASSERT_EQ(frame.size(), cv::Size(64, 48));
    EXPECT_EQ(frames, 10);
}

TEST(MfFrameReader, ReadsTheLumaOfFormatsWithoutAnEightBitLumaPlane) {
    test::TempDir dir;
    const std::string path = dir.file("deep.mkv");
    ASSERT_TRUE(test::runFfmpeg("-f lavfi -i \"nullsrc=s=64x48:r=25,format=yuv420p,geq=lum='N*4':cb=128:cr=128\" "
                                "-frames:v 5 -pix_fmt yuv420p10le -c:v ffv1 \"" + path + '"'));
    MfFrameReader reader;
    ASSERT_TRUE(reader.start(path, 32, 24, 1));
    EXPECT_EQ(deliveredFrameNumbers(reader), everyNth(0, 4, 1));
}

TEST(MfFrameReader, RefusesFilesItCannotDecode) {
    test::TempDir dir;
    test::writeFile(dir.file("notes.txt"), "not a video at all\n");
    MfFrameReader reader;
    EXPECT_FALSE(reader.start(dir.file("notes.txt"), 32, 24, 1));
    EXPECT_FALSE(reader.start(dir.file("missing.mp4"), 32, 24, 1));
    cv::Mat frame;
    EXPECT_FALSE(reader.pop(frame));
}

TEST(MfFrameReader, TakesPathsLiterallyNotAsPatternsOrProtocols) {
    test::TempDir dir;
    ASSERT_TRUE(test::runFfmpeg("-f lavfi -i testsrc2=s=64x48:r=25 -frames:v 3 \"" + dir.file("f%03d.png") + '"'));
    MfFrameReader reader;
    EXPECT_FALSE(reader.start(dir.file("f%03d.png"), 32, 24, 1));
    const std::string colon = dir.file("set 1: warm-up.mp4");
    ASSERT_TRUE(test::writeNumberedVideo(colon, 25, 3));
    EXPECT_TRUE(reader.start(colon, 32, 24, 1));
}

TEST(MfFrameReader, StopWakesAProducerWaitingForRoom) {
    test::TempDir dir;
    const std::string path = dir.file("long.mp4");
    ASSERT_TRUE(test::writeNumberedVideo(path, 30, 60));
    MfFrameReader reader;
    ASSERT_TRUE(reader.start(path, 32, 24, 1));
    cv::Mat frame;
    ASSERT_TRUE(reader.pop(frame));
    // 59 frames remain for a queue of 32: the decoder blocks until stopped.
    reader.stop();
    EXPECT_FALSE(reader.pop(frame));
}

TEST(MfFrameReader, FramesQueuedBeforeTheEndCanStillBePopped) {
    test::TempDir dir;
    const std::string path = dir.file("short.mp4");
    ASSERT_TRUE(test::writeNumberedVideo(path, 30, 5));
    MfFrameReader reader;
    ASSERT_TRUE(reader.start(path, 32, 24, 1));
    EXPECT_EQ(deliveredFrameNumbers(reader), everyNth(0, 4, 1));
    cv::Mat frame;
    EXPECT_FALSE(reader.pop(frame));
}

}  // namespace
}  // namespace rallinox
