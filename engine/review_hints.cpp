#include "engine/review_hints.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace rallinox {

namespace {

// The action model speaks once per window of this many analysed frames.
constexpr int kWindowSamples = 5;
constexpr double kFrameTolerance = 1e-6;

struct FrameRange {
    int start = 0;
    int end = 0;  // inclusive
};

struct PlayRun {
    int start = 0;  // first and last frame with probability >= 0.5
    int end = 0;
    double probabilitySum = 0;
    int samples = 0;
};

int strideOf(const EngineParams& params) { return std::max(1, params.frameStride); }

int frameOfSample(size_t sample, const EngineParams& params) {
    return params.frameOffset + static_cast<int>(sample) * strideOf(params);
}

int roundHalfAway(double value) { return static_cast<int>(std::lround(value)); }

std::vector<FrameRange> rallyRanges(const std::vector<RallySegment>& rallies) {
    std::vector<FrameRange> ranges;
    for (const RallySegment& rally : rallies) ranges.push_back({rally.start, rally.end});
    return ranges;
}

std::vector<FrameRange> sortedAndMerged(std::vector<FrameRange> ranges) {
    std::sort(ranges.begin(), ranges.end(), [](const FrameRange& a, const FrameRange& b) { return a.start < b.start; });
    std::vector<FrameRange> merged;
    for (const FrameRange& range : ranges) {
        if (!merged.empty() && range.start <= merged.back().end)
            merged.back().end = std::max(merged.back().end, range.end);
        else
            merged.push_back(range);
    }
    return merged;
}

std::vector<FrameRange> withoutFrames(const std::vector<FrameRange>& pieces, const std::vector<FrameRange>& removed) {
    std::vector<FrameRange> left = pieces;
    for (const FrameRange& cut : removed) {
        std::vector<FrameRange> next;
        for (const FrameRange& piece : left) {
            if (cut.end < piece.start || cut.start > piece.end) {
                next.push_back(piece);
                continue;
            }
            if (piece.start < cut.start) next.push_back({piece.start, cut.start - 1});
            if (piece.end > cut.end) next.push_back({cut.end + 1, piece.end});
        }
        left = std::move(next);
    }
    return left;
}

bool lastsAtLeast(const FrameRange& range, double frames) { return range.end - range.start + 1 >= frames - kFrameTolerance; }

std::vector<FrameRange> missedFromCurve(const std::vector<double>& probabilities, const std::vector<FrameRange>& rallies,
                                        const EngineParams& params) {
    const double fps = framesPerSecond(params);
    const int windowFrames = kWindowSamples * strideOf(params);
    std::vector<double> samples;
    std::vector<int> frames;
    for (size_t sample = 0; sample < probabilities.size(); sample += kWindowSamples) {
        samples.push_back(probabilities[sample]);
        frames.push_back(frameOfSample(sample, params));
    }
    int smoothing = std::max(1, roundHalfAway(fps * params.missedSmoothSec / windowFrames));
    if (smoothing % 2 == 0) ++smoothing;
    const int half = smoothing / 2;
    const int count = static_cast<int>(samples.size());
    std::vector<double> smoothed(count);
    for (int i = 0; i < count; ++i) {
        const int first = std::max(0, i - half);
        const int last = std::min(count - 1, i + half);
        double sum = 0;
        for (int j = first; j <= last; ++j) sum += samples[j];
        smoothed[i] = sum / (last - first + 1);
    }

    const int lastFrame = probabilities.empty() ? 0 : frameOfSample(probabilities.size() - 1, params);
    std::vector<FrameRange> runs;
    for (int i = 0; i < count; ++i) {
        if (smoothed[i] < params.missedThreshold) continue;
        int j = i;
        while (j + 1 < count && smoothed[j + 1] >= params.missedThreshold) ++j;
        const FrameRange run{frames[i], std::min(frames[j] + windowFrames, lastFrame + 1) - 1};
        if (lastsAtLeast(run, fps * params.missedMinSec)) runs.push_back(run);
        i = j;
    }

    const std::vector<FrameRange> uncovered = withoutFrames(sortedAndMerged(runs), rallies);
    const int mergeGap = roundHalfAway(fps * params.missedMergeGapSec);
    std::vector<FrameRange> merged;
    for (const FrameRange& piece : uncovered) {
        if (!merged.empty() && piece.start - merged.back().end - 1 <= mergeGap)
            merged.back().end = std::max(merged.back().end, piece.end);
        else
            merged.push_back(piece);
    }
    std::vector<FrameRange> longEnough;
    for (const FrameRange& piece : merged)
        if (lastsAtLeast(piece, fps * params.missedMinPieceSec)) longEnough.push_back(piece);
    return withoutFrames(longEnough, rallies);
}

double medianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// A fast ball track outside every rally is play the curve may have missed.
std::vector<FrameRange> missedFromFastTracks(const std::vector<BallDetection>& detections,
                                             const std::set<int>& ballTracks, const std::vector<FrameRange>& rallies,
                                             const std::vector<FrameRange>& curveHints, const EngineParams& params) {
    const double fps = framesPerSecond(params);
    std::map<int, std::vector<BallDetection>> byTrack;
    for (const BallDetection& detection : detections)
        if (ballTracks.count(detection.trackId)) byTrack[detection.trackId].push_back(detection);

    const int oneSecond = roundHalfAway(fps);
    const int margin = roundHalfAway(fps * params.missedTrackMarginSec);
    std::vector<FrameRange> regions;
    for (auto& [id, boxes] : byTrack) {
        if (static_cast<int>(boxes.size()) < params.missedTrackMinPoints) continue;
        std::stable_sort(boxes.begin(), boxes.end(),
                         [](const BallDetection& a, const BallDetection& b) { return a.frame < b.frame; });
        double path = 0;
        std::vector<double> widths{static_cast<double>(boxes.front().width)};
        for (size_t i = 1; i < boxes.size(); ++i) {
            path += std::hypot(boxes[i].cx() - boxes[i - 1].cx(), boxes[i].cy() - boxes[i - 1].cy());
            widths.push_back(boxes[i].width);
        }
        const int firstFrame = boxes.front().frame;
        const int lastFrame = boxes.back().frame;
        const double durationSec = std::max((lastFrame - firstFrame) / fps, 1 / fps);
        double boxWidth = medianOf(widths);
        if (boxWidth < 2) boxWidth = 1;
        if (path / durationSec / boxWidth < params.missedTrackMinSpeed) continue;

        FrameRange region{std::max(0, firstFrame - margin), lastFrame + margin};
        bool covered = false;
        for (const FrameRange& rally : rallies) {
            if (firstFrame >= rally.start - oneSecond && firstFrame <= rally.end) covered = true;
            if (rally.end < firstFrame) region.start = std::max(region.start, rally.end + 1);
            if (rally.start > firstFrame) region.end = std::min(region.end, rally.start - 1);
        }
        if (!covered && region.start <= region.end) regions.push_back(region);
    }

    std::vector<FrameRange> apart;
    for (const FrameRange& region : regions) {
        const bool overlapsCurve = std::any_of(curveHints.begin(), curveHints.end(), [&](const FrameRange& hint) {
            return region.start <= hint.end && hint.start <= region.end;
        });
        if (!overlapsCurve) apart.push_back(region);
    }
    return sortedAndMerged(apart);
}

// Stretches of play inside [first, last] read from the window samples; pauses
// shorter than mergeGapFrames stay inside a run.
std::vector<PlayRun> playRuns(const std::vector<double>& probabilities, int first, int last,
                              const EngineParams& params) {
    std::vector<PlayRun> runs;
    const int stride = strideOf(params);
    size_t sample = static_cast<size_t>(std::max(0, (first - params.frameOffset + stride - 1) / stride));
    sample = (sample + kWindowSamples - 1) / kWindowSamples * kWindowSamples;
    bool open = false;
    PlayRun run;
    double pendingSum = 0;
    int pendingSamples = 0;
    for (; sample < probabilities.size() && frameOfSample(sample, params) <= last; sample += kWindowSamples) {
        const double probability = probabilities[sample];
        const int frame = frameOfSample(sample, params);
        if (probability < 0.5) {
            pendingSum += probability;
            ++pendingSamples;
            continue;
        }
        if (open && frame - run.end - 1 < params.mergeGapFrames) {
            run.end = frame;
            run.probabilitySum += pendingSum + probability;
            run.samples += pendingSamples + 1;
        } else {
            if (open) runs.push_back(run);
            run = {frame, frame, probability, 1};
            open = true;
        }
        pendingSum = 0;
        pendingSamples = 0;
    }
    if (open) runs.push_back(run);
    return runs;
}

double playSeconds(const PlayRun& run, double fps) { return (run.end - run.start) / fps; }

bool isDoubtful(const RallySegment& rally, const std::vector<PlayRun>& runs,
                const std::vector<BallDetection>& detections, const std::set<int>& ballTracks,
                const EngineParams& params) {
    const double fps = framesPerSecond(params);
    double seconds = 0, probabilitySum = 0;
    int samples = 0;
    for (const PlayRun& run : runs) {
        seconds += playSeconds(run, fps);
        probabilitySum += run.probabilitySum;
        samples += run.samples;
    }
    const double meanProbability = samples > 0 ? probabilitySum / samples : 0.0;
    if (seconds >= params.doubtfulMinPlaySec || meanProbability >= params.doubtfulMinMeanProb) return false;

    bool seen = false;
    double left = 0, right = 0;
    for (const BallDetection& detection : detections) {
        if (detection.frame < rally.start || detection.frame > rally.end || !ballTracks.count(detection.trackId))
            continue;
        left = seen ? std::min(left, detection.cx()) : detection.cx();
        right = seen ? std::max(right, detection.cx()) : detection.cx();
        seen = true;
    }
    const double width = params.analysisWidth > 0 ? params.analysisWidth : 854;
    return (right - left) / width < params.doubtfulMinSpread;
}

// Middle of the longest pause with enough play on both sides.
std::optional<int> joinedPauseMiddle(const std::vector<PlayRun>& runs, const EngineParams& params) {
    const double fps = framesPerSecond(params);
    double total = 0;
    for (const PlayRun& run : runs) total += playSeconds(run, fps);
    double before = 0;
    int longest = -1;
    size_t longestAfter = 0;
    for (size_t i = 1; i < runs.size(); ++i) {
        before += playSeconds(runs[i - 1], fps);
        if (before < params.joinedMinBeforeSec || total - before < params.joinedMinAfterSec) continue;
        const int pause = runs[i].start - runs[i - 1].end;
        if (pause > longest) {
            longest = pause;
            longestAfter = i;
        }
    }
    if (longest < 0 || longest / fps < params.joinedMinGapSec) return std::nullopt;
    return (runs[longestAfter - 1].end + runs[longestAfter].start) / 2;
}

}  // namespace

std::vector<FrameHint> buildHints(const std::vector<double>& probabilities, const std::vector<RallySegment>& segments,
                                  const std::vector<BallDetection>& detections, const std::set<int>& ballTracks,
                                  const EngineParams& params) {
    std::vector<RallySegment> rallies;
    for (const RallySegment& segment : segments)
        if (!segment.suspicious) rallies.push_back(segment);
    const std::vector<FrameRange> covered = rallyRanges(rallies);

    std::vector<FrameHint> hints;
    const std::vector<FrameRange> curve = missedFromCurve(probabilities, covered, params);
    for (const FrameRange& piece : curve) hints.push_back({HintKind::Missed, piece.start, piece.end, 0});
    for (const FrameRange& region : missedFromFastTracks(detections, ballTracks, covered, curve, params))
        hints.push_back({HintKind::Missed, region.start, region.end, 0});

    for (const RallySegment& rally : rallies)
        if (isDoubtful(rally, playRuns(probabilities, rally.coreStart, rally.coreEnd, params), detections, ballTracks,
                       params))
            hints.push_back({HintKind::Doubtful, rally.start, rally.end, 0});
    for (const RallySegment& rally : rallies) {
        const auto middle = joinedPauseMiddle(playRuns(probabilities, rally.coreStart, rally.coreEnd, params), params);
        if (middle) hints.push_back({HintKind::Joined, rally.start, rally.end, *middle});
    }
    return hints;
}

}  // namespace rallinox
