// When each analysed frame is shown in the video. Variable-frame-rate videos
// (phones record them) space their frames unevenly, so a frame's time comes
// from its timestamp, not from its number.
#pragma once

#include <cstdint>
#include <vector>

namespace rallinox {

class FrameTimes {
public:
    // `timesSec` holds one presentation time per analysed frame, in order
    // (kUnknownFrameTime where the file states none); `nominalFps` is the
    // analysis rate the video declares. Missing times, and times running
    // backwards, are continued from the frame before at the typical rate.
    FrameTimes(std::vector<double> timesSec, double nominalFps);

    // Time of analysed frame `frame`; frames after the last one continue at
    // the typical rate, frames before the first are at 0.
    double secondsAt(int64_t frame) const;

    // Where reading stopped: the end of the last frame.
    double endSec() const { return secondsAt(static_cast<int64_t>(times_.size())); }

    // Analysed frames per second over most of the video (from the median
    // frame spacing): the nominal rate unless the timestamps show another.
    double typicalFps() const { return typicalFps_; }

private:
    std::vector<double> times_;
    double typicalFps_ = 0;
};

}  // namespace rallinox
