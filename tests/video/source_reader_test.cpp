#include "video/source_reader.h"

#include "tests/support/temp_dir.h"
#include "tests/support/test_videos.h"

#include <gtest/gtest.h>

namespace rallinox::mf {
namespace {

struct Opened {
    SourceReader reader;
    VideoFormat format;
    AudioFormat audio;
    bool hasAudio = false;
    std::string error;
    bool configured = false;

    explicit Opened(const std::string& path) {
        if (reader.open(path)) configured = configureReader(reader, format, audio, hasAudio, error);
    }
};

// Numbered frames at 25 fps with a key frame each, plus a sine tone.
bool writeClipWithSound(const std::string& path, int frames, const std::string& audioRate = "48000",
                        const std::string& extra = "") {
    return test::runFfmpeg("-f lavfi -i \"nullsrc=s=64x48:r=25,format=yuv420p,geq=lum='N*4':cb=128:cr=128\" "
                           "-f lavfi -i \"sine=f=440:r=" + audioRate + "\" -ac 2 -frames:v " +
                           std::to_string(frames) + " -shortest -c:v libx264 -qp 0 -g 1 -c:a aac " + extra + " \"" +
                           path + '"');
}

TEST(ConfigureReader, DescribesTheVideoAndTheSound) {
    test::TempDir dir;
    const std::string path = dir.file("match.mp4");
    ASSERT_TRUE(writeClipWithSound(path, 10));
    Opened source(path);
    ASSERT_TRUE(source.configured) << source.error;
    EXPECT_EQ(source.format.width, 64u);
    EXPECT_EQ(source.format.height, 48u);
    EXPECT_EQ(source.format.visibleWidth, 64u);
    EXPECT_EQ(source.format.fpsNum / source.format.fpsDen, 25u);
    EXPECT_GE(source.format.stride, 64);
    EXPECT_EQ(source.format.rotation, 0u);
    EXPECT_TRUE(source.hasAudio);
    EXPECT_EQ(source.audio.sampleRate, 48000u);
    EXPECT_EQ(source.audio.channels, 2u);
}

TEST(ConfigureReader, ReadsTheRotationThePlayerShouldApply) {
    test::TempDir dir;
    const std::string plain = dir.file("plain.mp4");
    const std::string path = dir.file("phone.mp4");
    ASSERT_TRUE(writeClipWithSound(plain, 3));
    // This ffmpeg stores the tag as a matrix that turns the picture a
    // quarter counter-clockwise (ffprobe: rotation=90), i.e. 270 clockwise.
    ASSERT_TRUE(test::runFfmpeg("-i \"" + plain + "\" -c copy -metadata:s:v:0 rotate=90 \"" + path + '"'));
    Opened source(path);
    ASSERT_TRUE(source.configured) << source.error;
    EXPECT_EQ(source.format.rotation, 270u);
    EXPECT_EQ(source.format.width, 64u);  // frames are not rotated
}

TEST(ConfigureReader, ReportsSoundInAnyRateForTheCallerToJudge) {
    test::TempDir dir;
    const std::string path = dir.file("low.mp4");
    ASSERT_TRUE(writeClipWithSound(path, 5, "22050"));
    Opened source(path);
    ASSERT_TRUE(source.configured);
    EXPECT_TRUE(source.hasAudio);
    EXPECT_EQ(source.audio.sampleRate, 22050u);
}

TEST(ConfigureReader, RefusesAFileWithoutVideo) {
    test::TempDir dir;
    const std::string path = dir.file("tone.m4a");
    ASSERT_TRUE(test::runFfmpeg("-f lavfi -i sine -t 1 -c:a aac \"" + path + '"'));
    Opened source(path);
    EXPECT_FALSE(source.configured);
    EXPECT_EQ(source.error, "This video's format cannot be decoded here (codec: none).");
}

TEST(SourceReader, DeliversNv12FramesAndPcmSoundWithRisingTimes) {
    test::TempDir dir;
    const std::string path = dir.file("match.mp4");
    ASSERT_TRUE(writeClipWithSound(path, 25));
    Opened source(path);
    ASSERT_TRUE(source.configured) << source.error;

    int videoFrames = 0, audioFrames = 0, ended = 0;
    std::int64_t lastVideo = -1, lastAudio = -1;
    MediaSample sample;
    ReadStatus status;
    while ((status = source.reader.read(sample)) != ReadStatus::Finished) {
        ASSERT_NE(status, ReadStatus::Failed);
        if (status == ReadStatus::StreamEnded) {
            ++ended;
            continue;
        }
        if (sample.stream == StreamKind::Video) {
            EXPECT_GT(sample.time, lastVideo);
            lastVideo = sample.time;
            EXPECT_EQ(sample.formatChanged, videoFrames == 0);
            ASSERT_EQ(sample.width, 64u);
            EXPECT_NEAR(sample.luma[sample.lumaPitch * 20 + 30], videoFrames * 4, 1);
            EXPECT_NEAR(sample.chroma[sample.chromaPitch * 10 + 31], 128, 1);
            ++videoFrames;
        } else {
            EXPECT_GT(sample.time, lastAudio);
            lastAudio = sample.time;
            audioFrames += sample.frames;
        }
    }
    EXPECT_EQ(ended, 2);
    EXPECT_EQ(videoFrames, 25);
    EXPECT_NEAR(audioFrames, 48000, 2048);
}

TEST(SourceReader, SeeksToTheKeyFrameAtOrBeforeATime) {
    test::TempDir dir;
    const std::string path = dir.file("match.mp4");
    ASSERT_TRUE(writeClipWithSound(path, 50));
    Opened source(path);
    ASSERT_TRUE(source.configured);
    source.reader.deselectAudio();
    ASSERT_TRUE(source.reader.seek(10'000'000));
    MediaSample sample;
    ASSERT_EQ(source.reader.read(sample), ReadStatus::Sample);
    EXPECT_EQ(sample.stream, StreamKind::Video);
    EXPECT_NEAR(double(sample.time), 10'000'000.0, 400'000.0);
    EXPECT_NEAR(sample.luma[0], 25 * 4, 1);
}

TEST(SourceReader, CountsTimeFromTheStartOfATransportStream) {
    // A transport stream's clock starts well above zero (1.4 s here).
    test::TempDir dir;
    const std::string path = dir.file("camera.ts");
    ASSERT_TRUE(writeClipWithSound(path, 50));
    Opened source(path);
    ASSERT_TRUE(source.configured) << source.error;
    source.reader.deselectAudio();
    MediaSample sample;
    ASSERT_EQ(source.reader.read(sample), ReadStatus::Sample);
    const std::int64_t firstFrame = sample.time;  // the sound may start a little earlier
    EXPECT_NEAR(double(firstFrame), 0.0, 400'000.0);
    ASSERT_TRUE(source.reader.seek(firstFrame + 10'000'000));
    ASSERT_EQ(source.reader.read(sample), ReadStatus::Sample);
    EXPECT_NEAR(sample.luma[0], 25 * 4, 1);
}

}  // namespace
}  // namespace rallinox::mf
