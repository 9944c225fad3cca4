#pragma once

extern "C" {
#include <libavutil/frame.h>
}

#include <opencv2/core.hpp>

struct SwsContext;

namespace rallinox {

// The 8-bit luma of decoded frames: a view straight into the decoder's
// buffer when the frame has an 8-bit luma plane (the common YUV and NV12
// formats), the top bits of a deeper luma plane, else a grey conversion.
class LumaPlane {
public:
    LumaPlane() = default;
    ~LumaPlane();
    LumaPlane(const LumaPlane&) = delete;
    LumaPlane& operator=(const LumaPlane&) = delete;

    // Valid until the frame is released or the next call.
    cv::Mat of(const AVFrame& frame);

private:
    SwsContext* converter_ = nullptr;
    cv::Mat converted_;
};

}  // namespace rallinox
