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

bool FrameSource::pop(cv::Mat& image) {
    if (openCv_) return openCv_->pop(image);
    return kind_ != 0 && reader_.pop(image);
}

void FrameSource::stop() {
    reader_.stop();
    openCv_.reset();
    kind_ = 0;
}

}  // namespace rallinox
