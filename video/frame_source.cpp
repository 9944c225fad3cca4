#include "video/frame_source.h"

#include "video/probe.h"

namespace rallinox {

const char* decoderName(int kind) {
    switch (kind) {
    case kDecoderGpu: return "GPU";
    case kDecoderSoftware: return "software";
    case kDecoderOpenCv: return "OpenCV";
    default: return "";
    }
}

FrameSource::~FrameSource() { stop(); }

bool FrameSource::open(const std::string& path, int width, int height, int step) {
    stop();
    if (reader_.start(path, width, height, step)) {
        kind_ = reader_.hardware() ? kDecoderGpu : kDecoderSoftware;
        return true;
    }
    auto openCv = std::make_unique<OpenCvFrameSource>();
    if (!openCv->start(openCvPath(path), width, height, step)) return false;
    openCv_ = std::move(openCv);
    kind_ = kDecoderOpenCv;
    return true;
}

bool FrameSource::pop(TimedFrame& frame) {
    if (openCv_) return openCv_->pop(frame);
    return kind_ != 0 && reader_.pop(frame);
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
    kind_ = 0;
}

}  // namespace rallinox
