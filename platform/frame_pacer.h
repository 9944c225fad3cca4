// When the window draws: at once for input and for a worker's wake-up, a few
// frames more so that the GUI library's hover and popup state settles, every
// frame while something moves, and at a time asked for (a job's progress, a
// toast that ends). Otherwise the loop sleeps until an event comes.
#pragma once

#include <limits>

namespace rallinox {

class FramePacer {
public:
    // Frames drawn after the one an event caused.
    static constexpr int kSettleFrames = 2;
    // The loop looks up at least this often, even with nothing to draw.
    static constexpr int kLongestWaitMs = 1000;
    static constexpr double kNever = std::numeric_limits<double>::infinity();

    // How long the loop may wait for an event now (times in seconds).
    int waitMs(double now) const;
    // After the events were read: whether to draw a frame now.
    bool shouldDraw(bool eventsRead, double now);
    // After a frame was drawn: whether something moves (then every frame is
    // drawn) and by when the next frame is due without any event.
    void afterFrame(bool moving, double nextFrameAt);

private:
    int settleFramesLeft_ = kSettleFrames;
    bool moving_ = false;
    double nextFrameAt_ = kNever;
};

}  // namespace rallinox
