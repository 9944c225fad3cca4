#include "engine/ball_tracker.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <numeric>

#include <opencv2/core/matx.hpp>

#include "engine/assignment.h"

namespace rallinox {
namespace {

using State = cv::Vec<double, 8>;
using Covariance = cv::Matx<double, 8, 8>;
using Measurement = cv::Vec4d;

constexpr double kSmallTrackArea = 1600.0;
constexpr double kMahalanobisGate = 9.48;
constexpr double kMahalanobisGateSmall = 15.0;
constexpr double kLostDistanceFactorSmall = 1.8;
constexpr double kProcessNoiseFactorSmall = 5.0;
constexpr double kPaddingCost = 10000.0;

// A merged blob of one track frame; it becomes a track point as it is.
using TrackCandidate = TrackPoint;

TrackCandidate makeCandidate(int frame, int x, int y, int width, int height) {
    return {frame, x, y, width, height, x + 0.5 * width, y + 0.5 * height};
}

struct Box {
    double left, top, right, bottom;
    double centreX() const { return 0.5 * (left + right); }
    double centreY() const { return 0.5 * (top + bottom); }
    double area() const { return (right - left) * (bottom - top); }
};

// Intersection over union minus the squared centre distance over the squared
// diagonal of the smallest box enclosing both.
double distanceIoU(const Box& a, const Box& b) {
    const double overlapW = std::min(a.right, b.right) - std::max(a.left, b.left);
    const double overlapH = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    const double intersection = std::max(0.0, overlapW) * std::max(0.0, overlapH);
    const double unionArea = a.area() + b.area() - intersection;
    double iou = (intersection > 0 && unionArea > 0) ? intersection / unionArea : 0.0;
    const double enclosingW = std::max(a.right, b.right) - std::min(a.left, b.left);
    const double enclosingH = std::max(a.bottom, b.bottom) - std::min(a.top, b.top);
    const double diagonal2 = enclosingW * enclosingW + enclosingH * enclosingH;
    if (diagonal2 > 0) {
        const double dx = a.centreX() - b.centreX();
        const double dy = a.centreY() - b.centreY();
        iou -= (dx * dx + dy * dy) / diagonal2;
    }
    return iou;
}

class UnionFind {
public:
    explicit UnionFind(size_t count) : parent_(count), size_(count, 1) {
        std::iota(parent_.begin(), parent_.end(), size_t{0});
    }
    size_t find(size_t i) {
        while (parent_[i] != i) {
            parent_[i] = parent_[parent_[i]];
            i = parent_[i];
        }
        return i;
    }
    // Attaches the root of `a`'s set under the root of `b`'s set.
    void unite(size_t a, size_t b) {
        const size_t rootA = find(a);
        const size_t rootB = find(b);
        if (rootA != rootB) {
            parent_[rootA] = rootB;
            size_[rootB] += size_[rootA];
        }
    }
    size_t sizeOf(size_t i) { return size_[find(i)]; }

private:
    std::vector<size_t> parent_;
    std::vector<size_t> size_;
};

// Joins blobs of one frame that overlap or lie within `radius` of each other
// (pieces of one player, or a ball touching a hand); groups larger than
// `maxGroup` are crowds and are dropped.
std::vector<TrackCandidate> mergeCandidates(std::vector<TrackCandidate> candidates, double radius,
                                            int maxGroup) {
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const TrackCandidate& a, const TrackCandidate& b) { return a.x < b.x; });
    UnionFind groups(candidates.size());
    for (size_t i = 0; i < candidates.size(); ++i) {
        const TrackCandidate& a = candidates[i];
        for (size_t j = i + 1; j < candidates.size(); ++j) {
            const TrackCandidate& b = candidates[j];
            if (b.x - a.x - a.width > radius) {
                break;
            }
            const bool overlap = a.x < b.x + b.width && b.x < a.x + a.width &&
                                 a.y < b.y + b.height && b.y < a.y + a.height;
            if (overlap || std::hypot(a.cx - b.cx, a.cy - b.cy) <= radius) {
                groups.unite(i, j);
            }
        }
    }

    std::vector<TrackCandidate> merged;
    std::vector<bool> done(candidates.size(), false);
    for (size_t i = 0; i < candidates.size(); ++i) {
        const size_t root = groups.find(i);
        if (done[root]) {
            continue;
        }
        done[root] = true;
        if (groups.sizeOf(root) > static_cast<size_t>(maxGroup)) {
            continue;
        }
        int left = candidates[i].x, top = candidates[i].y;
        int right = left + candidates[i].width, bottom = top + candidates[i].height;
        for (size_t j = i + 1; j < candidates.size(); ++j) {
            if (groups.find(j) == root) {
                left = std::min(left, candidates[j].x);
                top = std::min(top, candidates[j].y);
                right = std::max(right, candidates[j].x + candidates[j].width);
                bottom = std::max(bottom, candidates[j].y + candidates[j].height);
            }
        }
        merged.push_back(makeCandidate(candidates[i].frame, left, top, right - left, bottom - top));
    }
    return merged;
}

struct KalmanTrack {
    int id = 0;
    int lastFrame = 0;
    double cx = 0, cy = 0;
    int width = 1, height = 1;
    std::vector<TrackPoint> points;
    State state;  // cx, cy, w, h and their velocities
    Covariance covariance;

    bool isSmall() const { return static_cast<double>(width) * height < kSmallTrackArea; }

    void refresh() {
        cx = state[0];
        cy = state[1];
        width = std::max(1, static_cast<int>(state[2]));
        height = std::max(1, static_cast<int>(state[3]));
    }

    void addPoint(const TrackCandidate& c) {
        lastFrame = c.frame;
        points.push_back(c);
    }
};

// What a track is compared with: its prediction, or its last point when lost.
struct Reference {
    double cx, cy;
    int width, height;
};

class Tracker {
public:
    explicit Tracker(const EngineParams& params) : params_(params) {
        const double scale = params.analysisHeight / 1080.0;
        mergeRadius_ = params.candidateMergeRadius * scale;
        maxDistance_ = params.maxAssociationDistance * scale;
        maxSizeChange_ = params.maxSizeChange * scale;
        maxHeight_ = params.maxCandidateHeight * scale;
        for (int i = 0; i < 4; ++i) {
            transition_(i, i + 4) = 1.0;
        }
        measurementNoise_ = cv::Matx44d::diag({params.measurementNoisePosition,
                                               params.measurementNoisePosition,
                                               params.measurementNoiseSize,
                                               params.measurementNoiseSize});
    }

    void step(int frame, const std::vector<TrackCandidate>& raw) {
        std::vector<TrackCandidate> candidates;
        if (!isBurst(raw.size())) {
            candidates = mergeCandidates(raw, mergeRadius_, params_.maxMergeGroup);
            recentCounts_.push_back(raw.size());
            if (recentCounts_.size() > static_cast<size_t>(std::max(0, params_.burstWindow))) {
                recentCounts_.pop_front();
            }
        }

        for (KalmanTrack& track : open_) {
            predict(track);
        }

        std::vector<size_t> recent, lost;
        for (size_t t = 0; t < open_.size(); ++t) {
            (frame - open_[t].lastFrame <= 1 ? recent : lost).push_back(t);
        }
        std::vector<bool> used(candidates.size(), false);
        if (!candidates.empty() && !open_.empty()) {
            auto accepted = associate(recent, true, candidates, used);
            const auto acceptedLost = associate(lost, false, candidates, used);
            accepted.insert(accepted.end(), acceptedLost.begin(), acceptedLost.end());
            for (const auto& [t, c] : accepted) {
                update(open_[t], candidates[c]);
            }
        }

        for (size_t c = 0; c < candidates.size(); ++c) {
            if (!used[c] && candidates[c].height <= maxHeight_) {
                openTrack(candidates[c]);
            }
        }
        retire(frame);
    }

    std::vector<KalmanTrack> finish() {
        for (KalmanTrack& track : open_) {
            finished_.push_back(std::move(track));
        }
        open_.clear();
        return std::move(finished_);
    }

private:
    // A frame with far more blobs than the recent frames is noise (a flash, a cut).
    bool isBurst(size_t count) const {
        if (recentCounts_.size() < 3 || count < static_cast<size_t>(params_.burstMinCandidates)) {
            return false;
        }
        const double mean =
            std::accumulate(recentCounts_.begin(), recentCounts_.end(), 0.0) / recentCounts_.size();
        return static_cast<double>(count) > mean * params_.burstFactor + params_.burstMargin;
    }

    void predict(KalmanTrack& track) const {
        const double factor = track.isSmall() ? kProcessNoiseFactorSmall : 1.0;
        Covariance noise;
        for (int i = 0; i < 4; ++i) {
            noise(i, i) = params_.processNoisePosition * factor;
            noise(i + 4, i + 4) = params_.processNoiseVelocity * factor;
        }
        track.state = transition_ * track.state;
        track.covariance = transition_ * track.covariance * transition_.t() + noise;
        track.refresh();
    }

    static cv::Matx<double, 4, 8> measurementMatrix() {
        cv::Matx<double, 4, 8> h;
        for (int i = 0; i < 4; ++i) {
            h(i, i) = 1.0;
        }
        return h;
    }

    cv::Matx44d innovationCovariance(const KalmanTrack& track) const {
        const auto h = measurementMatrix();
        return h * track.covariance * h.t() + measurementNoise_;
    }

    static Measurement innovation(const KalmanTrack& track, const TrackCandidate& c) {
        return Measurement(c.cx - track.state[0], c.cy - track.state[1], c.width - track.state[2],
                           c.height - track.state[3]);
    }

    void update(KalmanTrack& track, const TrackCandidate& c) const {
        const auto h = measurementMatrix();
        const cv::Matx<double, 8, 4> gain =
            track.covariance * h.t() * innovationCovariance(track).inv(cv::DECOMP_LU);
        track.state += gain * innovation(track, c);
        track.covariance = (Covariance::eye() - gain * h) * track.covariance;
        track.refresh();
        track.addPoint(c);
    }

    void openTrack(const TrackCandidate& c) {
        KalmanTrack track;
        track.id = nextId_++;
        track.state = State(c.cx, c.cy, c.width, c.height, 0, 0, 0, 0);
        track.covariance = Covariance::diag(State(1, 1, 10, 10, 1000, 1000, 1000, 1000));
        track.refresh();
        track.addPoint(c);
        open_.push_back(std::move(track));
    }

    // Tracks seen this frame stay; a track with enough points may coast for a
    // few frames and is then finished; a shorter one is forgotten at once.
    void retire(int frame) {
        std::vector<KalmanTrack> stillOpen;
        for (KalmanTrack& track : open_) {
            if (track.lastFrame == frame) {
                stillOpen.push_back(std::move(track));
            } else if (track.points.size() >= static_cast<size_t>(params_.minPointsToCoast)) {
                if (frame - track.lastFrame <= params_.maxLostFrames) {
                    stillOpen.push_back(std::move(track));
                } else {
                    finished_.push_back(std::move(track));
                }
            }
        }
        open_ = std::move(stillOpen);
    }

    static Reference referenceOf(const KalmanTrack& track, bool recent) {
        if (recent) {
            return {track.cx, track.cy, track.width, track.height};
        }
        const TrackPoint& last = track.points.back();
        return {last.cx, last.cy, last.width, last.height};
    }

    bool passesSizeGates(const Reference& ref, const TrackCandidate& c) const {
        const double ratioLimit =
            params_.sizeRatioAreaScale / std::max(1.0, static_cast<double>(ref.width) * ref.height) +
            params_.sizeRatioBase;
        if (ref.width > 0 && ref.height > 0) {
            const double widthRatio = static_cast<double>(c.width) / ref.width;
            const double heightRatio = static_cast<double>(c.height) / ref.height;
            for (const double ratio : {widthRatio, heightRatio}) {
                if (ratio > ratioLimit || ratio < 1.0 / ratioLimit) {
                    return false;
                }
            }
        }
        return std::abs(c.width - ref.width) <= maxSizeChange_ &&
               std::abs(c.height - ref.height) <= maxSizeChange_ && c.height <= maxHeight_;
    }

    bool isLinked(const KalmanTrack& track, const Reference& ref, bool recent,
                  const TrackCandidate& c, const cv::Matx44d& inverseInnovation) const {
        if (recent) {
            const Measurement y = innovation(track, c);
            const double d2 = y.dot(inverseInnovation * y);
            if (d2 <= params_.mahalanobisAcceptAll) {
                return true;
            }
            const double gate = track.isSmall() ? kMahalanobisGateSmall : kMahalanobisGate;
            return passesSizeGates(ref, c) && d2 <= gate;
        }
        const double limit = track.isSmall() ? kLostDistanceFactorSmall * maxDistance_ : maxDistance_;
        return passesSizeGates(ref, c) && std::hypot(c.cx - ref.cx, c.cy - ref.cy) <= limit;
    }

    double pairCost(const KalmanTrack& track, const Reference& ref, const TrackCandidate& c) const {
        const double left = static_cast<int>(ref.cx - ref.width / 2.0);
        const double top = static_cast<int>(ref.cy - ref.height / 2.0);
        const Box trackBox{left, top, left + ref.width, top + ref.height};
        const Box candidateBox{static_cast<double>(c.x), static_cast<double>(c.y),
                               static_cast<double>(c.x + c.width),
                               static_cast<double>(c.y + c.height)};
        const double weight = track.isSmall() ? 0.25 : 0.5;
        return (1.0 - weight * distanceIoU(trackBox, candidateBox)) *
               std::hypot(c.cx - ref.cx, c.cy - ref.cy);
    }

    // Links the tracks with the unused candidates: gated pairs form connected
    // groups, and each group is solved on its own by an optimal assignment.
    std::vector<std::pair<size_t, size_t>> associate(const std::vector<size_t>& tracks, bool recent,
                                                     const std::vector<TrackCandidate>& candidates,
                                                     std::vector<bool>& used) const {
        std::vector<std::pair<size_t, size_t>> accepted;
        if (tracks.empty()) {
            return accepted;
        }
        std::vector<Reference> refs;
        for (const size_t t : tracks) {
            refs.push_back(referenceOf(open_[t], recent));
        }
        // Nodes: tracks 0 .. T-1, then candidates T .. T+C-1.
        const size_t trackCount = tracks.size();
        UnionFind groups(trackCount + candidates.size());
        std::vector<bool> linked(trackCount + candidates.size(), false);
        for (size_t k = 0; k < trackCount; ++k) {
            const KalmanTrack& track = open_[tracks[k]];
            const cv::Matx44d inverse =
                recent ? innovationCovariance(track).inv(cv::DECOMP_LU) : cv::Matx44d();
            for (size_t c = 0; c < candidates.size(); ++c) {
                if (!used[c] && isLinked(track, refs[k], recent, candidates[c], inverse)) {
                    groups.unite(k, trackCount + c);
                    linked[k] = linked[trackCount + c] = true;
                }
            }
        }

        std::vector<bool> solved(trackCount + candidates.size(), false);
        for (size_t k = 0; k < trackCount; ++k) {
            const size_t root = groups.find(k);
            if (!linked[k] || solved[root]) {
                continue;
            }
            solved[root] = true;
            std::vector<size_t> groupTracks, groupCandidates;
            for (size_t other = k; other < trackCount; ++other) {
                if (groups.find(other) == root) {
                    groupTracks.push_back(other);
                }
            }
            for (size_t c = 0; c < candidates.size(); ++c) {
                if (linked[trackCount + c] && groups.find(trackCount + c) == root) {
                    groupCandidates.push_back(c);
                }
            }
            const int n = static_cast<int>(std::max(groupTracks.size(), groupCandidates.size()));
            std::vector<double> cost(static_cast<size_t>(n) * n, kPaddingCost);
            for (size_t r = 0; r < groupTracks.size(); ++r) {
                for (size_t c = 0; c < groupCandidates.size(); ++c) {
                    cost[r * n + c] = pairCost(open_[tracks[groupTracks[r]]], refs[groupTracks[r]],
                                               candidates[groupCandidates[c]]);
                }
            }
            const std::vector<int> columns = solveAssignment(cost, n);
            for (size_t r = 0; r < groupTracks.size(); ++r) {
                const size_t c = static_cast<size_t>(columns[r]);
                if (c < groupCandidates.size() && cost[r * n + c] <= maxDistance_) {
                    used[groupCandidates[c]] = true;
                    accepted.emplace_back(tracks[groupTracks[r]], groupCandidates[c]);
                }
            }
        }
        return accepted;
    }

    const EngineParams& params_;
    double mergeRadius_, maxDistance_, maxSizeChange_, maxHeight_;
    Covariance transition_ = Covariance::eye();
    cv::Matx44d measurementNoise_;

    std::vector<KalmanTrack> open_;
    std::vector<KalmanTrack> finished_;
    std::deque<size_t> recentCounts_;
    int nextId_ = 0;
};

std::vector<std::vector<TrackCandidate>> candidatesPerTrackFrame(
    const std::vector<FrameCandidates>& frames, int stride) {
    int lastFrame = -1;
    for (const FrameCandidates& frame : frames) {
        lastFrame = std::max(lastFrame, frame.frameIndex / stride);
    }
    std::vector<std::vector<TrackCandidate>> perFrame(static_cast<size_t>(lastFrame + 1));
    for (const FrameCandidates& frame : frames) {
        if (frame.frameIndex < 0) {
            continue;
        }
        auto& list = perFrame[static_cast<size_t>(frame.frameIndex / stride)];
        for (const BallCandidate& c : frame.candidates) {
            list.push_back(makeCandidate(frame.frameIndex / stride, c.x, c.y, c.w, c.h));
        }
    }
    return perFrame;
}

}  // namespace

std::vector<BallDetection> runStage2(const std::vector<FrameCandidates>& frames,
                                     const EngineParams& params, StageProgress progress) {
    const int stride = std::max(1, params.frameStride);
    const auto perFrame = candidatesPerTrackFrame(frames, stride);

    Tracker tracker(params);
    for (size_t i = 0; i < perFrame.size(); ++i) {
        tracker.step(static_cast<int>(i), perFrame[i]);
    }

    std::vector<BallDetection> detections;
    for (const KalmanTrack& track : tracker.finish()) {
        if (track.points.size() < static_cast<size_t>(params.minTrackPoints)) {
            continue;
        }
        for (const TrackPoint& p : track.points) {
            detections.push_back({p.frame * stride, track.id, p.x, p.y, p.width, p.height, false});
        }
    }
    if (progress) {
        progress(1.0f);
    }
    return detections;
}

}  // namespace rallinox
