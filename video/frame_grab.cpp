#include "video/frame_grab.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>

#include <algorithm>

#include "video/probe.h"

namespace rallinox {

namespace {

RgbaPicture fromBgr(const cv::Mat& bgr) {
    RgbaPicture picture;
    if (bgr.empty() || bgr.channels() != 3) return picture;
    cv::Mat rgba;
    cv::cvtColor(bgr, rgba, cv::COLOR_BGR2RGBA);
    picture.width = rgba.cols;
    picture.height = rgba.rows;
    // cvtColor makes a new continuous image, so its bytes are one block.
    picture.rgba.assign(rgba.data, rgba.data + rgba.total() * 4);
    return picture;
}

}  // namespace

RgbaPicture grabFrame(const std::string& videoPath, double timeSec, int width) {
    if (std::string ignored; !checkIsVideoFile(videoPath, ignored)) return {};
    cv::VideoCapture capture(openCvPath(videoPath), cv::CAP_ANY);
    if (!capture.isOpened()) return {};
    capture.set(cv::CAP_PROP_POS_MSEC, timeSec * 1000.0);
    cv::Mat frame;
    if (!capture.read(frame) || frame.empty()) return {};
    const int height = std::max(1, frame.rows * width / frame.cols);
    cv::Mat small;
    cv::resize(frame, small, cv::Size(width, height), 0, 0, cv::INTER_AREA);
    return fromBgr(small);
}

RgbaPicture readPictureFile(const std::filesystem::path& file) {
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(file, ignored)) return {};
    return fromBgr(cv::imread(file.string(), cv::IMREAD_COLOR));
}

std::string jpegBytes(const RgbaPicture& picture, int quality) {
    if (picture.empty()) return {};
    // OpenCV takes a const picture's bytes without copying them.
    const cv::Mat rgba(picture.height, picture.width, CV_8UC4, const_cast<uint8_t*>(picture.rgba.data()));
    cv::Mat bgr;
    cv::cvtColor(rgba, bgr, cv::COLOR_RGBA2BGR);
    std::vector<uchar> jpeg;
    if (!cv::imencode(".jpg", bgr, jpeg, {cv::IMWRITE_JPEG_QUALITY, quality})) return {};
    return std::string(jpeg.begin(), jpeg.end());
}

}  // namespace rallinox
