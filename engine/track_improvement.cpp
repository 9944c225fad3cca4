#include "engine/track_improvement.h"

#include <algorithm>
#include <cmath>

namespace rallinox {

namespace {

constexpr double kEdgeMargin = 0.05;  // share of the picture
constexpr double kStaticMaxTravel1080 = 25.0;
constexpr double kStaticMaxProbability = 0.85;
constexpr int kRescueSlackFrames = 5;

double probabilityOf(const std::map<int, double>& trackProbability, int id) {
    auto found = trackProbability.find(id);
    return found == trackProbability.end() ? 0.0 : found->second;
}

bool nearEdge(double x, double y) {
    return x < kEdgeMargin || x > 1 - kEdgeMargin || y < kEdgeMargin || y > 1 - kEdgeMargin;
}

bool touchesEdge(const TrackFeatures& track) {
    return nearEdge(track.Start_X, track.Start_Y) || nearEdge(track.End_X, track.End_Y);
}

double pixelsAt1080(double pixels, const EngineParams& params) { return pixels * params.analysisHeight / 1080.0; }

bool isStatic(const TrackFeatures& track, double probability, const EngineParams& params) {
    const double travel = std::max(params.analysisWidth * track.Max_X_Displacement,
                                   params.analysisHeight * track.Max_Y_Displacement);
    return travel < pixelsAt1080(kStaticMaxTravel1080, params) && !touchesEdge(track) &&
           probability < kStaticMaxProbability;
}

// A weaker ball track sharing most of its time with a stronger one is the
// tracker following something else beside the ball.
bool isWeakerTwin(const TrackFeatures& track, double probability, const std::map<int, const TrackFeatures*>& others,
                  const std::map<int, double>& trackProbability, const EngineParams& params) {
    for (const auto& [id, other] : others) {
        if (id == track.trackId) continue;
        const int overlapEnd = std::min(track.endFrame, other->endFrame);
        const int overlapStart = std::max(track.startFrame, other->startFrame);
        if (overlapEnd < overlapStart) continue;
        const int shorter = std::min(track.Duration, other->Duration);
        const double ratio = shorter > 0 ? (overlapEnd - overlapStart + 1) / static_cast<double>(shorter) : 0.0;
        if (ratio >= params.overlapMinRatio && probability < probabilityOf(trackProbability, id) &&
            probability < params.overlapMaxProbability)
            return true;
    }
    return false;
}

// Frames between two spans; 0 when they overlap.
int framesApart(const TrackFeatures& a, const TrackFeatures& b) {
    return std::max({0, b.startFrame - a.endFrame, a.startFrame - b.endFrame});
}

bool isIsolatedShort(const TrackFeatures& track, const std::map<int, const TrackFeatures*>& others,
                     const EngineParams& params) {
    if (track.Duration >= params.isolatedMinDuration || touchesEdge(track)) return false;
    for (const auto& [id, other] : others)
        if (id != track.trackId && framesApart(track, *other) < params.isolationFrames) return false;
    return true;
}

void pruneBallTracks(const std::map<int, const TrackFeatures*>& records,
                     const std::map<int, double>& trackProbability, std::set<int>& ballTrackIds,
                     const EngineParams& params) {
    std::map<int, const TrackFeatures*> ballRecords;
    for (int id : ballTrackIds)
        if (auto found = records.find(id); found != records.end()) ballRecords.emplace(id, found->second);

    std::vector<int> removed;
    for (int id : ballTrackIds) {
        auto found = ballRecords.find(id);
        const double probability = probabilityOf(trackProbability, id);
        if (found == ballRecords.end() || probability < params.ballProbabilityThreshold ||
            isStatic(*found->second, probability, params) ||
            isWeakerTwin(*found->second, probability, ballRecords, trackProbability, params) ||
            isIsolatedShort(*found->second, ballRecords, params))
            removed.push_back(id);
    }
    for (int id : removed) ballTrackIds.erase(id);
}

// The candidate must start near where the earlier ball track ended and end
// near where the later one began. Positions are shares of the picture, so
// they are brought back to analysis pixels.
bool bridgesGap(const TrackFeatures& before, const TrackFeatures& candidate, const TrackFeatures& after,
                const EngineParams& params) {
    const double limit = pixelsAt1080(params.rescueMaxDistance, params);
    auto distance = [&](double x0, double y0, double x1, double y1) {
        return std::hypot((x1 - x0) * params.analysisWidth, (y1 - y0) * params.analysisHeight);
    };
    return distance(before.End_X, before.End_Y, candidate.Start_X, candidate.Start_Y) <= limit &&
           distance(candidate.End_X, candidate.End_Y, after.Start_X, after.Start_Y) <= limit;
}

void rescueBallTracks(const std::vector<TrackFeatures>& tracks, const std::map<int, double>& trackProbability,
                      std::set<int>& ballTrackIds, const EngineParams& params) {
    std::vector<const TrackFeatures*> ballRecords;
    for (const TrackFeatures& track : tracks)
        if (ballTrackIds.count(track.trackId)) ballRecords.push_back(&track);
    std::stable_sort(ballRecords.begin(), ballRecords.end(),
                     [](const TrackFeatures* a, const TrackFeatures* b) { return a->startFrame < b->startFrame; });

    for (size_t i = 1; i < ballRecords.size(); ++i) {
        const TrackFeatures& before = *ballRecords[i - 1];
        const TrackFeatures& after = *ballRecords[i];
        const int gap = after.startFrame - before.endFrame;
        if (gap <= params.rescueMinGap || gap > params.rescueMaxGap) continue;
        const TrackFeatures* best = nullptr;
        double bestProbability = params.rescueMinProbability;
        for (const TrackFeatures& candidate : tracks) {
            if (ballTrackIds.count(candidate.trackId) || candidate.startFrame < before.endFrame - kRescueSlackFrames ||
                candidate.endFrame > after.startFrame + kRescueSlackFrames ||
                !bridgesGap(before, candidate, after, params))
                continue;
            const double probability = probabilityOf(trackProbability, candidate.trackId);
            if (probability > bestProbability) {
                best = &candidate;
                bestProbability = probability;
            }
        }
        if (best) ballTrackIds.insert(best->trackId);
    }
}

bool centreNearEdge(const BallDetection& box, const EngineParams& params) {
    const double width = params.analysisWidth;
    const double height = params.analysisHeight;
    return box.cx() < kEdgeMargin * width || box.cx() > (1 - kEdgeMargin) * width || box.cy() < kEdgeMargin * height ||
           box.cy() > (1 - kEdgeMargin) * height;
}

bool byFrameThenTrack(const BallDetection& a, const BallDetection& b) {
    return a.frame != b.frame ? a.frame < b.frame : a.trackId < b.trackId;
}

std::vector<BallDetection> fillGaps(const std::vector<BallDetection>& detections, const std::set<int>& ballTrackIds,
                                    const EngineParams& params) {
    std::vector<BallDetection> ballBoxes;
    for (const BallDetection& detection : detections)
        if (ballTrackIds.count(detection.trackId)) ballBoxes.push_back(detection);
    std::vector<BallDetection> output = detections;
    if (ballBoxes.empty()) return output;
    std::stable_sort(ballBoxes.begin(), ballBoxes.end(), byFrameThenTrack);

    for (size_t i = 1; i < ballBoxes.size(); ++i) {
        const BallDetection& a = ballBoxes[i - 1];
        const BallDetection& b = ballBoxes[i];
        const int n = b.frame - a.frame;
        if (n <= 1 || n > params.gapFillMaxFrames || centreNearEdge(a, params) || centreNearEdge(b, params)) continue;
        for (int j = 1; j < n; ++j) {
            auto between = [j, n](int from, int to) { return static_cast<int>(from + (to - from) * double(j) / n); };
            BallDetection box;
            box.frame = a.frame + j;
            box.trackId = a.trackId;
            box.x = between(a.x, b.x);
            box.y = between(a.y, b.y);
            box.width = between(a.width, b.width);
            box.height = between(a.height, b.height);
            box.interpolated = true;
            output.push_back(box);
        }
    }
    std::stable_sort(output.begin(), output.end(), byFrameThenTrack);
    return output;
}

}  // namespace

std::vector<BallDetection> runStage7(const std::vector<BallDetection>& detections,
                                     const std::vector<TrackFeatures>& tracks,
                                     const std::map<int, double>& trackProbability, std::set<int>& ballTrackIds,
                                     const EngineParams& params) {
    std::map<int, const TrackFeatures*> records;
    for (const TrackFeatures& track : tracks) records.emplace(track.trackId, &track);
    pruneBallTracks(records, trackProbability, ballTrackIds, params);
    rescueBallTracks(tracks, trackProbability, ballTrackIds, params);
    return fillGaps(detections, ballTrackIds, params);
}

}  // namespace rallinox
