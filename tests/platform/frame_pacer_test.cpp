// When the window draws: after input and a worker's wake-up, a few settling
// frames more, every frame while something moves, at the time asked for, and
// never else.
#include "platform/frame_pacer.h"

#include <gtest/gtest.h>

namespace rallinox {
namespace {

// Draws as the frame loop does until the pacer lets it sleep; the frames drawn.
int framesUntilIdle(FramePacer& pacer, bool eventsRead, double now) {
    int frames = 0;
    for (bool draw = pacer.shouldDraw(eventsRead, now); draw; draw = pacer.shouldDraw(false, now)) {
        ++frames;
        pacer.afterFrame(false, FramePacer::kNever);
        if (frames > 100) break;
    }
    return frames;
}

TEST(FramePacer, AnEventDrawsItsFrameAndAFewToSettleThenTheLoopSleeps) {
    FramePacer pacer;
    EXPECT_EQ(framesUntilIdle(pacer, true, 10.0), 1 + FramePacer::kSettleFrames);
    EXPECT_EQ(pacer.waitMs(10.0), FramePacer::kLongestWaitMs);
    EXPECT_FALSE(pacer.shouldDraw(false, 11.0));
    // The next event starts it over.
    EXPECT_EQ(framesUntilIdle(pacer, true, 12.0), 1 + FramePacer::kSettleFrames);
}

TEST(FramePacer, SomethingMovingDrawsEveryFrameWithoutWaiting) {
    FramePacer pacer;
    framesUntilIdle(pacer, true, 0.0);
    pacer.afterFrame(true, FramePacer::kNever);
    for (int frame = 0; frame < 10; ++frame) {
        EXPECT_EQ(pacer.waitMs(1.0), 0);
        EXPECT_TRUE(pacer.shouldDraw(false, 1.0));
    }
    // Stopped: the settling frames are already drawn.
    pacer.afterFrame(false, FramePacer::kNever);
    EXPECT_FALSE(pacer.shouldDraw(false, 2.0));
}

TEST(FramePacer, ATimeAskedForIsWaitedForThenDrawn) {
    FramePacer pacer;
    framesUntilIdle(pacer, true, 0.0);
    pacer.afterFrame(false, 5.25);
    EXPECT_EQ(pacer.waitMs(5.0), 250);
    EXPECT_FALSE(pacer.shouldDraw(false, 5.0));
    EXPECT_TRUE(pacer.shouldDraw(false, 5.25));
}

TEST(FramePacer, WaitsAreNeverNegativeNorEndless) {
    FramePacer pacer;
    framesUntilIdle(pacer, true, 0.0);
    pacer.afterFrame(false, 4.0);
    EXPECT_EQ(pacer.waitMs(5.0), 0);
    pacer.afterFrame(false, 500.0);
    EXPECT_EQ(pacer.waitMs(5.0), FramePacer::kLongestWaitMs);
}

}  // namespace
}  // namespace rallinox
