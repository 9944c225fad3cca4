#include "video/preview_player.h"

#include "app/core/log.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_videos.h"
#include "tests/video/preview/preview_media.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

namespace rallinox {
namespace {

using namespace std::chrono_literals;

// Waits for the next picture the player hands out.
PreviewFrame nextFrame(PreviewPlayer& player) {
    PreviewFrame frame;
    EXPECT_TRUE(test::eventually([&] { return player.takeFrame(frame); }));
    return frame;
}

// Media seconds per wall-clock second while playing for about `span`.
double playbackSpeed(PreviewPlayer& player, std::chrono::milliseconds span) {
    player.seek(0.0);
    EXPECT_TRUE(test::eventually([&] { return player.position() == 0.0; }));
    nextFrame(player);  // the seek has been carried out
    const auto start = std::chrono::steady_clock::now();
    player.play();
    std::this_thread::sleep_for(span);
    const double advanced = player.position();
    const double elapsed = test::secondsSince(start);
    player.pause();
    return advanced / elapsed;
}

class PreviewPlayerTest : public ::testing::Test {
protected:
    test::TempDir dir;
    PreviewPlayer player;
};

TEST_F(PreviewPlayerTest, OpensWithTheDurationAndShowsTheFirstFrame) {
    const std::string path = dir.file("numbered.mp4");
    ASSERT_TRUE(test::writeNumberedClip(path, 20, 60));
    ASSERT_TRUE(player.open(path));
    EXPECT_TRUE(player.isOpen());
    EXPECT_FALSE(player.playing());
    const PreviewFrame first = nextFrame(player);
    EXPECT_NEAR(player.duration(), 3.0, 1e-9);
    EXPECT_FALSE(player.openFailed());
    ASSERT_EQ(first.width, 64);
    ASSERT_EQ(first.height, 48);
    EXPECT_EQ(first.rgba.size(), 64u * 48u * 4u);
    EXPECT_EQ(test::shownFrameNumber(first.rgba.data()), 0);
    EXPECT_EQ(first.rgba[3], 255);
    EXPECT_EQ(player.position(), 0.0);
}

TEST_F(PreviewPlayerTest, SeekShowsTheFrameAtThatTime) {
    const std::string path = dir.file("numbered.mp4");
    ASSERT_TRUE(test::writeNumberedClip(path, 20, 60));
    ASSERT_TRUE(player.open(path));
    nextFrame(player);
    player.seek(2.0);
    EXPECT_EQ(player.position(), 2.0);
    const PreviewFrame shown = nextFrame(player);
    ASSERT_EQ(shown.width, 64);
    EXPECT_NEAR(test::shownFrameNumber(shown.rgba.data()), 40, 1);
    EXPECT_NEAR(player.position(), 2.0, 0.051);
}

TEST_F(PreviewPlayerTest, SeeksShowTheExactFrameWhereverTheyLandInAGroupOfBFrames) {
    // A key frame every second and, in each run of three B-frames, two that
    // no other frame refers to: a jump decodes forward from the key frame
    // and may pass over those, never over the frame it lands on.
    const std::string path = dir.file("groups.mp4");
    ASSERT_TRUE(test::writeNumberedClip(path, 25, 70,
                                        "-qp 10 -bf 3 -g 25 -keyint_min 25 -sc_threshold 0 "
                                        "-x264-params b-adapt=0:b-pyramid=normal"));
    ASSERT_TRUE(player.open(path));
    nextFrame(player);
    for (const int frame : {13, 1, 2, 3, 24, 25, 26, 49, 50, 51, 66, 0, 37}) {
        player.seek(frame / 25.0);
        const PreviewFrame shown = nextFrame(player);
        EXPECT_EQ(test::shownFrameNumber(shown.rgba.data()), frame);
        EXPECT_NEAR(player.position(), frame / 25.0, 1e-6) << "frame " << frame;
    }
}

TEST_F(PreviewPlayerTest, SeekStaysInsideTheVideo) {
    const std::string path = dir.file("numbered.mp4");
    ASSERT_TRUE(test::writeNumberedClip(path, 20, 60));
    ASSERT_TRUE(player.open(path));
    nextFrame(player);

    player.seek(100.0);
    EXPECT_DOUBLE_EQ(player.position(), 3.0 - 0.05);
    const PreviewFrame last = nextFrame(player);
    EXPECT_NEAR(test::shownFrameNumber(last.rgba.data()), 59, 1);

    player.seek(-4.0);
    EXPECT_EQ(player.position(), 0.0);
    EXPECT_EQ(test::shownFrameNumber(nextFrame(player).rgba.data()), 0);
}

TEST_F(PreviewPlayerTest, WideVideosArriveScaledTo1280Wide) {
    const std::string path = dir.file("wide.mp4");
    ASSERT_TRUE(test::writeTestVideo(path, {3840, 240, 25, 1.0, 0}));
    ASSERT_TRUE(player.open(path));
    const PreviewFrame first = nextFrame(player);
    EXPECT_EQ(first.width, 1280);
    EXPECT_EQ(first.height, 80);
    player.play();
    const PreviewFrame played = nextFrame(player);
    EXPECT_EQ(played.width, 1280);
    EXPECT_EQ(played.height, 80);
}

TEST_F(PreviewPlayerTest, TurnedVideosArriveTurned) {
    // Stored 64 x 48 with its left half light, with a display matrix that
    // turns it a quarter counter-clockwise (this ffmpeg's reading of the tag
    // rotate=90), as phones mark upright videos: the light half is below.
    const std::string plain = dir.file("plain.mp4");
    const std::string path = dir.file("upright.mp4");
    ASSERT_TRUE(test::runFfmpeg("-f lavfi -i \"nullsrc=s=64x48:r=10,format=yuv420p,geq=lum='if(lt(X,32),235,16)':"
                                "cb=128:cr=128\" -frames:v 10 -c:v libx264 -qp 0 \"" + plain + '"'));
    ASSERT_TRUE(test::runFfmpeg("-i \"" + plain + "\" -c copy -metadata:s:v:0 rotate=90 \"" + path + '"'));
    ASSERT_TRUE(player.open(path));
    const PreviewFrame first = nextFrame(player);
    ASSERT_EQ(first.width, 48);
    ASSERT_EQ(first.height, 64);
    const auto grey = [&](int x, int y) { return int(first.rgba[(size_t(y) * 48 + size_t(x)) * 4]); };
    EXPECT_LT(grey(24, 4), 50);
    EXPECT_GT(grey(24, 60), 200);
}

TEST_F(PreviewPlayerTest, PlayingReachesTheEndAndStops) {
    const std::string path = dir.file("clip.mp4");
    ASSERT_TRUE(test::writeTestVideo(path, {160, 120, 25, 1.0, 44100}));
    ASSERT_TRUE(player.open(path));
    player.play();
    EXPECT_TRUE(player.playing());
    ASSERT_TRUE(test::eventually([&] { return !player.playing(); }));
    EXPECT_GT(player.position(), player.duration() - 0.1);
    // Playing again from a seek starts over.
    player.seek(0.0);
    player.play();
    ASSERT_TRUE(test::eventually([&] { return !player.playing(); }));
    EXPECT_GT(player.position(), player.duration() - 0.1);
}

TEST_F(PreviewPlayerTest, DoubleSpeedPlaysTwiceAsFast) {
    const std::string path = dir.file("clip.mp4");
    ASSERT_TRUE(test::writeTestVideo(path, {160, 120, 25, 12.0, 44100}));
    ASSERT_TRUE(player.open(path));
    // The first picture: the sound opens after it, before the next seek is served.
    nextFrame(player);
    const double normal = playbackSpeed(player, 1500ms);
    player.setRate(2.0);
    EXPECT_EQ(player.rate(), 2.0);
    const double fast = playbackSpeed(player, 1500ms);
    ASSERT_GT(normal, 0.0);
    EXPECT_NEAR(fast / normal, 2.0, 0.4);
}

TEST_F(PreviewPlayerTest, PlayingOnAfterAPauseShowsTheFollowingFrames) {
    const std::string path = dir.file("clip.mp4");
    ASSERT_TRUE(test::writeTestVideo(path, {160, 120, 25, 10.0, 44100}));
    ASSERT_TRUE(player.open(path));
    player.play();
    ASSERT_TRUE(test::eventually([&] { return player.position() > 0.3; }));
    player.pause();
    EXPECT_FALSE(player.playing());
    std::this_thread::sleep_for(700ms);
    const double paused = player.position();
    PreviewFrame frame;
    player.takeFrame(frame);
    EXPECT_FALSE(player.takeFrame(frame)) << "nothing new while paused";

    // The picture goes on from where it stopped, not from where the time
    // spent paused would have taken it.
    player.play();
    nextFrame(player);
    EXPECT_LT(player.position(), paused + 0.3);
    ASSERT_TRUE(test::eventually([&] { return !player.playing() || player.position() > paused + 0.3; }));
    EXPECT_TRUE(player.playing());
}

TEST_F(PreviewPlayerTest, ClosingWhilePlayingEndsTheDecoding) {
    const std::string path = dir.file("clip.mp4");
    ASSERT_TRUE(test::writeTestVideo(path, {160, 120, 25, 10.0, 44100}));
    ASSERT_TRUE(player.open(path));
    player.play();
    ASSERT_TRUE(test::eventually([&] { return player.position() > 0.2; }));
    player.close();
    EXPECT_FALSE(player.isOpen());
    EXPECT_FALSE(player.playing());
    EXPECT_EQ(player.duration(), 0.0);
    PreviewFrame frame;
    EXPECT_FALSE(player.takeFrame(frame));

    // The player can open the next video at once.
    ASSERT_TRUE(player.open(path));
    EXPECT_EQ(nextFrame(player).width, 160);
}

TEST_F(PreviewPlayerTest, VideoWithoutSoundPlaysSilently) {
    const std::string path = dir.file("silent.mp4");
    ASSERT_TRUE(test::writeTestVideo(path, {160, 120, 25, 1.0, 0}));
    ASSERT_TRUE(player.open(path));
    player.setMuted(true);
    player.play();
    ASSERT_TRUE(test::eventually([&] { return !player.playing(); }));
    EXPECT_GT(player.position(), 0.8);
    EXPECT_FALSE(player.soundDeviceMissing()) << "no sound to play is no missing device";
}

TEST_F(PreviewPlayerTest, WithoutASoundDeviceThePreviewPlaysAndTheLogSaysWhy) {
    const std::string path = dir.file("clip.mp4");
    ASSERT_TRUE(test::writeTestVideo(path, {160, 120, 25, 1.0, 44100}));
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const auto logFile = dir / "rallinox.log";
    openLog(logFile);
    const bool opened = player.open(path);
    // The sound is opened on the decoding thread after the first picture.
    const bool logged = test::eventually(
        [&] { return test::readFile(logFile).find("preview sound unavailable") != std::string::npos; });
    closeLog();
    unsetenv("SDL_AUDIODRIVER");
    ASSERT_TRUE(opened);
    EXPECT_TRUE(logged);
    EXPECT_NE(test::readFile(logFile).find("[error] preview sound unavailable (media engine)"), std::string::npos)
        << test::readFile(logFile);
    // The editor's Sound box says so.
    EXPECT_TRUE(test::eventually([&] { return player.soundDeviceMissing(); }));
    player.play();
    ASSERT_TRUE(test::eventually([&] { return !player.playing(); }));
    EXPECT_GT(player.position(), 0.8);
}

TEST_F(PreviewPlayerTest, FilesThatAreNoVideoAreRefused) {
    EXPECT_FALSE(player.open(dir.file("missing.mp4")));
    EXPECT_FALSE(player.open(dir.path().string()));
    EXPECT_FALSE(player.isOpen());
    player.play();
    player.seek(3.0);
    EXPECT_FALSE(player.playing());
    EXPECT_EQ(player.position(), 0.0);

    // A file is only read on the decoding thread: it says so there.
    const std::string notVideo = dir.file("notes.mp4");
    test::writeFile(notVideo, "not a video");
    ASSERT_TRUE(player.open(notVideo));
    ASSERT_TRUE(test::eventually([&] { return player.openFailed(); }));
    player.play();
    PreviewFrame frame;
    EXPECT_FALSE(player.takeFrame(frame));
    EXPECT_EQ(player.duration(), 0.0);
    player.close();
    EXPECT_FALSE(player.openFailed());
}

TEST_F(PreviewPlayerTest, PlayingAndClosingWhileTheVideoIsStillOpening) {
    const std::string path = dir.file("clip.mp4");
    ASSERT_TRUE(test::writeTestVideo(path, {160, 120, 25, 1.0, 44100}));
    // A sound device that opens at once: a slow one would be let go by close.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // Closed at once, over and over: no picture leaks into the next video.
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(player.open(path));
        player.close();
    }
    // Played before the first picture: the play holds once the video is read.
    ASSERT_TRUE(player.open(path));
    player.setMuted(true);
    player.play();
    ASSERT_TRUE(test::eventually([&] { return player.position() > 0.0; }))
        << "duration " << player.duration() << ", playing " << player.playing() << ", failed " << player.openFailed();
    ASSERT_TRUE(test::eventually([&] { return !player.playing(); }));
    EXPECT_NEAR(player.duration(), 1.0, 0.05);
    unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
}  // namespace rallinox
