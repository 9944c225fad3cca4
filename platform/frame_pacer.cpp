#include "platform/frame_pacer.h"

#include <algorithm>
#include <cmath>

namespace rallinox {

int FramePacer::waitMs(double now) const {
    if (moving_ || settleFramesLeft_ > 0) return 0;
    const double waitSec = std::max(nextFrameAt_ - now, 0.0);
    return static_cast<int>(std::min(std::ceil(waitSec * 1000.0), static_cast<double>(kLongestWaitMs)));
}

bool FramePacer::shouldDraw(bool eventsRead, double now) {
    if (eventsRead || now >= nextFrameAt_) {
        settleFramesLeft_ = kSettleFrames;
        return true;
    }
    if (moving_) return true;
    if (settleFramesLeft_ == 0) return false;
    --settleFramesLeft_;
    return true;
}

void FramePacer::afterFrame(bool moving, double nextFrameAt) {
    moving_ = moving;
    nextFrameAt_ = nextFrameAt;
}

}  // namespace rallinox
