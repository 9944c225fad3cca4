#include "engine/analysis.h"

#include "app/core/log.h"
#include "engine/analysis_models.h"
#include "engine/ball_tracker.h"
#include "engine/track_culling.h"
#include "engine/track_improvement.h"
#include "engine/track_splitter.h"
#include "app/core/time_format.h"
#include "video/frame_source.h"

#include <opencv2/core/utils/logger.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace rallinox {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWindowLength = 5;
constexpr int kProgressEveryFrames = 16;
constexpr float kStage1Share = 0.85f;

enum class Stage : int32_t { Opening = 0, FindingBall = 1, FollowingBall = 2, CheckingTracks = 3, FindingRallies = 4, Done = 5 };

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void publishStage(AnalysisProgress& progress, Stage stage, float fraction) {
    progress.stage.store(static_cast<int32_t>(stage));
    progress.fraction.store(fraction);
}

bool cancelRequested(const AnalysisProgress& progress) { return progress.cancel.load() != 0; }

EngineParams paramsFor(const AnalysisRequest& request, const VideoInfo& video, int step) {
    EngineParams params;
    const AnalysisSize size = analysisSizeFor(video.width, video.height);
    params.refWidth = 960;
    params.refHeight = 540;
    params.videoWidth = video.width;
    params.videoHeight = video.height;
    params.analysisWidth = size.width;
    params.analysisHeight = size.height;
    params.analysisFps = video.fps / step;
    params.frameStride = 1;
    params.frameOffset = 0;
    params.startPaddingSec = request.startPaddingSec;
    params.endPaddingSec = request.endPaddingSec;
    params.minRallySec = request.minRallySec;
    return params;
}

enum class Stage1Outcome { Done, NoSource, Cancelled };

// Decodes every step-th frame and runs motion detection on it, in order,
// noting each frame's time.
Stage1Outcome runStage1(const std::string& path, const VideoInfo& video, int step, const EngineParams& params,
                        AnalysisProgress& progress, std::vector<FrameCandidates>& frames,
                        std::vector<double>& frameTimes, std::string& decoder) {
    const Clock::time_point start = Clock::now();
    FrameSource source;
    if (!source.open(path, params.analysisWidth, params.analysisHeight, step)) return Stage1Outcome::NoSource;
    progress.decoder.store(source.decoderKind());
    decoder = decoderName(source.decoderKind());
    logInfo(std::string("stage 1 decoder: ") + decoder);

    MotionDetector detector;
    detector.setParams(params);
    TimedFrame frame;
    for (int index = 0; !cancelRequested(progress) && source.pop(frame); ++index) {
        frames.push_back(detector.detectMotion(frame.image, index));
        frameTimes.push_back(frame.timeSec);
        const int analysed = index + 1;
        if (analysed % kProgressEveryFrames != 0 || video.durationSec <= 0) continue;
        const double videoSec = frame.timeSec >= 0 ? frame.timeSec : analysed / params.analysisFps;
        progress.fraction.store(kStage1Share * static_cast<float>(std::min(videoSec / video.durationSec, 1.0)));
        progress.videoSecDone.store(videoSec);
        const double elapsed = secondsSince(start);
        if (elapsed > 0) progress.framesPerSec.store(analysed / elapsed);
    }
    source.stop();
    return cancelRequested(progress) ? Stage1Outcome::Cancelled : Stage1Outcome::Done;
}

AnalysisResult cancelledResult() {
    AnalysisResult result;
    result.cancelled = true;
    return result;
}

// A video whose reading stops less than this before its stated end counts as
// read whole: containers round their durations and audio may outlast the picture.
constexpr double kUnreadEndToleranceSec = 1.0;

double clampedSeconds(int frame, const FrameTimes& times, double durationSec) {
    return std::clamp(times.secondsAt(frame), 0.0, durationSec);
}

}  // namespace

const char* analysisStageName(int stage) {
    switch (static_cast<Stage>(stage)) {
    case Stage::Opening: return "Opening the video";
    case Stage::FindingBall: return "Finding the ball";
    case Stage::FollowingBall: return "Following the ball";
    case Stage::CheckingTracks: return "Checking ball tracks";
    case Stage::FindingRallies: return "Finding the rallies";
    case Stage::Done: return "Done";
    }
    return "";
}

int analysisFrameStep(double fps) {
    if (!(fps > 30)) return 1;
    return std::max(1, static_cast<int>(std::lround(fps / 30)));
}

AnalysisSize analysisSizeFor(int videoWidth, int videoHeight) {
    AnalysisSize size;
    if (videoWidth <= 0 || videoHeight <= 0) return size;
    if (videoWidth >= videoHeight) {
        size.height = 480;
        size.width = static_cast<int>(static_cast<int64_t>(videoWidth) * 480 / videoHeight);
    } else {
        size.width = 480;
        size.height = static_cast<int>(static_cast<int64_t>(videoHeight) * 480 / videoWidth);
    }
    size.width += size.width % 2;
    size.height += size.height % 2;
    return size;
}

TrackVerdicts judgeTracks(const std::vector<TrackFeatures>& records, const std::vector<double>& probabilities) {
    TrackVerdicts verdicts;
    for (size_t i = 0; i < probabilities.size() && i < records.size(); ++i) {
        verdicts.trackProbability[records[i].trackId] = probabilities[i];
        if (probabilities[i] >= 0.5) verdicts.ballTrackIds.insert(records[i].trackId);
    }
    return verdicts;
}

std::vector<double> probabilityPerFrame(const std::vector<double>& windowProbabilities, int count,
                                        int windowLength) {
    std::vector<double> perFrame(std::max(0, count), 0.0);
    for (size_t window = 0; window < windowProbabilities.size(); ++window) {
        const int64_t first = static_cast<int64_t>(window) * windowLength;
        const int64_t end = std::min<int64_t>(first + windowLength, count);
        for (int64_t frame = first; frame < end; ++frame) perFrame[frame] = windowProbabilities[window];
    }
    return perFrame;
}

PipelineOutput runPipeline(const std::vector<FrameCandidates>& frames, AnalysisModels& models,
                           const EngineParams& params, AnalysisProgress& progress) {
    // The stages report completion only; the pipeline publishes its own steps.
    const StageProgress ignoreStageProgress = [](float) {};
    PipelineOutput output;
    const int count = static_cast<int>(frames.size());

    publishStage(progress, Stage::FollowingBall, kStage1Share);
    const std::vector<BallDetection> tracked = runStage2(frames, params, ignoreStageProgress);
    const std::vector<TrackFeatures> survivors = runStage3(tracked, params, ignoreStageProgress);
    const SplitResult split = runStage4(tracked, survivors, params);
    output.tracks = runStage5(split.detections, split.changedTrackIds, params, ignoreStageProgress);
    std::set<int> describedTracks;
    for (const TrackFeatures& track : output.tracks) describedTracks.insert(track.trackId);
    std::vector<BallDetection> detections;
    for (const BallDetection& detection : split.detections)
        if (describedTracks.count(detection.trackId)) detections.push_back(detection);
    output.trackedDetections = detections;
    if (cancelRequested(progress)) return {};

    publishStage(progress, Stage::CheckingTracks, 0.92f);
    TrackVerdicts verdicts = judgeTracks(output.tracks, models.trackClassifier.predictInMemory(output.tracks));
    detections = runStage7(detections, output.tracks, verdicts.trackProbability, verdicts.ballTrackIds, params);
    for (const BallDetection& detection : detections)
        if (verdicts.ballTrackIds.count(detection.trackId)) output.ballDetections.push_back(detection);
    if (cancelRequested(progress)) return {};

    publishStage(progress, Stage::FindingRallies, 0.96f);
    output.windows = computeWindowFeatures(detections, verdicts.ballTrackIds, count, kWindowLength, params);
    const std::vector<double> probabilities =
        probabilityPerFrame(models.actionModel.predictPlay(output.windows), count, kWindowLength);
    const std::vector<RallySegment> segments =
        refineRallies(segmentRallies(probabilities, detections, verdicts.ballTrackIds, params), detections,
                      verdicts.ballTrackIds, verdicts.trackProbability, params);
    output.hints = buildHints(probabilities, segments, detections, verdicts.ballTrackIds, params);
    for (const RallySegment& segment : segments)
        if (!segment.suspicious) output.rallies.push_back(segment);
    return output;
}

std::string partlyReadWarning(double readSec, double durationSec) {
    if (!(readSec < durationSec - kUnreadEndToleranceSec)) return {};
    return "Only the first " + ui::formatClock(readSec) + " of " + ui::formatClock(durationSec) + " could be read";
}

void addRalliesAndHints(const PipelineOutput& output, const FrameTimes& times, AnalysisResult& result) {
    const double duration = result.video.durationSec;
    for (const RallySegment& segment : output.rallies) {
        AnalysisRally rally;
        rally.startSec = clampedSeconds(segment.start, times, duration);
        rally.endSec = clampedSeconds(segment.end, times, duration);
        rally.startPadSec = segment.startPadSec;
        rally.endPadSec = segment.endPadSec;
        if (rally.startSec < rally.endSec) result.rallies.push_back(rally);
    }
    for (const FrameHint& frameHint : output.hints) {
        AnalysisHint hint;
        hint.kind = frameHint.kind;
        hint.startSec = clampedSeconds(frameHint.startFrame, times, duration);
        hint.endSec = clampedSeconds(frameHint.endFrame, times, duration);
        hint.atSec = clampedSeconds(frameHint.atFrame, times, duration);
        if (hint.startSec < hint.endSec) result.hints.push_back(hint);
    }
    std::stable_sort(result.hints.begin(), result.hints.end(),
                     [](const AnalysisHint& a, const AnalysisHint& b) { return a.startSec < b.startSec; });
}

AnalysisResult runAnalysis(const AnalysisRequest& request, AnalysisProgress& progress, AnalysisFeatures* features) {
    const Clock::time_point start = Clock::now();
    AnalysisResult result;
    cv::utils::logging::setLogLevel(cv::utils::logging::LOG_LEVEL_ERROR);
    publishStage(progress, Stage::Opening, 0.0f);

    if (!probe(request.videoPath, result.video, result.error)) return result;
    const int step = analysisFrameStep(result.video.fps);
    EngineParams params = paramsFor(request, result.video, step);

    AnalysisModels models;
    if (!loadModels(models, result.error)) return result;

    publishStage(progress, Stage::FindingBall, 0.0f);
    const Clock::time_point stage1Start = Clock::now();
    std::vector<FrameCandidates> frames;
    std::vector<double> frameTimes;
    switch (runStage1(request.videoPath, result.video, step, params, progress, frames, frameTimes, result.decoder)) {
    case Stage1Outcome::NoSource:
        result.error = "The video could not be decoded.";
        return result;
    case Stage1Outcome::Cancelled:
        return cancelledResult();
    case Stage1Outcome::Done:
        break;
    }
    if (frames.empty()) {
        result.error = "No frames could be read from this video.";
        return result;
    }
    result.stage1Sec = secondsSince(stage1Start);
    result.frames = static_cast<int64_t>(frames.size());
    const FrameTimes times(std::move(frameTimes), params.analysisFps);
    result.readSec = times.endSec();
    if (result.video.durationSec <= 0) result.video.durationSec = result.readSec;
    result.warning = partlyReadWarning(result.readSec, result.video.durationSec);
    // The later stages count in frames: they take the rate most frames were
    // recorded at, which an uneven (variable-rate) video does not declare.
    params.analysisFps = times.typicalFps();

    const PipelineOutput output = runPipeline(frames, models, params, progress);
    if (cancelRequested(progress)) return cancelledResult();

    const double fps = framesPerSecond(params);
    addRalliesAndHints(output, times, result);
    if (features) {
        features->frameStep = step;
        features->frames = static_cast<int>(result.frames);
        features->windowLength = kWindowLength;
        features->analysisWidth = params.analysisWidth;
        features->analysisHeight = params.analysisHeight;
        features->analysisFps = fps;
        features->tracks = output.tracks;
        features->windows = output.windows;
        features->candidates = std::move(frames);
        features->trackedDetections = output.trackedDetections;
        features->ballDetections = output.ballDetections;
    }

    publishStage(progress, Stage::Done, 1.0f);
    result.ok = true;
    result.totalSec = secondsSince(start);
    result.stage1Fps = result.stage1Sec > 0 ? result.frames / result.stage1Sec : 0.0;
    result.realtimeX = result.totalSec > 0 ? result.readSec / result.totalSec : 0.0;
    return result;
}

}  // namespace rallinox
