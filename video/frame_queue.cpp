#include "video/frame_queue.h"

#include <utility>

namespace rallinox {

bool FrameQueue::push(cv::Mat frame, double timeSec) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return frames_.size() < capacity_ || stopping(); });
    if (stopping()) return false;
    frames_.push_back({std::move(frame), timeSec});
    changed_.notify_all();
    return true;
}

void FrameQueue::finish() {
    std::lock_guard lock(mutex_);
    finished_ = true;
    changed_.notify_all();
}

bool FrameQueue::pop(TimedFrame& frame) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !frames_.empty() || finished_ || stopping(); });
    if (frames_.empty()) return false;
    frame = std::move(frames_.front());
    frames_.pop_front();
    changed_.notify_all();
    return true;
}

bool FrameQueue::pop(cv::Mat& frame) {
    TimedFrame timed;
    if (!pop(timed)) return false;
    frame = std::move(timed.image);
    return true;
}

void FrameQueue::stop() {
    std::lock_guard lock(mutex_);
    stop_.store(true);
    changed_.notify_all();
}

void FrameQueue::clear() {
    std::lock_guard lock(mutex_);
    frames_.clear();
}

void FrameQueue::reset() {
    std::lock_guard lock(mutex_);
    frames_.clear();
    finished_ = false;
    stop_.store(false);
}

std::size_t FrameQueue::size() const {
    std::lock_guard lock(mutex_);
    return frames_.size();
}

}  // namespace rallinox
