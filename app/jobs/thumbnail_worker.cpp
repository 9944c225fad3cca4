#include "app/jobs/thumbnail_worker.h"

#include <chrono>
#include <utility>

#include "app/core/file_io.h"
#include "app/core/log.h"
#include "platform/frame_wake.h"
#include "video/frame_grab.h"

namespace rallinox {

namespace {

constexpr int kThumbnailWidth = 320;
constexpr int kJpegQuality = 85;

// A frame of the video at the card width, also stored as the JPEG so that
// the next run need not open the video.
RgbaPicture thumbnailFromVideo(const ThumbnailRequest& request) {
    RgbaPicture picture = grabFrame(request.videoPath, request.timeSec, kThumbnailWidth);
    if (const std::string jpeg = jpegBytes(picture, kJpegQuality); !jpeg.empty())
        writeWholeFile(request.thumbFile, jpeg);
    return picture;
}

}  // namespace

double thumbnailTimeSec(const Project& project) {
    if (project.rallies.empty()) return project.videoDurationSec * 0.1;
    const Rally& first = project.rallies.front();
    return (first.startSec + first.endSec) / 2;
}

ThumbnailPicture makeThumbnail(const ThumbnailRequest& request) {
    RgbaPicture picture = readPictureFile(request.thumbFile);
    if (picture.empty()) picture = thumbnailFromVideo(request);
    return {request.id, picture.width, picture.height, std::move(picture.rgba)};
}

ThumbnailWorker::ThumbnailWorker(Maker make)
    : queue_(std::make_shared<Queue>()), thread_([queue = queue_, make = std::move(make)] { run(queue, make); }) {}

ThumbnailWorker::~ThumbnailWorker() {
    // Long enough for any readable video; a stuck one keeps its thread.
    constexpr auto kLongestWait = std::chrono::seconds(2);
    std::unique_lock lock(queue_->mutex);
    queue_->stopping = true;
    queue_->pending.clear();
    queue_->wake.notify_all();
    const bool ended = queue_->ended.wait_for(lock, kLongestWait, [this] { return !queue_->running; });
    lock.unlock();
    if (ended) {
        thread_.join();
    } else {
        logError("a video does not answer; its picture is left unfinished");
        thread_.detach();
    }
}

void ThumbnailWorker::request(ThumbnailRequest request) {
    {
        std::lock_guard lock(queue_->mutex);
        queue_->pending.push_back(std::move(request));
    }
    queue_->wake.notify_one();
}

std::vector<ThumbnailPicture> ThumbnailWorker::takeFinished() {
    std::lock_guard lock(queue_->mutex);
    return std::exchange(queue_->finished, {});
}

void ThumbnailWorker::run(const std::shared_ptr<Queue>& queue, const Maker& make) {
    std::unique_lock lock(queue->mutex);
    while (true) {
        queue->wake.wait(lock, [&queue] { return queue->stopping || !queue->pending.empty(); });
        if (queue->stopping) break;
        ThumbnailRequest next = std::move(queue->pending.front());
        queue->pending.pop_front();
        lock.unlock();
        ThumbnailPicture picture = make(next);
        lock.lock();
        queue->finished.push_back(std::move(picture));
        wakeFrameLoop();
    }
    queue->running = false;
    queue->ended.notify_all();
}

}  // namespace rallinox
