// The window draws only when something changes. A worker thread that has
// something new to show (a decoded picture, a card's thumbnail, a dialog's
// answer) wakes it; without a window this does nothing.
#pragma once

namespace rallinox {

// Safe from any thread.
void wakeFrameLoop();

// The window's back end says how to wake it; null while there is no window.
using FrameWaker = void (*)();
void setFrameWaker(FrameWaker waker);

}  // namespace rallinox
