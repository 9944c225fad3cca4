#include "platform/frame_wake.h"

#include <atomic>

namespace rallinox {

namespace {

std::atomic<FrameWaker> installedWaker{nullptr};

}  // namespace

void wakeFrameLoop() {
    if (const FrameWaker waker = installedWaker.load()) waker();
}

void setFrameWaker(FrameWaker waker) { installedWaker.store(waker); }

}  // namespace rallinox
