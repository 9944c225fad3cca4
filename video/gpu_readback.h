#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <functional>
#include <memory>

namespace rallinox {

// Receives one decoded frame in memory (its planes may be a mapping of the
// hardware surface, valid only during the call).
using FrameCallback = std::function<void(const AVFrame&)>;

// Copies frames decoded by a hardware decoder back to memory. Only the luma
// plane is read, and a few copies are kept pending so that reading frame n
// overlaps decoding of the frames after it: frames come out in order, a few
// frames after they were submitted.
class GpuReadback {
public:
    virtual ~GpuReadback() = default;

    // Queues a decoded hardware frame; may deliver the oldest pending one.
    // False when a copy fails, which ends decoding.
    virtual bool submit(const AVFrame& frame, const FrameCallback& deliver) = 0;

    // Delivers every pending frame in submission order; a frame that cannot
    // be read back is skipped.
    virtual void flush(const FrameCallback& deliver) = 0;
};

// Sets `codec` up for VAAPI decoding when the machine has a render node and
// the decoder supports it. Returns the matching read-back, or nothing (the
// codec context is then left for software decoding).
std::unique_ptr<GpuReadback> attachVaapi(AVCodecContext& codec);

}  // namespace rallinox
