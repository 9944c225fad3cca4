#include "engine/track_culling.h"

#include <algorithm>
#include <cmath>

#include "engine/statistics.h"

namespace rallinox {
namespace {

constexpr double kHighInPicture = 0.1;
constexpr double kFewObjectsAbove = 0.2;

struct FlightFit {
    double diameter = 1.0;
    double travelled = 0.0;  // in diameters
    double fit = 0.0;
    double gravity = 0.0;  // diameters per frame squared at 30 frames per second
};

FlightFit fitFlight(const std::vector<TrackPoint>& points, double analysisFps) {
    FlightFit result;
    const size_t count = points.size();
    if (count < 2) {
        return result;
    }
    const double n = static_cast<double>(count);

    std::vector<double> areas, xs, ys, frames;
    for (const TrackPoint& p : points) {
        areas.push_back(static_cast<double>(p.width) * p.height);
        xs.push_back(p.cx);
        ys.push_back(p.cy);
        frames.push_back(p.frame);
    }
    std::sort(areas.begin(), areas.end());
    result.diameter = std::max(1.0, std::sqrt(areas[count / 2]));
    const auto [minX, maxX] = std::minmax_element(xs.begin(), xs.end());
    const auto [minY, maxY] = std::minmax_element(ys.begin(), ys.end());
    result.travelled = std::max(*maxX - *minX, *maxY - *minY) / result.diameter;

    // Least squares on centred time: y = a t^2 + b t + c, x = s t + mean x.
    const double meanFrame = mean(frames);
    const double meanX = mean(xs);
    double s2 = 0, s3 = 0, s4 = 0, sy = 0, sty = 0, st2y = 0, stx = 0;
    for (size_t i = 0; i < count; ++i) {
        const double t = frames[i] - meanFrame;
        s2 += t * t, s3 += t * t * t, s4 += t * t * t * t;
        sy += ys[i], sty += t * ys[i], st2y += t * t * ys[i];
        stx += t * xs[i];
    }
    const double det = s4 * s2 * n - s3 * s3 * n - s2 * s2 * s2;
    double a = 0.0, mseY = 0.0;
    if (std::abs(det) >= 1e-9) {
        a = (st2y * s2 * n - sty * s3 * n - s2 * s2 * sy) / det;
        const double b = (sty - a * s3) / s2;
        const double c = (sy - a * s2) / n;
        for (size_t i = 0; i < count; ++i) {
            const double t = frames[i] - meanFrame;
            const double r = ys[i] - a * t * t - b * t - c;
            mseY += r * r;
        }
        mseY /= n;
    }
    const double slope = s2 > 0 ? stx / s2 : 0.0;
    double mseX = 0.0;
    for (size_t i = 0; i < count; ++i) {
        const double r = xs[i] - slope * (frames[i] - meanFrame) - meanX;
        mseX += r * r;
    }
    mseX /= n;

    const double sdX = populationStdDev(xs);
    const double sdY = populationStdDev(ys);
    const double variance = sdX * sdX + sdY * sdY;
    result.fit = variance > 1e-6 ? 1.0 - (mseX + mseY) / variance : 0.0;
    const double rate = analysisFps / 30.0;
    result.gravity = 2.0 * a / result.diameter * rate * rate;
    return result;
}

void reportDone(StageProgress& progress) {
    if (progress) {
        progress(1.0f);
    }
    progress = nullptr;
}

}  // namespace

bool passesBallScoreGate(const BallScoreEvidence& e, const EngineParams& params) {
    if (e.duration <= 0) {
        return false;
    }
    if (e.highestCy < kHighInPicture * e.frameHeight || e.meanAboveRatio < kFewObjectsAbove) {
        return true;
    }
    double scale = 0.3 * e.largestExtentX + 0.7 * e.largestExtentY;
    if (scale <= 0) {
        scale = 100.0;
    }
    const double relativeExtent = (0.3 * e.extentX + 0.7 * e.extentY) / scale;
    const double score = params.ballScoreExtentWeight * relativeExtent +
                         params.ballScoreDurationWeight * (e.duration / 30.0) +
                         params.ballScoreEfficiencyWeight * (e.pathEfficiency * relativeExtent);
    return score >= params.ballScoreThreshold;
}

bool passesFlightGate(const std::vector<TrackPoint>& points, const EngineParams& params) {
    const FlightFit flight = fitFlight(points, params.analysisFps);
    if (flight.travelled >= params.flightMinTravel) {
        return true;
    }
    return points.size() >= static_cast<size_t>(std::max(0, params.flightMinPoints)) &&
           flight.fit >= params.flightMinFit && flight.gravity >= params.flightMinGravity &&
           flight.gravity <= params.flightMaxGravity;
}

std::vector<TrackFeatures> runStage3(const std::vector<BallDetection>& detections,
                                     const EngineParams& params, StageProgress progress) {
    std::vector<TrackFeatures> survivors =
        extractTrackFeatures(detections, FeatureMode::CullByBallScore, params);
    reportDone(progress);
    return survivors;
}

std::vector<TrackFeatures> runStage5(const std::vector<BallDetection>& detections,
                                     const std::set<int>& changedTrackIds,
                                     const EngineParams& params, StageProgress progress) {
    std::vector<BallDetection> changed;
    for (const BallDetection& d : detections) {
        if (changedTrackIds.count(d.trackId) > 0) {
            changed.push_back(d);
        }
    }
    std::set<int> passed;
    if (!changed.empty()) {
        for (const TrackFeatures& record :
             extractTrackFeatures(changed, FeatureMode::CullByFlight, params)) {
            passed.insert(record.trackId);
        }
    }
    std::vector<BallDetection> kept;
    for (const BallDetection& d : detections) {
        if (changedTrackIds.count(d.trackId) == 0 || passed.count(d.trackId) > 0) {
            kept.push_back(d);
        }
    }
    std::vector<TrackFeatures> records;
    if (!kept.empty()) {
        records = extractTrackFeatures(kept, FeatureMode::FullFeatures, params);
    }
    reportDone(progress);
    return records;
}

}  // namespace rallinox
