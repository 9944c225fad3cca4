#pragma once

#include <opencv2/core.hpp>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

namespace rallinox {

// Presentation time of a frame whose container states none.
inline constexpr double kUnknownFrameTime = -1.0;

// A decoded picture and its presentation time in seconds from the start of
// the video.
struct TimedFrame {
    cv::Mat image;
    double timeSec = kUnknownFrameTime;
};

// Bounded queue of decoded frames between one decoding thread and one
// consumer. The bound keeps memory flat when the analysis is slower than
// the decoder.
class FrameQueue {
public:
    explicit FrameQueue(std::size_t capacity) : capacity_(capacity) {}

    // Producer: waits for room, then appends. Returns false, dropping the
    // frame, once `stop` was asked.
    bool push(cv::Mat frame, double timeSec = kUnknownFrameTime);

    // Producer: no more frames will come.
    void finish();

    // Consumer: waits for a frame. Returns false once the queue is empty and
    // the producer finished or `stop` was asked.
    bool pop(TimedFrame& frame);
    // The same, for a consumer that has no use for the time.
    bool pop(cv::Mat& frame);

    // Wakes both sides and makes every later `push` fail.
    void stop();

    // Read without the lock by decoding loops between frames.
    bool stopping() const { return stop_.load(std::memory_order_relaxed); }

    // Drops the queued frames; the flags stay as they are.
    void clear();

    // Back to empty and running, for the next decoding run.
    void reset();

    std::size_t size() const;

private:
    const std::size_t capacity_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<TimedFrame> frames_;
    bool finished_ = false;
    std::atomic<bool> stop_{false};
};

}  // namespace rallinox
