// Stage 1: finds the small moving blobs of every analysed frame that could be
// the ball, against a slowly adapting background and the last few frames.
#pragma once

#include <deque>
#include <vector>

#include <opencv2/core.hpp>

#include "engine/engine_params.h"

namespace rallinox {

// One blob, in pixels of the analysis image (origin top-left).
struct BallCandidate {
    int x = 0;  // top-left corner of the bounding rectangle
    int y = 0;
    int w = 0;
    int h = 0;
    float area = 0.0f;  // non-oriented contour area
};

// The blobs of one analysed frame, in contour order (possibly none).
struct FrameCandidates {
    int frameIndex = 0;  // analysed-frame index, 0-based
    std::vector<BallCandidate> candidates;
};

// Kernel size for a size given at the reference width: scaled, made odd, at least 1.
int scaledKernelSize(int size, int analysisWidth, int refWidth);

// Keeps the per-video state of stage 1. Feed every analysed frame in order,
// without gaps or repeats: the histories count frames, not time.
class MotionDetector {
public:
    // Stores the parameters, builds the kernels and forgets every earlier frame.
    void setParams(const EngineParams& params);

    // `frame` is 8-bit grey, BGR or BGRA, of the analysis size or any other size;
    // an empty frame yields no candidates and leaves the state as it was.
    FrameCandidates detectMotion(const cv::Mat& frame, int frameIndex);

    // Read-only views of the state, for inspection.
    const cv::Mat& background() const { return background_; }
    const std::deque<cv::Mat>& frameHistory() const { return frameHistory_; }
    const cv::Mat& motionCount() const { return motionCount_; }

private:
    void prepareGrey(const cv::Mat& frame);
    void updatePersistence();
    std::vector<BallCandidate> collectBlobs();

    EngineParams params_;
    cv::Mat openKernel_, dilateKernel_, maskDilateKernel_;
    int blurSize_ = 1;

    cv::Mat background_;                // CV_32F, empty until the first frame
    std::deque<cv::Mat> frameHistory_;  // last blurred frames, oldest first
    std::deque<cv::Mat> maskHistory_;   // dilated 0/1 motion masks, oldest first
    cv::Mat motionCount_;               // sum of the counted masks

    // Working images reused from frame to frame.
    cv::Mat resized_, grey_, blurred_, background8_, diff_, frameDiff_, mask_, mask01_,
        persistentFree_;
    std::vector<std::vector<cv::Point>> contours_;
};

}  // namespace rallinox
