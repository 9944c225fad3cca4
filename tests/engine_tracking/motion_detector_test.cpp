#include "engine/motion_detector.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

namespace rallinox {
namespace {

constexpr int kWidth = 854;
constexpr int kHeight = 480;
const cv::Scalar kFloor(100);
const cv::Scalar kBall(220);

EngineParams analysisParams() {
    EngineParams params;
    params.analysisWidth = kWidth;
    params.analysisHeight = kHeight;
    return params;
}

MotionDetector makeDetector(const EngineParams& params = analysisParams()) {
    MotionDetector detector;
    detector.setParams(params);
    return detector;
}

cv::Mat emptyFrame() { return cv::Mat(kHeight, kWidth, CV_8UC1, kFloor); }

cv::Mat frameWithBoxes(const std::vector<cv::Rect>& boxes) {
    cv::Mat frame = emptyFrame();
    for (const auto& box : boxes) {
        cv::rectangle(frame, box, kBall, cv::FILLED);
    }
    return frame;
}

// Boxes of `size` pixels on a regular grid, far enough apart to stay separate blobs.
std::vector<cv::Rect> gridBoxes(int count, int size) {
    std::vector<cv::Rect> boxes;
    for (int i = 0; i < count; ++i) {
        boxes.emplace_back(30 + (i % 13) * 60, 30 + (i / 13) * 60, size, size);
    }
    return boxes;
}

bool containsPoint(const BallCandidate& c, cv::Point p) {
    return p.x >= c.x && p.x < c.x + c.w && p.y >= c.y && p.y < c.y + c.h;
}

TEST(KernelSize, ScalesWithTheAnalysisWidthAndStaysOdd) {
    EXPECT_EQ(scaledKernelSize(7, 854, 960), 7);
    EXPECT_EQ(scaledKernelSize(2, 854, 960), 1);
    EXPECT_EQ(scaledKernelSize(7, 480, 960), 3);
    EXPECT_EQ(scaledKernelSize(2, 480, 960), 1);
    EXPECT_EQ(scaledKernelSize(12, 960, 960), 13);
    EXPECT_EQ(scaledKernelSize(5, 854, 0), 5);
    EXPECT_EQ(scaledKernelSize(0, 854, 960), 1);
}

TEST(MotionDetector, FirstFrameOnlyStartsTheState) {
    MotionDetector detector = makeDetector();
    const FrameCandidates first = detector.detectMotion(frameWithBoxes({{100, 100, 12, 12}}), 0);
    EXPECT_EQ(first.frameIndex, 0);
    EXPECT_TRUE(first.candidates.empty());
    ASSERT_EQ(detector.frameHistory().size(), 15u);
    EXPECT_EQ(cv::countNonZero(detector.frameHistory().front() != detector.frameHistory().back()), 0);
    ASSERT_EQ(detector.background().type(), CV_32F);
    EXPECT_FLOAT_EQ(detector.background().at<float>(300, 500), 100.0f);
    EXPECT_GT(detector.background().at<float>(106, 106), 200.0f);
}

TEST(MotionDetector, FindsAMovingBallAndKeepsTheHistoryLength) {
    MotionDetector detector = makeDetector();
    detector.detectMotion(emptyFrame(), 0);
    for (int i = 1; i <= 8; ++i) {
        const cv::Point centre(100 + 40 * i, 200);
        const FrameCandidates found =
            detector.detectMotion(frameWithBoxes({{centre.x - 6, centre.y - 6, 12, 12}}), i);
        EXPECT_EQ(found.frameIndex, i);
        ASSERT_EQ(found.candidates.size(), 1u) << "frame " << i;
        EXPECT_TRUE(containsPoint(found.candidates[0], centre));
        EXPECT_GT(found.candidates[0].area, 144.0f);
    }
    EXPECT_EQ(detector.frameHistory().size(), 15u);
}

TEST(MotionDetector, ABlobThatMatchesARecentFrameIsNotMotion) {
    MotionDetector detector = makeDetector();
    detector.detectMotion(emptyFrame(), 0);
    const cv::Mat withBall = frameWithBoxes({{300, 200, 12, 12}});
    EXPECT_EQ(detector.detectMotion(withBall, 1).candidates.size(), 1u);
    // Still there one frame later: it equals the previous frame at that place.
    EXPECT_TRUE(detector.detectMotion(withBall, 2).candidates.empty());
}

TEST(MotionDetector, APixelUnlikeTheBackgroundAndEveryRecentFrameIsMotion) {
    MotionDetector detector = makeDetector();
    detector.detectMotion(emptyFrame(), 0);
    const cv::Rect spot(300, 200, 60, 60);
    cv::Mat passing = emptyFrame();
    passing(spot).setTo(cv::Scalar(132));
    detector.detectMotion(passing, 1);
    // At the spot: 64 from the background and older frames, 32 from the last one.
    // Counted as motion, the spot stays out of the background.
    cv::Mat object = emptyFrame();
    object(spot).setTo(cv::Scalar(164));
    detector.detectMotion(object, 2);
    EXPECT_FLOAT_EQ(detector.background().at<float>(230, 330), 100.0f);
}

TEST(MotionDetector, MoreThanFortyBlobsMeanNone) {
    for (const int count : {40, 41}) {
        MotionDetector detector = makeDetector();
        detector.detectMotion(emptyFrame(), 0);
        const FrameCandidates found = detector.detectMotion(frameWithBoxes(gridBoxes(count, 10)), 1);
        EXPECT_EQ(found.candidates.size(), count == 40 ? 40u : 0u) << count << " blobs";
    }
}

TEST(MotionDetector, RefusesTallNarrowBlobsButAcceptsWideOnes) {
    MotionDetector tallDetector = makeDetector();
    tallDetector.detectMotion(emptyFrame(), 0);
    EXPECT_TRUE(tallDetector.detectMotion(frameWithBoxes({{300, 100, 4, 40}}), 1).candidates.empty());

    MotionDetector wideDetector = makeDetector();
    wideDetector.detectMotion(emptyFrame(), 0);
    const auto wide = wideDetector.detectMotion(frameWithBoxes({{300, 100, 40, 4}}), 1).candidates;
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_GT(wide[0].w, wide[0].h);
}

TEST(MotionDetector, RefusesBlobsOutsideTheScaledAreaLimits) {
    EngineParams params = analysisParams();
    params.maxBlobArea = 300.0;  // about 237 pixels at 854 x 480
    MotionDetector detector = makeDetector(params);
    detector.detectMotion(emptyFrame(), 0);
    const auto found =
        detector.detectMotion(frameWithBoxes({{100, 100, 6, 6}, {400, 100, 30, 30}}), 1).candidates;
    ASSERT_EQ(found.size(), 1u);
    EXPECT_TRUE(containsPoint(found[0], {103, 103}));
}

TEST(MotionDetector, ACameraPanGivesNothingWhileTheStillPartKeepsLearning) {
    MotionDetector detector = makeDetector();
    detector.detectMotion(emptyFrame(), 0);
    cv::Mat panned(kHeight, kWidth, CV_8UC1, cv::Scalar(104));  // too small a change to count
    panned(cv::Rect(0, 0, kWidth / 3, kHeight)).setTo(cv::Scalar(200));
    EXPECT_TRUE(detector.detectMotion(panned, 1).candidates.empty());
    EXPECT_NEAR(detector.background().at<float>(240, 700), 100.04f, 1e-3);
    EXPECT_FLOAT_EQ(detector.background().at<float>(240, 100), 100.0f);
}

TEST(MotionDetector, SuppressesMotionThatRepeatsInOnePlace) {
    MotionDetector detector = makeDetector();
    detector.detectMotion(emptyFrame(), 0);
    // A flag flapping into view every sixth frame: it has moved in 3 counted
    // masks by frame 19, so it is found only at frames 1, 7 and 13.
    std::vector<int> framesWithCandidates;
    for (int i = 1; i <= 40; ++i) {
        const cv::Mat frame = (i % 6 == 1) ? frameWithBoxes({{400, 200, 12, 12}}) : emptyFrame();
        if (!detector.detectMotion(frame, i).candidates.empty()) {
            framesWithCandidates.push_back(i);
        }
    }
    EXPECT_EQ(framesWithCandidates, (std::vector<int>{1, 7, 13}));
    // A ball elsewhere is still found.
    EXPECT_EQ(detector.detectMotion(frameWithBoxes({{100, 400, 12, 12}}), 41).candidates.size(), 1u);
}

TEST(MotionDetector, ResetsItsStateWithNewParameters) {
    MotionDetector detector = makeDetector();
    detector.detectMotion(emptyFrame(), 0);
    detector.detectMotion(frameWithBoxes({{300, 200, 12, 12}}), 1);
    detector.setParams(analysisParams());
    EXPECT_TRUE(detector.background().empty());
    EXPECT_TRUE(detector.frameHistory().empty());
    EXPECT_TRUE(detector.detectMotion(frameWithBoxes({{300, 200, 12, 12}}), 0).candidates.empty());
}

TEST(MotionDetector, AnEmptyFrameGivesNothingAndChangesNothing) {
    MotionDetector detector = makeDetector();
    EXPECT_TRUE(detector.detectMotion(cv::Mat(), 0).candidates.empty());
    EXPECT_TRUE(detector.background().empty());
    detector.detectMotion(emptyFrame(), 1);
    EXPECT_TRUE(detector.detectMotion(cv::Mat(), 2).candidates.empty());
    EXPECT_EQ(detector.frameHistory().size(), 15u);
    EXPECT_EQ(detector.detectMotion(frameWithBoxes({{300, 200, 12, 12}}), 3).candidates.size(), 1u);
}

TEST(MotionDetector, FullSizeColourFramesGiveTheSameBlobsAsGreyAnalysisFrames) {
    EngineParams params = analysisParams();
    params.videoWidth = 2 * kWidth;
    params.videoHeight = 2 * kHeight;
    for (const int channels : {3, 4}) {
        MotionDetector fromGrey = makeDetector(params);
        MotionDetector fromColour = makeDetector(params);
        for (int i = 0; i < 6; ++i) {
            const std::vector<cv::Rect> boxes = {{100 + 30 * i, 100, 10, 10}, {500, 300 - 20 * i, 14, 8}};
            cv::Mat colour(2 * kHeight, 2 * kWidth, CV_8UC(channels), cv::Scalar(100, 100, 100, 255));
            for (const auto& box : boxes) {
                cv::rectangle(colour, {2 * box.x, 2 * box.y, 2 * box.width, 2 * box.height},
                              cv::Scalar(220, 220, 220, 255), cv::FILLED);
            }
            const auto grey = fromGrey.detectMotion(frameWithBoxes(boxes), i).candidates;
            const auto fromFull = fromColour.detectMotion(colour, i).candidates;
            EXPECT_EQ(grey.empty(), i == 0) << "frame " << i;
            ASSERT_EQ(grey.size(), fromFull.size()) << "frame " << i;
            for (size_t k = 0; k < grey.size(); ++k) {
                EXPECT_EQ(grey[k].x, fromFull[k].x);
                EXPECT_EQ(grey[k].y, fromFull[k].y);
                EXPECT_EQ(grey[k].w, fromFull[k].w);
                EXPECT_EQ(grey[k].h, fromFull[k].h);
                EXPECT_FLOAT_EQ(grey[k].area, fromFull[k].area);
            }
        }
    }
}

}  // namespace
}  // namespace rallinox
