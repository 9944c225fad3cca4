#include "engine/track_splitter.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <unordered_map>

#include "engine/statistics.h"

namespace rallinox {
namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kLargeAreaFactor = 7.1;

// Relative difference of two positive measures, softened by `tolerance`.
double relativeChange(double a, double b, double tolerance) {
    return std::abs(a - b) / (a + b + tolerance);
}

struct Tolerances {
    double referenceArea;
    double area;
    double speed;
    double aspect = 0.1;
};

struct PointMeasures {
    std::vector<double> area, aspect, speed, turn;  // speed and turn are 0 at point 0
};

PointMeasures measure(const std::vector<BallDetection>& points) {
    PointMeasures m;
    double previousHeading = 0.0;
    for (size_t j = 0; j < points.size(); ++j) {
        const BallDetection& p = points[j];
        m.area.push_back(static_cast<double>(p.width) * p.height);
        m.aspect.push_back(p.height < 1 ? 1.0 : static_cast<double>(p.width) / p.height);
        if (j == 0) {
            m.speed.push_back(0.0);
            m.turn.push_back(0.0);
            continue;
        }
        const BallDetection& q = points[j - 1];
        const double dx = p.cx() - q.cx();
        const double dy = p.cy() - q.cy();
        m.speed.push_back(std::hypot(dx, dy) / std::max(1, p.frame - q.frame));
        const double heading = std::atan2(dy, dx);
        double turn = std::fmod(std::abs(heading - previousHeading), 2 * std::numbers::pi);
        if (turn > std::numbers::pi) {
            turn = 2 * std::numbers::pi - turn;
        }
        m.turn.push_back(turn);
        previousHeading = heading;
    }
    return m;
}

struct WindowSummary {
    double area, aspect, speed, turn, speedSpread;
};

// Points first .. last inclusive; speed and turn only over moving points (index >= 1).
WindowSummary summarise(const PointMeasures& m, size_t first, size_t last) {
    std::vector<double> area, aspect, speed, turn;
    for (size_t j = first; j <= last; ++j) {
        area.push_back(m.area[j]);
        aspect.push_back(m.aspect[j]);
        if (j >= 1) {
            speed.push_back(m.speed[j]);
            turn.push_back(m.turn[j]);
        }
    }
    return {median(area), median(aspect), median(speed), median(turn), populationStdDev(speed)};
}

using FrameIndex = std::unordered_map<int, std::vector<const BallDetection*>>;

// Other tracks' detections within `radius` of the track's points first .. last.
int crowdCount(const std::vector<BallDetection>& points, size_t first, size_t last,
               const FrameIndex& byFrame, double radius) {
    int count = 0;
    for (size_t j = first; j <= last; ++j) {
        const BallDetection& p = points[j];
        const auto it = byFrame.find(p.frame);
        if (it == byFrame.end()) {
            continue;
        }
        for (const BallDetection* other : it->second) {
            if (other->trackId != p.trackId &&
                std::hypot(other->cx() - p.cx(), other->cy() - p.cy()) <= radius) {
                ++count;
            }
        }
    }
    return count;
}

// How strongly the track's character changes at every position d = M .. n-M-1
// (index d - M of the result).
std::vector<double> changeScores(const std::vector<BallDetection>& points, size_t halfWindow,
                                 const Tolerances& tol, const FrameIndex& byFrame,
                                 const EngineParams& params) {
    const PointMeasures m = measure(points);
    const size_t n = points.size();
    std::vector<double> scores;
    for (size_t d = halfWindow; d + halfWindow < n; ++d) {
        const WindowSummary left = summarise(m, d - halfWindow, d - 1);
        const WindowSummary right = summarise(m, d + 1, d + halfWindow);
        const size_t probe = d + 1;  // always a moving point, since d >= M >= 3
        const bool large = left.area >= kLargeAreaFactor * tol.referenceArea;
        const double sizeWeight = large ? 1.0 : 0.5;

        const double areaTerm = std::max(relativeChange(m.area[probe], left.area, tol.area),
                                         relativeChange(right.area, left.area, tol.area));
        const double speedTerm = std::max(relativeChange(m.speed[probe], left.speed, tol.speed),
                                          relativeChange(right.speed, left.speed, tol.speed));
        const double aspectTerm =
            std::max(relativeChange(m.aspect[probe], left.aspect, tol.aspect),
                     relativeChange(right.aspect, left.aspect, tol.aspect));
        double score =
            std::abs(right.turn - left.turn) * kDegreesPerRadian * params.splitHeadingWeight +
            sizeWeight * params.splitAreaWeight * areaTerm + params.splitSpeedWeight * speedTerm +
            sizeWeight * params.splitAspectWeight * aspectTerm +
            params.splitSpeedSpreadWeight *
                relativeChange(right.speedSpread, left.speedSpread, tol.speed);

        // Trackers swap identities where objects meet; alone, a change is the ball's own.
        const int crowd =
            crowdCount(points, d - halfWindow, d + halfWindow, byFrame, params.crowdRadius);
        if (crowd == 0) {
            score *= params.isolatedSplitFactor;
        } else if (crowd == 1) {
            score *= std::min(1.0, 0.5 * params.isolatedSplitFactor + 0.5);
        }
        scores.push_back(score);
    }
    return scores;
}

// Local peaks above the threshold, at least M positions apart (index into points).
std::vector<size_t> cutPoints(const std::vector<double>& scores, size_t halfWindow,
                              double threshold) {
    std::vector<size_t> cuts;
    size_t holdOff = 0;
    for (size_t k = 0; k < scores.size(); ++k) {
        if (holdOff > 0) {
            --holdOff;
            continue;
        }
        const bool peak = scores[k] > threshold && (k == 0 || scores[k] >= scores[k - 1]) &&
                          (k + 1 == scores.size() || scores[k] >= scores[k + 1]);
        if (peak) {
            cuts.push_back(k + halfWindow);
            holdOff = halfWindow;
        }
    }
    return cuts;
}

}  // namespace

SplitResult runStage4(const std::vector<BallDetection>& detections,
                      const std::vector<TrackFeatures>& survivors, const EngineParams& params) {
    SplitResult result;
    std::vector<int> survivorIds;
    for (const TrackFeatures& record : survivors) {
        survivorIds.push_back(record.trackId);
    }
    std::sort(survivorIds.begin(), survivorIds.end());

    std::map<int, std::vector<BallDetection>> tracks;
    FrameIndex byFrame;
    std::vector<double> areas;
    int largestId = -1;
    for (const BallDetection& d : detections) {
        if (std::binary_search(survivorIds.begin(), survivorIds.end(), d.trackId)) {
            tracks[d.trackId].push_back(d);
            areas.push_back(static_cast<double>(d.width) * d.height);
            largestId = std::max(largestId, d.trackId);
        }
    }
    if (tracks.empty()) {
        return result;
    }
    for (auto& [id, points] : tracks) {
        std::stable_sort(points.begin(), points.end(),
                         [](const BallDetection& a, const BallDetection& b) {
                             return a.frame < b.frame;
                         });
        for (const BallDetection& d : points) {
            byFrame[d.frame].push_back(&d);
        }
    }

    Tolerances tol;
    tol.referenceArea = median(areas);
    if (tol.referenceArea <= 1.0) {
        tol.referenceArea = 225.0;
    }
    tol.area = std::max(4.0, 0.02 * tol.referenceArea);
    tol.speed = std::max(0.25, 0.015 * std::sqrt(tol.referenceArea));

    const size_t halfWindow = static_cast<size_t>(std::max(3, params.splitHalfWindow));
    int nextId = largestId + 1;
    for (const auto& [id, points] : tracks) {
        std::vector<size_t> cuts;
        if (points.size() >= 2 * halfWindow + 1) {
            cuts = cutPoints(changeScores(points, halfWindow, tol, byFrame, params), halfWindow,
                             params.splitThreshold);
        }
        int currentId = id;
        size_t nextCut = 0;
        for (size_t j = 0; j < points.size(); ++j) {
            BallDetection p = points[j];
            if (nextCut < cuts.size() && cuts[nextCut] == j) {
                result.splits.push_back({currentId, p.frame, p.cx(), p.cy()});
                currentId = nextId++;
                ++nextCut;
            }
            p.trackId = currentId;
            result.detections.push_back(p);
        }
    }

    for (const SplitRecord& split : result.splits) {
        result.changedTrackIds.insert(split.oldId);
    }
    for (int id = largestId + 1; id < nextId; ++id) {
        result.changedTrackIds.insert(id);
    }
    return result;
}

}  // namespace rallinox
