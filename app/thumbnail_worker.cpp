#include "app/thumbnail_worker.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>

#include <algorithm>
#include <utility>

#include "app/file_io.h"
#include "video/probe.h"

namespace rallinox {

namespace {

constexpr int kThumbnailWidth = 320;
constexpr int kJpegQuality = 85;

cv::Mat storedThumbnail(const std::filesystem::path& thumbFile) {
    std::error_code ignored;
    if (!std::filesystem::exists(thumbFile, ignored)) return {};
    return cv::imread(thumbFile.string(), cv::IMREAD_COLOR);
}

// A frame of the video scaled to the card width, also stored as the JPEG so
// that the next run need not open the video.
cv::Mat thumbnailFromVideo(const ThumbnailRequest& request) {
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

ThumbnailWorker::ThumbnailWorker() : thread_([this] { run(); }) {}

ThumbnailWorker::~ThumbnailWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        pending_.clear();
    }
    wake_.notify_all();
    thread_.join();
}

void ThumbnailWorker::request(ThumbnailRequest request) {
    {
        std::lock_guard lock(mutex_);
        pending_.push_back(std::move(request));
    }
    wake_.notify_one();
}

std::vector<ThumbnailPicture> ThumbnailWorker::takeFinished() {
    std::lock_guard lock(mutex_);
    return std::exchange(finished_, {});
}

void ThumbnailWorker::run() {
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
        if (stopping_) return;
        ThumbnailRequest next = std::move(pending_.front());
        pending_.pop_front();
        lock.unlock();
        ThumbnailPicture picture = makeThumbnail(next);
        lock.lock();
        finished_.push_back(std::move(picture));
    }
}

}  // namespace rallinox
