#pragma once

#include "video/frame_queue.h"

#include <opencv2/core.hpp>
#include <opencv2/videoio.hpp>

#include <string>
#include <thread>

namespace rallinox {

// Fallback frame source for videos FFmpeg cannot read: OpenCV's own capture
// back ends on a reading thread. Frames keep the size and colour layout the
// back end delivers.
class OpenCvFrameSource {
public:
    OpenCvFrameSource() = default;
    ~OpenCvFrameSource();
    OpenCvFrameSource(const OpenCvFrameSource&) = delete;
    OpenCvFrameSource& operator=(const OpenCvFrameSource&) = delete;

    // Opens `path` (already in OpenCV's form) and starts reading every
    // `step`-th frame. Returns false when OpenCV cannot open it.
    bool start(const std::string& path, int width, int height, int step);

    // Frames carry the back end's position in the video as their time.
    bool pop(TimedFrame& frame);

    // Ends reading, joins the thread, releases the capture and drops queued
    // frames.
    void stop();

private:
    void run(int step);

    cv::VideoCapture capture_;
    std::thread thread_;
    FrameQueue queue_{64};
};

}  // namespace rallinox
