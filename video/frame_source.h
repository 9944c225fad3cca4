#pragma once

#include "video/decoder_kind.h"
#include "video/frame_reader.h"
#include "video/opencv_frame_source.h"

#include <opencv2/core.hpp>

#include <memory>
#include <string>

namespace rallinox {

// The frames the analysis reads: FFmpeg first, OpenCV when FFmpeg cannot
// open or decode the video.
class FrameSource {
public:
    FrameSource() = default;
    ~FrameSource();
    FrameSource(const FrameSource&) = delete;
    FrameSource& operator=(const FrameSource&) = delete;

    // Starts reading every `step`-th frame of `path`, scaled to
    // `width` x `height` where the decoder allows. Returns false when no
    // decoder can read the video.
    bool open(const std::string& path, int width, int height, int step);

    // The decoder in use after a successful `open`, None before.
    DecoderKind decoderKind() const { return kind_; }

    // Next frame: 8-bit grey from FFmpeg; from OpenCV whatever its back end
    // delivers (grey or BGR, possibly full size). Its time is the frame's
    // presentation time in the video (kUnknownFrameTime when the file
    // states none). False at the end.
    bool pop(TimedFrame& frame);
    bool pop(cv::Mat& image);

    // Ends reading and joins the decoding thread. Also run on destruction.
    void stop();

private:
    MfFrameReader reader_;
    std::unique_ptr<OpenCvFrameSource> openCv_;
    DecoderKind kind_ = DecoderKind::None;
};

}  // namespace rallinox
