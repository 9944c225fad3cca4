#pragma once

#include "video/frame_queue.h"
#include "video/gpu_readback.h"
#include "video/media_decoder.h"

#include <cstdint>

namespace rallinox {

struct DecodeRequest {
    int width = 0;   // analysis size; 0 keeps the picture's own size
    int height = 0;
    int step = 1;    // keep every step-th frame
    // Frames earlier than this (100-ns units) are skipped and not counted.
    std::int64_t startTime = 0;
    // Media time (100-ns units) that queued frame times count from.
    std::int64_t timeOrigin = 0;
};

// Decodes the video stream of `decoder` to its end, starting with the
// already decoded `frame`, and queues every kept frame as a grey image of
// the requested size, with its presentation time. The picture is the frame's visible area with even
// width and height; a later frame smaller than that ends the stream, as
// does a decoding error or a stop request on the queue.
void decodeLoop(MediaDecoder& decoder, AVFrame& frame, GpuReadback* readback,
                const DecodeRequest& request, FrameQueue& queue);

}  // namespace rallinox
