#include "video/opencv_frame_source.h"

#include <cmath>

namespace rallinox {

OpenCvFrameSource::~OpenCvFrameSource() { stop(); }

bool OpenCvFrameSource::start(const std::string& path, int width, int height, int step) {
    stop();
    if (!capture_.open(path, cv::CAP_ANY)) return false;
    if (width > 0 && height > 0) {
        // A hint only: most back ends deliver their own size.
        capture_.set(cv::CAP_PROP_FRAME_WIDTH, width);
        capture_.set(cv::CAP_PROP_FRAME_HEIGHT, height);
    }
    capture_.set(cv::CAP_PROP_CONVERT_RGB, 0);
    queue_.reset();
    thread_ = std::thread(&OpenCvFrameSource::run, this, step > 0 ? step : 1);
    return true;
}

bool OpenCvFrameSource::pop(TimedFrame& frame) { return queue_.pop(frame); }

void OpenCvFrameSource::stop() {
    queue_.stop();
    if (thread_.joinable()) thread_.join();
    capture_.release();
    queue_.clear();
}

void OpenCvFrameSource::run(int step) {
    cv::Mat frame;
    for (long counter = 0; !queue_.stopping(); ++counter) {
        if (counter % step != 0) {
            if (!capture_.grab()) break;
            continue;
        }
        if (!capture_.read(frame) || frame.empty()) break;
        const double positionMs = capture_.get(cv::CAP_PROP_POS_MSEC);
        const double timeSec = std::isfinite(positionMs) && positionMs >= 0 ? positionMs / 1000.0 : kUnknownFrameTime;
        if (!queue_.push(frame.clone(), timeSec)) break;
    }
    queue_.finish();
}

}  // namespace rallinox
