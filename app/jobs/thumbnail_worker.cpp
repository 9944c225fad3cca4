#include "app/jobs/thumbnail_worker.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>

#include <algorithm>
#include <chrono>
#include <utility>

#include "app/core/file_io.h"
#include "app/core/log.h"
#include "video/probe.h"

namespace rallinox {

namespace {

constexpr int kThumbnailWidth = 320;
constexpr int kJpegQuality = 85;

cv::Mat storedThumbnail(const std::filesystem::path& thumbFile) {
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(thumbFile, ignored)) return {};
    return cv::imread(thumbFile.string(), cv::IMREAD_COLOR);
}

// A frame of the video scaled to the card width, also stored as the JPEG so
// that the next run need not open the video.
cv::Mat thumbnailFromVideo(const ThumbnailRequest& request) {
    if (std::string ignored; !checkIsVideoFile(request.videoPath, ignored)) return {};
    cv::VideoCapture capture(openCvPath(request.videoPath), cv::CAP_ANY);
    if (!capture.isOpened()) return {};
    capture.set(cv::CAP_PROP_POS_MSEC, request.timeSec * 1000.0);
    cv::Mat frame;
    if (!capture.read(frame) || frame.empty()) return {};
    const int height = std::max(1, frame.rows * kThumbnailWidth / frame.cols);
    cv::Mat small;
    cv::resize(frame, small, cv::Size(kThumbnailWidth, height), 0, 0, cv::INTER_AREA);
    std::vector<uchar> jpeg;
    if (cv::imencode(".jpg", small, jpeg, {cv::IMWRITE_JPEG_QUALITY, kJpegQuality})) {
        writeWholeFile(request.thumbFile, std::string(jpeg.begin(), jpeg.end()));
    }
    return small;
}

}  // namespace

double thumbnailTimeSec(const Project& project) {
    if (project.rallies.empty()) return project.videoDurationSec * 0.1;
    const Rally& first = project.rallies.front();
    return (first.startSec + first.endSec) / 2;
}

ThumbnailPicture makeThumbnail(const ThumbnailRequest& request) {
    ThumbnailPicture picture;
    picture.id = request.id;
    cv::Mat bgr = storedThumbnail(request.thumbFile);
    if (bgr.empty()) bgr = thumbnailFromVideo(request);
    if (bgr.empty() || bgr.channels() != 3) return picture;
    cv::Mat rgba;
    cv::cvtColor(bgr, rgba, cv::COLOR_BGR2RGBA);
    picture.width = rgba.cols;
    picture.height = rgba.rows;
    picture.rgba.resize(rgba.total() * 4);
    // cvtColor makes a new continuous image, so its bytes are one block.
    std::copy(rgba.data, rgba.data + picture.rgba.size(), picture.rgba.begin());
    return picture;
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
    }
    queue->running = false;
    queue->ended.notify_all();
}

}  // namespace rallinox
