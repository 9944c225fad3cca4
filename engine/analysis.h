// The analysis driver: probes the video, runs stage 1 over the decoded frames
// and the remaining stages in order, and turns frame numbers into seconds.
#pragma once

#include "engine/engine_params.h"
#include "engine/frame_times.h"
#include "engine/motion_detector.h"
#include "engine/rally_segmentation.h"
#include "engine/review_hints.h"
#include "engine/track_features.h"
#include "engine/window_features.h"
#include "video/decoder_kind.h"
#include "video/probe.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace rallinox {

struct AnalysisModels;

struct AnalysisRequest {
    std::string videoPath;  // UTF-8
    double startPaddingSec = 1.5;
    double endPaddingSec = 1.5;
    double minRallySec = 1.5;
};

// Written by the analysis thread, read by the GUI thread without a lock.
struct AnalysisProgress {
    std::atomic<int32_t> stage{0};  // 0..5, see analysisStageName
    std::atomic<float> fraction{0.0f};
    std::atomic<double> videoSecDone{0.0};
    std::atomic<double> framesPerSec{0.0};
    std::atomic<DecoderKind> decoder{DecoderKind::None};
    std::atomic<uint8_t> cancel{0};    // set by the GUI to stop the analysis
};

// "Opening the video", "Finding the ball", ... "Done"; "" for other values.
const char* analysisStageName(int stage);

struct AnalysisRally {
    double startSec = 0;
    double endSec = 0;
    double startPadSec = 0;  // paddings included in the range
    double endPadSec = 0;
};

struct AnalysisHint {
    HintKind kind = HintKind::Missed;
    double startSec = 0;
    double endSec = 0;
    double atSec = 0;
    bool done = false;
};

struct AnalysisResult {
    bool ok = false;
    bool cancelled = false;
    std::string error;  // for the user, when neither flag is set
    // For the user beside a result: the video ended before its stated
    // length ("Only the first 12:30 of 45:00 could be read").
    std::string warning;
    VideoInfo video;
    double readSec = 0;  // how much of the video was read
    std::vector<AnalysisRally> rallies;
    std::vector<AnalysisHint> hints;  // sorted by startSec
    double totalSec = 0;
    double stage1Sec = 0;
    int64_t frames = 0;
    double stage1Fps = 0;
    double realtimeX = 0;
    std::string decoder;
};

// What the model trainer needs beside the result: the feature tables and how
// analysed frames map back to video frames (video frame = analysed frame x step).
struct AnalysisFeatures {
    int frameStep = 1;
    int frames = 0;        // analysed frames
    int windowLength = 5;  // analysed frames per window
    int analysisWidth = 0;
    int analysisHeight = 0;
    double analysisFps = 0;
    std::vector<TrackFeatures> tracks;    // stage-5 records, as the track model sees them
    std::vector<WindowFeatures> windows;  // as the action model sees them
    std::vector<FrameCandidates> candidates;      // moving blobs found in each frame
    std::vector<BallDetection> trackedDetections;  // boxes of the described tracks, by track id
    std::vector<BallDetection> ballDetections;     // boxes of the ball tracks after improvement
};

AnalysisResult runAnalysis(const AnalysisRequest& request, AnalysisProgress& progress,
                           AnalysisFeatures* features = nullptr);

// Every frame-th source frame is analysed so that at most about 30 frames
// per second are.
int analysisFrameStep(double fps);

struct AnalysisSize {
    int width = 0;
    int height = 0;
};
// Short side 480 pixels, both sides even.
AnalysisSize analysisSizeFor(int videoWidth, int videoHeight);

struct TrackVerdicts {
    std::map<int, double> trackProbability;
    std::set<int> ballTrackIds;  // probability >= 0.5
};
// Pairs the classifier's probabilities with the records, in record order.
TrackVerdicts judgeTracks(const std::vector<TrackFeatures>& records, const std::vector<double>& probabilities);

// Window k's probability covers frames k x windowLength ... (k+1) x windowLength - 1.
std::vector<double> probabilityPerFrame(const std::vector<double>& windowProbabilities, int count,
                                        int windowLength);

// Everything after stage 1, for `count` analysed frames.
struct PipelineOutput {
    std::vector<RallySegment> rallies;  // confirmed segments only
    std::vector<FrameHint> hints;
    std::vector<TrackFeatures> tracks;
    std::vector<WindowFeatures> windows;
    std::vector<BallDetection> trackedDetections;  // boxes of the described tracks
    std::vector<BallDetection> ballDetections;     // boxes of the ball tracks after improvement
};
PipelineOutput runPipeline(const std::vector<FrameCandidates>& frames, AnalysisModels& models,
                           const EngineParams& params, AnalysisProgress& progress);

// Converts the pipeline's frames into seconds of `result.video` (each
// frame's own time, clamped to the duration); empty ranges are left out and
// the hints are sorted by start.
void addRalliesAndHints(const PipelineOutput& output, const FrameTimes& times, AnalysisResult& result);

// "Only the first 12:30 of 45:00 could be read" when reading stopped more
// than a second before the stated duration, else "".
std::string partlyReadWarning(double readSec, double durationSec);

}  // namespace rallinox
