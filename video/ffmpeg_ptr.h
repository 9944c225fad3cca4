#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/buffer.h>
#include <libavutil/frame.h>
}

#include <memory>

namespace rallinox {

// Owning handles for the FFmpeg objects that have their own free functions.
struct AvFrameFree {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct AvPacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct AvCodecContextFree {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct AvBufferUnref {
    void operator()(AVBufferRef* buffer) const { av_buffer_unref(&buffer); }
};

using AvFramePtr = std::unique_ptr<AVFrame, AvFrameFree>;
using AvPacketPtr = std::unique_ptr<AVPacket, AvPacketFree>;
using AvCodecContextPtr = std::unique_ptr<AVCodecContext, AvCodecContextFree>;
using AvBufferPtr = std::unique_ptr<AVBufferRef, AvBufferUnref>;

inline AvFramePtr makeFrame() { return AvFramePtr(av_frame_alloc()); }
inline AvPacketPtr makePacket() { return AvPacketPtr(av_packet_alloc()); }

}  // namespace rallinox
