#include "video/frame_source.h"

#include "video/probe.h"

namespace rallinox {

const char* decoderName(DecoderKind kind) {
    switch (kind) {
    case DecoderKind::Gpu: return "GPU";
    case DecoderKind::Software: return "software";
    case DecoderKind::OpenCv: return "OpenCV";
    case DecoderKind::None: break;
    }
    return "";
}

FrameSource::~FrameSource() { stop(); }

bool FrameSource::open(const std::string& path, int width, int height, int step) {
    stop();
    if (reader_.start(path, width, height, step)) {
        kind_ = reader_.hardware() ? DecoderKind::Gpu : DecoderKind::Software;
        return true;
    }
    auto openCv = std::make_unique<OpenCvFrameSource>();
    if (!openCv->start(openCvPath(path), width, height, step)) return false;
    openCv_ = std::move(openCv);
    kind_ = DecoderKind::OpenCv;
    return true;
}

bool FrameSource::pop(TimedFrame& frame) {
    if (openCv_) return openCv_->pop(frame);
    return kind_ != DecoderKind::None && reader_.pop(frame);
}

bool FrameSource::pop(cv::Mat& image) {
    TimedFrame frame;
    if (!pop(frame)) return false;
    image = std::move(frame.image);
    return true;
}

void FrameSource::stop() {
    reader_.stop();
    openCv_.reset();
    kind_ = DecoderKind::None;
}

}  // namespace rallinox
