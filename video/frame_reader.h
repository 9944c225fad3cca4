#pragma once

#include "video/frame_queue.h"

#include <opencv2/core.hpp>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace rallinox {

// Decodes a video with FFmpeg on a thread of its own and delivers every
// `step`-th frame, counted from the first frame at or after the MP4 edit-list
// start, as an 8-bit grey image of the analysis size, in order.
class MfFrameReader {
public:
    MfFrameReader() = default;
    ~MfFrameReader();
    MfFrameReader(const MfFrameReader&) = delete;
    MfFrameReader& operator=(const MfFrameReader&) = delete;

    // Opens `path` (UTF-8) and starts decoding. Every delivered frame is
    // the visible picture (even width and height) scaled to `width` x
    // `height`, or unscaled when either is 0; `step` <= 0 is taken as 1.
    // Returns false when FFmpeg cannot open the video or decode its first
    // frame; the reader is then idle.
    bool start(const std::string& path, int width, int height, int step);

    // Ends decoding, joins the thread and drops queued frames. Safe to call
    // at any time, also when idle.
    void stop();

    // Waits for the next frame. Returns false at the end of the video or
    // after `stop`, once the queue is empty. A frame's time counts from the
    // MP4 edit-list start.
    bool pop(TimedFrame& frame);
    bool pop(cv::Mat& image);

    // True when frames come from the hardware decoder (decoder "GPU"),
    // false for software decoding. Valid after a successful `start`.
    bool hardware() const;

    // Decoding threads for the next `start`; 0 (the default) lets FFmpeg
    // choose from the number of processors.
    void setDecoderThreads(int count);

private:
    void run(std::string path, int width, int height, int step);
    void publishOpened(bool opened, bool hardware);

    std::thread thread_;
    int decoderThreads_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool started_ = false;
    bool opened_ = false;
    bool hardware_ = false;
    FrameQueue queue_{32};
};

}  // namespace rallinox
