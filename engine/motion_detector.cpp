#include "engine/motion_detector.h"

#include <algorithm>

#include <opencv2/imgproc.hpp>

namespace rallinox {

int scaledKernelSize(int size, int analysisWidth, int refWidth) {
    int scaled = size;
    if (refWidth > 0) {
        scaled = static_cast<int>(static_cast<double>(size) * analysisWidth / refWidth);
    }
    if (scaled % 2 == 0) {
        scaled += 1;
    }
    return std::max(1, scaled);
}

namespace {

cv::Mat rectKernel(int size) {
    return cv::getStructuringElement(cv::MORPH_RECT, cv::Size(size, size));
}

// Reuses the buffer of the oldest entry for the newest one, so that the
// histories stop allocating once they are full.
void pushCopy(std::deque<cv::Mat>& history, const cv::Mat& image, size_t capacity) {
    cv::Mat slot;
    if (history.size() >= capacity && !history.empty()) {
        slot = history.front();
        history.pop_front();
    }
    image.copyTo(slot);
    history.push_back(slot);
}

}  // namespace

void MotionDetector::setParams(const EngineParams& params) {
    params_ = params;
    blurSize_ = scaledKernelSize(params.blurKernel, params.analysisWidth, params.refWidth);
    openKernel_ = rectKernel(
        scaledKernelSize(params.openKernelSize, params.analysisWidth, params.refWidth));
    dilateKernel_ = rectKernel(
        scaledKernelSize(params.dilateKernelSize, params.analysisWidth, params.refWidth));
    maskDilateKernel_ = params.maskDilateKernelSize >= 2
                            ? rectKernel(params.maskDilateKernelSize)
                            : cv::Mat();
    background_.release();
    motionCount_.release();
    frameHistory_.clear();
    maskHistory_.clear();
}

// Brings the frame to the analysis size and to grey into `grey_`. Any frame
// whose size differs is resized, so that every image of the state keeps one size.
void MotionDetector::prepareGrey(const cv::Mat& frame) {
    const cv::Size analysisSize(params_.analysisWidth, params_.analysisHeight);
    const cv::Mat* sized = &frame;
    if (frame.size() != analysisSize && analysisSize.area() > 0) {
        cv::resize(frame, resized_, analysisSize, 0, 0, cv::INTER_LINEAR);
        sized = &resized_;
    }
    if (sized->channels() == 3) {
        cv::cvtColor(*sized, grey_, cv::COLOR_BGR2GRAY);
    } else if (sized->channels() == 4) {
        cv::cvtColor(*sized, grey_, cv::COLOR_BGRA2GRAY);
    } else {
        grey_ = *sized;
    }
}

FrameCandidates MotionDetector::detectMotion(const cv::Mat& frame, int frameIndex) {
    FrameCandidates result;
    result.frameIndex = frameIndex;
    if (frame.empty()) {
        return result;  // nothing to compare; the state waits for the next picture
    }

    prepareGrey(frame);
    cv::GaussianBlur(grey_, blurred_, cv::Size(blurSize_, blurSize_), 0);

    if (background_.empty()) {
        blurred_.convertTo(background_, CV_32F);
        for (int i = 0; i < params_.frameHistoryLength; ++i) {
            frameHistory_.push_back(blurred_.clone());
        }
        return result;
    }

    // Motion must differ from the background and from each of the last frames:
    // the differences are combined with a bitwise AND, which is what the models
    // were trained to see (differences sharing no bits, such as 64 and 32, drop out).
    background_.convertTo(background8_, CV_8U);
    cv::absdiff(blurred_, background8_, diff_);
    const size_t recent = std::min<size_t>(5, frameHistory_.size());
    for (size_t i = 0; i < recent; ++i) {
        cv::absdiff(frameHistory_[frameHistory_.size() - 1 - i], blurred_, frameDiff_);
        cv::bitwise_and(diff_, frameDiff_, diff_);
    }
    pushCopy(frameHistory_, blurred_, frameHistory_.size());

    cv::threshold(diff_, mask_, params_.diffThreshold, 255, cv::THRESH_BINARY);
    cv::morphologyEx(mask_, mask_, cv::MORPH_OPEN, openKernel_);
    cv::dilate(mask_, mask_, dilateKernel_);

    // The background learns only where nothing moves.
    cv::bitwise_not(mask_, persistentFree_);
    cv::accumulateWeighted(blurred_, background_, params_.backgroundRate, persistentFree_);

    updatePersistence();

    // Suppress places that kept moving over the counted masks (flags, crowd).
    cv::compare(motionCount_, params_.persistenceLimit, persistentFree_, cv::CMP_LT);
    cv::bitwise_and(mask_, persistentFree_, mask_);

    if (params_.maxMotionFraction > 0) {
        const auto limit = static_cast<long long>(static_cast<double>(params_.analysisHeight) *
                                                  params_.analysisWidth *
                                                  params_.maxMotionFraction);
        if (cv::countNonZero(mask_) > limit) {
            return result;  // camera pan or cut
        }
    }

    result.candidates = collectBlobs();
    if (params_.maxCandidates > 0 &&
        result.candidates.size() > static_cast<size_t>(params_.maxCandidates)) {
        result.candidates.clear();
    }
    return result;
}

// Appends the dilated 0/1 mask to the history and keeps `motionCount_` equal
// to the sum of the masks that lie between the lag and the history length.
void MotionDetector::updatePersistence() {
    if (motionCount_.empty() || motionCount_.size() != mask_.size()) {
        motionCount_ = cv::Mat::zeros(mask_.size(), CV_8U);
    }
    cv::threshold(mask_, mask01_, 0, 1, cv::THRESH_BINARY);
    if (!maskDilateKernel_.empty()) {
        cv::dilate(mask01_, mask01_, maskDilateKernel_);
    }
    // The oldest mask leaves the count when the history is full.
    const size_t capacity = static_cast<size_t>(std::max(1, params_.maskHistoryLength));
    if (maskHistory_.size() >= capacity) {
        cv::subtract(motionCount_, maskHistory_.front(), motionCount_);
    }
    pushCopy(maskHistory_, mask01_, capacity);
    const size_t lag = static_cast<size_t>(std::max(0, params_.persistenceLag));
    if (maskHistory_.size() > lag) {
        cv::add(motionCount_, maskHistory_[maskHistory_.size() - 1 - lag], motionCount_);
    }
}

std::vector<BallCandidate> MotionDetector::collectBlobs() {
    cv::findContours(mask_, contours_, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_SIMPLE);

    double minArea = params_.minBlobArea;
    double maxArea = params_.maxBlobArea;
    if (params_.refWidth > 0 && params_.refHeight > 0) {
        const double scale = (static_cast<double>(params_.analysisWidth) / params_.refWidth) *
                             (static_cast<double>(params_.analysisHeight) / params_.refHeight);
        minArea *= scale;
        maxArea *= scale;
    }

    std::vector<BallCandidate> candidates;
    for (const auto& contour : contours_) {
        const double area = cv::contourArea(contour);
        if (area < minArea || area > maxArea) {
            continue;
        }
        const cv::Rect box = cv::boundingRect(contour);
        const double ratio = static_cast<double>(box.width) / box.height;
        if (ratio < params_.minAspect || ratio > params_.maxAspect) {
            continue;
        }
        candidates.push_back({box.x, box.y, box.width, box.height, static_cast<float>(area)});
    }
    return candidates;
}

}  // namespace rallinox
