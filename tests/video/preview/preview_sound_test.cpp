#include "video/preview_sound.h"

#include "tests/support/temp_dir.h"
#include "tests/support/test_videos.h"
#include "tests/video/preview/preview_media.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

namespace rallinox {
namespace {

using namespace std::chrono_literals;

// Machines without sound hardware still have SDL's dummy device, which
// takes the samples at the speed a real one would.
class PreviewSoundTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
    void TearDown() override { unsetenv("SDL_AUDIODRIVER"); }

    // Media seconds per wall-clock second of sound played from 0.5 s. A
    // busy machine can starve the device and only ever slows the track, so
    // the faster of two tries is the truer one.
    double playbackSpeed(std::chrono::milliseconds span) {
        const double first = oneTry(span);
        return std::max(first, oneTry(span));
    }

    double oneTry(std::chrono::milliseconds span) {
        sound.play(0.5);
        if (!test::eventually([&] { return sound.position() > 0.55; })) return 0.0;
        const double from = sound.position();
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(span);
        const double advanced = sound.position() - from;
        const double elapsed = test::secondsSince(start);
        sound.pause();
        return advanced / elapsed;
    }

    test::TempDir dir;
    PreviewSound sound;
};

TEST_F(PreviewSoundTest, FileWithoutSoundTrackIsRefused) {
    const std::string path = dir.file("silent.mp4");
    ASSERT_TRUE(test::writeTestVideo(path, {160, 120, 25, 1.0, 0}));
    EXPECT_FALSE(sound.open(path));
    EXPECT_FALSE(sound.isOpen());
    EXPECT_FALSE(sound.deviceMissing()) << "nothing to play is no missing device";
    sound.play(0.0);  // harmless on a closed sound
    EXPECT_EQ(sound.position(), 0.0);
}

// The editor tells the user when the sound cannot be played at all.
TEST_F(PreviewSoundTest, ATrackWithoutADeviceIsToldApart) {
    const std::string path = dir.file("match.mp4");
    ASSERT_TRUE(test::writeTestVideo(path, {160, 120, 25, 1.0, 48000}));
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(sound.open(path));
    EXPECT_TRUE(sound.deviceMissing());
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_TRUE(sound.open(path));
    EXPECT_FALSE(sound.deviceMissing());
}

TEST_F(PreviewSoundTest, TheDevicePlaysTheTrackFromWhereItStarts) {
    const std::string path = dir.file("clip.mp4");
    ASSERT_TRUE(test::writeTestVideo(path, {160, 120, 25, 6.0, 44100}));
    ASSERT_TRUE(sound.open(path));
    sound.seek(2.5);
    ASSERT_TRUE(test::eventually([&] { return std::abs(sound.position() - 2.5) < 0.01; }));
    EXPECT_EQ(sound.position(), 2.5);  // nothing is taken while paused

    sound.play(1.0);
    ASSERT_TRUE(test::eventually([&] { return sound.position() > 1.3; }));
    EXPECT_LT(sound.position(), 2.5);
    sound.pause();
    const double paused = sound.position();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(sound.position(), paused);

    // Muted sound keeps its time.
    sound.setMuted(true);
    sound.play(paused);
    ASSERT_TRUE(test::eventually([&] { return sound.position() > paused + 0.3; }));
}

TEST_F(PreviewSoundTest, DoubleSpeedTakesTheTrackTwiceAsFast) {
    const std::string path = dir.file("clip.mp4");
    ASSERT_TRUE(test::writeTestVideo(path, {160, 120, 25, 8.0, 44100}));
    ASSERT_TRUE(sound.open(path));
    const double normal = playbackSpeed(800ms);
    sound.setRate(2.0);
    const double fast = playbackSpeed(800ms);
    ASSERT_GT(normal, 0.0);
    EXPECT_NEAR(fast / normal, 2.0, 0.4);
}

TEST_F(PreviewSoundTest, PlayingPastTheEndStopsTakingSamples) {
    const std::string path = dir.file("clip.mp4");
    ASSERT_TRUE(test::writeTestVideo(path, {160, 120, 25, 1.0, 44100}));
    ASSERT_TRUE(sound.open(path));
    sound.play(0.6);
    ASSERT_TRUE(test::eventually([&] { return sound.position() > 0.99; }));
    EXPECT_LT(sound.position(), 1.1);
    sound.close();
    EXPECT_FALSE(sound.isOpen());
}

}  // namespace
}  // namespace rallinox
