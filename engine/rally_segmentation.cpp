#include "engine/rally_segmentation.h"

#include <algorithm>
#include <cmath>
#include <iostream>

namespace rallinox {

double framesPerSecond(const EngineParams& params) {
    return params.analysisFps > 0 ? params.analysisFps : 30.0;
}

namespace {

int strideOf(const EngineParams& params) { return std::max(1, params.frameStride); }

std::vector<RallySegment> playRunsAsSegments(const std::vector<double>& probabilities, const EngineParams& params) {
    std::vector<RallySegment> runs;
    const int stride = strideOf(params);
    size_t runStart = 0;
    bool open = false;
    auto close = [&](size_t last) {
        RallySegment segment;
        segment.coreStart = params.frameOffset + static_cast<int>(runStart) * stride;
        segment.coreEnd = params.frameOffset + static_cast<int>(last) * stride;
        segment.start = segment.coreStart;
        segment.end = segment.coreEnd;
        runs.push_back(segment);
    };
    for (size_t i = 0; i < probabilities.size(); ++i) {
        if (probabilities[i] >= 0.5) {
            if (!open) runStart = i;
            open = true;
        } else if (open) {
            close(i - 1);
            open = false;
        }
    }
    if (open) close(probabilities.size() - 1);
    return runs;
}

std::map<int, int> ballBoxesPerFrame(const std::vector<BallDetection>& detections, const std::set<int>& ballTracks) {
    std::map<int, int> counts;
    for (const BallDetection& detection : detections)
        if (ballTracks.count(detection.trackId)) ++counts[detection.frame];
    return counts;
}

// Several balls in play for a long stretch is a warm-up or a drill, not a rally.
bool looksLikeWarmup(const RallySegment& segment, const std::map<int, int>& ballsPerFrame, const EngineParams& params) {
    int framesWithBall = 0;
    int framesWithSeveral = 0;
    for (int frame = segment.coreStart; frame <= segment.coreEnd; frame += strideOf(params)) {
        auto found = ballsPerFrame.find(frame);
        if (found == ballsPerFrame.end()) continue;
        ++framesWithBall;
        if (found->second > 1) ++framesWithSeveral;
    }
    return framesWithBall > 0 &&
           static_cast<double>(framesWithSeveral) / framesWithBall >= params.warmupMultiBallShare;
}

double typicalPause(const std::vector<RallySegment>& unmarked, const EngineParams& params) {
    const double fps = framesPerSecond(params);
    std::vector<double> pauses;
    for (size_t i = 1; i < unmarked.size(); ++i) {
        const double pause = (unmarked[i].start - unmarked[i - 1].end) / fps;
        if (pause > 0 && pause < 45.0) pauses.push_back(pause);
    }
    if (pauses.size() < 3) return params.typicalGapMaxSec;
    double sum = 0;
    for (double pause : pauses) sum += pause;
    return std::min(sum / pauses.size(), params.typicalGapMaxSec);
}

// A suspicious segment stays when its dominant ball track is convincing and
// it does not follow the previous rally sooner than rallies usually follow each other.
bool confirmedByBallTrack(const RallySegment& segment, const std::vector<BallDetection>& detections,
                          const std::set<int>& ballTracks, const std::map<int, double>& trackProbabilities,
                          const std::vector<RallySegment>& unmarked, double pauseSec, const EngineParams& params) {
    std::map<int, std::vector<const BallDetection*>> byTrack;
    for (const BallDetection& detection : detections)
        if (detection.frame >= segment.start && detection.frame <= segment.end && ballTracks.count(detection.trackId))
            byTrack[detection.trackId].push_back(&detection);
    const std::vector<const BallDetection*>* dominant = nullptr;
    int dominantId = 0;
    for (const auto& [id, boxes] : byTrack) {
        if (!dominant || boxes.size() > dominant->size()) {
            dominant = &boxes;
            dominantId = id;
        }
    }
    if (!dominant) return false;

    auto probability = trackProbabilities.find(dominantId);
    if ((probability == trackProbabilities.end() ? 0.0 : probability->second) < params.confirmMinTrackProb) return false;
    double travel = 0;
    if (dominant->size() >= 2) {
        const BallDetection& first = *dominant->front();
        const BallDetection& last = *dominant->back();
        travel = std::hypot(last.x - first.x, last.y - first.y);
    }
    if (travel < params.confirmMinTravel) return false;

    bool havePrevious = false;
    int previousEnd = 0;
    for (const RallySegment& other : unmarked) {
        if (other.end < segment.start && (!havePrevious || other.end > previousEnd)) {
            previousEnd = other.end;
            havePrevious = true;
        }
    }
    return !havePrevious || (segment.start - previousEnd) / framesPerSecond(params) >= pauseSec;
}

bool byStart(const RallySegment& a, const RallySegment& b) { return a.start < b.start; }

}  // namespace

std::vector<RallySegment> segmentRallies(const std::vector<double>& probabilities,
                                         const std::vector<BallDetection>& detections,
                                         const std::set<int>& ballTracks, const EngineParams& params) {
    const double fps = framesPerSecond(params);
    std::vector<RallySegment> segments;
    for (const RallySegment& run : playRunsAsSegments(probabilities, params)) {
        if (!segments.empty() && run.coreStart - segments.back().coreEnd - 1 < params.mergeGapFrames) {
            segments.back().end = run.end;
            segments.back().coreEnd = run.coreEnd;
            segments.back().merged = true;
        } else {
            segments.push_back(run);
        }
    }

    const std::map<int, int> ballsPerFrame = ballBoxesPerFrame(detections, ballTracks);
    const int lastFrame = params.frameOffset + strideOf(params) * static_cast<int>(probabilities.size()) - 1;
    for (RallySegment& segment : segments) {
        segment.startPadSec = params.startPaddingSec;
        segment.endPadSec = params.endPaddingSec;
        segment.start = std::max(0, segment.coreStart - static_cast<int>(params.startPaddingSec * fps));
        segment.end = std::min(lastFrame, segment.coreEnd + static_cast<int>(params.endPaddingSec * fps));
        const double coreSec = (segment.coreEnd - segment.coreStart) / fps;
        if (coreSec < params.shortRallySec) segment.suspicious = true;
        if (params.warmupCheck && coreSec > params.warmupMinSec && looksLikeWarmup(segment, ballsPerFrame, params))
            segment.suspicious = true;
    }
    return segments;
}

std::vector<RallySegment> refineRallies(const std::vector<RallySegment>& segments,
                                        const std::vector<BallDetection>& detections,
                                        const std::set<int>& ballTracks,
                                        const std::map<int, double>& trackProbabilities,
                                        const EngineParams& params) {
    const double fps = framesPerSecond(params);
    std::vector<RallySegment> unmarked;
    for (const RallySegment& segment : segments)
        if (!segment.suspicious) unmarked.push_back(segment);
    std::stable_sort(unmarked.begin(), unmarked.end(), byStart);
    const double pauseSec = typicalPause(unmarked, params);

    std::vector<RallySegment> taken;
    for (RallySegment segment : segments) {
        if (segment.suspicious) {
            if (!confirmedByBallTrack(segment, detections, ballTracks, trackProbabilities, unmarked, pauseSec, params))
                continue;
            segment.suspicious = false;
        }
        taken.push_back(segment);
    }
    std::stable_sort(taken.begin(), taken.end(), byStart);

    std::vector<RallySegment> joined;
    for (const RallySegment& segment : taken) {
        if (!joined.empty()) {
            RallySegment& previous = joined.back();
            if (segment.start <= previous.end || (segment.start - previous.end) / fps <= params.joinGapSec) {
                previous.end = std::max(previous.end, segment.end);
                previous.coreStart = std::min(previous.coreStart, segment.coreStart);
                previous.coreEnd = std::max(previous.coreEnd, segment.coreEnd);
                previous.merged = true;
                previous.suspicious = false;
                continue;
            }
        }
        joined.push_back(segment);
    }

    const double minTotalSec = params.minRallySec + params.startPaddingSec + params.endPaddingSec;
    std::vector<RallySegment> rallies;
    for (const RallySegment& segment : joined) {
        const double totalSec = (segment.end - segment.start) / fps;
        if (totalSec < minTotalSec) {
            std::cout << "[INFO] Stage 11: Discarding rally (total duration " << totalSec << "s < " << minTotalSec
                      << "s threshold)" << std::endl;
            continue;
        }
        rallies.push_back(segment);
    }
    return rallies;
}

}  // namespace rallinox
