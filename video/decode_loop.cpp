#include "video/decode_loop.h"

#include "video/luma_plane.h"
#include "video/media_time.h"

#include <opencv2/imgproc.hpp>

namespace rallinox {

void decodeLoop(MediaDecoder& decoder, AVFrame& frame, GpuReadback* readback,
                const DecodeRequest& request, FrameQueue& queue) {
    const AVStream& stream = *decoder.videoStream();
    const int visibleWidth = frame.width & ~1;
    const int visibleHeight = frame.height & ~1;
    const bool scaled = request.width > 0 && request.height > 0;
    const cv::Size outputSize = scaled ? cv::Size(request.width, request.height)
                                       : cv::Size(visibleWidth, visibleHeight);
    LumaPlane luma;

    const FrameCallback deliver = [&](const AVFrame& decoded) {
        const cv::Mat plane = luma.of(decoded);
        if (plane.cols < visibleWidth || plane.rows < visibleHeight) return;
        const cv::Mat visible = plane(cv::Rect(0, 0, visibleWidth, visibleHeight));
        cv::Mat image;
        if (visible.size() == outputSize)
            image = visible.clone();
        else
            cv::resize(visible, image, outputSize, 0, 0, cv::INTER_LINEAR);
        const std::int64_t time = decoder.frameTime(decoded, stream);
        queue.push(std::move(image),
                   time == AV_NOPTS_VALUE ? kUnknownFrameTime : secondsFromTicks(time - request.timeOrigin));
    };

    std::int64_t counted = 0;
    AVMediaType type = AVMEDIA_TYPE_VIDEO;
    do {
        if (queue.stopping() || frame.width < visibleWidth || frame.height < visibleHeight) break;
        const std::int64_t time = decoder.frameTime(frame, stream);
        const bool afterStart = time == AV_NOPTS_VALUE || time >= request.startTime;
        if (afterStart && counted++ % request.step == 0) {
            if (readback && frame.hw_frames_ctx) {
                if (!readback->submit(frame, deliver)) break;
            } else {
                if (readback) readback->flush(deliver);  // keeps the frames in order
                deliver(frame);
            }
        }
        av_frame_unref(&frame);
    } while (decoder.next(frame, type) == MediaEvent::Frame);
    av_frame_unref(&frame);
    if (readback && !queue.stopping()) readback->flush(deliver);
}

}  // namespace rallinox
