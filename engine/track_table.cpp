#include "engine/track_table.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>

#include "engine/statistics.h"

namespace rallinox {
namespace {

constexpr double kFallbackExtent = 100.0;

TrackPoint toPoint(int frame, int x, int y, int width, int height) {
    return {frame, x, y, width, height, x + 0.5 * width, y + 0.5 * height};
}

// Points of one track with every missing frame filled by linear interpolation.
std::vector<TrackPoint> filledPoints(std::vector<BallDetection>& detections, int stride) {
    for (BallDetection& d : detections) {
        d.frame /= stride;
    }
    std::stable_sort(detections.begin(), detections.end(),
                     [](const BallDetection& a, const BallDetection& b) { return a.frame < b.frame; });
    std::vector<TrackPoint> points;
    for (size_t k = 0; k < detections.size(); ++k) {
        const BallDetection& b = detections[k];
        if (k > 0) {
            const BallDetection& a = detections[k - 1];
            const int gap = b.frame - a.frame;
            for (int j = a.frame + 1; j < b.frame; ++j) {
                const double e = static_cast<double>(j - a.frame) / gap;
                const auto lerp = [e](int from, int to) {
                    return static_cast<int>(from + (to - from) * e);
                };
                points.push_back(toPoint(j, lerp(a.x, b.x), lerp(a.y, b.y), lerp(a.width, b.width),
                                         lerp(a.height, b.height)));
            }
        }
        points.push_back(toPoint(b.frame, b.x, b.y, b.width, b.height));
    }
    return points;
}

double positiveOr(double value, double fallback) { return value > 0 ? value : fallback; }

SceneReference sceneReference(const std::vector<TableTrack>& tracks, const EngineParams& params) {
    std::vector<double> widths, heights, speeds;
    std::array<std::vector<double>, kGridCells> cellWidths, cellHeights, cellSpeeds;
    for (const TableTrack& track : tracks) {
        for (const TablePoint& p : track.points) {
            widths.push_back(p.point.width);
            heights.push_back(p.point.height);
            speeds.push_back(p.speed);
            cellWidths[p.cell].push_back(p.point.width);
            cellHeights[p.cell].push_back(p.point.height);
            cellSpeeds[p.cell].push_back(p.speed);
        }
    }
    const auto cellReference = [&params](const std::vector<double>& values, double global) {
        double ref = global;
        if (values.size() >= static_cast<size_t>(std::max(0, params.cellMinSamples))) {
            ref = std::clamp(median(values), params.cellRefMinFactor * global,
                             params.cellRefMaxFactor * global);
        }
        return positiveOr(ref, 1.0);
    };
    const double globalWidth = median(widths, 1.0);
    const double globalHeight = median(heights, 1.0);
    const double globalSpeed = median(speeds, 1.0);
    SceneReference ref;
    for (int cell = 0; cell < kGridCells; ++cell) {
        ref.width[cell] = cellReference(cellWidths[cell], globalWidth);
        ref.height[cell] = cellReference(cellHeights[cell], globalHeight);
        ref.speed[cell] = cellReference(cellSpeeds[cell], globalSpeed);
    }
    return ref;
}

}  // namespace

int TrackTable::cellOf(double cx, double cy) const {
    const auto index = [](double value, double span) {
        return std::clamp(static_cast<int>(value / (span / kGridSize)), 0, kGridSize - 1);
    };
    return index(cy, frameHeight) * kGridSize + index(cx, frameWidth);
}

TrackTable buildTrackTable(const std::vector<BallDetection>& detections, const EngineParams& params) {
    TrackTable table;
    int right = 0, bottom = 0;
    std::map<int, std::vector<BallDetection>> byTrack;
    for (const BallDetection& d : detections) {
        right = std::max(right, d.x + d.width);
        bottom = std::max(bottom, d.y + d.height);
        byTrack[d.trackId].push_back(d);
    }
    table.frameWidth = positiveOr(right, 1920.0);
    table.frameHeight = positiveOr(bottom, 1080.0);

    const int stride = std::max(1, params.frameStride);
    int lastFrame = 0;
    for (auto& [id, trackDetections] : byTrack) {
        const size_t detected = trackDetections.size();
        const std::vector<TrackPoint> points = filledPoints(trackDetections, stride);
        if (points.size() <= 2) {
            continue;
        }
        TableTrack track;
        track.id = id;
        track.interpolationRatio = 1.0 - static_cast<double>(detected) / points.size();
        double minX = points[0].cx, maxX = minX, minY = points[0].cy, maxY = minY;
        for (size_t i = 0; i < points.size(); ++i) {
            const TrackPoint& p = points[i];
            // Speed of the step to the next point; the last point repeats the step before it.
            const size_t from = i + 1 < points.size() ? i : i - 1;
            const TrackPoint& a = points[from];
            const TrackPoint& b = points[from + 1];
            const double speed = std::hypot(b.cx - a.cx, b.cy - a.cy) / std::max(1, b.frame - a.frame);
            track.points.push_back({p, speed, table.cellOf(p.cx, p.cy)});
            minX = std::min(minX, p.cx);
            maxX = std::max(maxX, p.cx);
            minY = std::min(minY, p.cy);
            maxY = std::max(maxY, p.cy);
        }
        track.extentX = maxX - minX;
        track.extentY = maxY - minY;
        table.firstFrame = table.tracks.empty() ? points.front().frame
                                                : std::min(table.firstFrame, points.front().frame);
        lastFrame = std::max(lastFrame, points.back().frame);
        table.tracks.push_back(std::move(track));
    }
    table.reference = sceneReference(table.tracks, params);

    if (!table.tracks.empty()) {
        table.entries.resize(static_cast<size_t>(lastFrame - table.firstFrame + 1));
    }
    for (const TableTrack& track : table.tracks) {
        for (const TablePoint& p : track.points) {
            table.entries[static_cast<size_t>(p.point.frame - table.firstFrame)].push_back(
                {track.id, p.point.cx, p.point.cy,
                 static_cast<double>(p.point.width) * p.point.height, p.speed});
        }
    }
    return table;
}

std::vector<std::array<double, 2>> coTemporalExtents(const TrackTable& table, int radius) {
    // Largest extents of the tracks present in every frame ...
    const size_t frameCount = table.entries.size();
    std::array<std::vector<double>, 2> present;
    for (auto& perFrame : present) {
        perFrame.assign(frameCount, 0.0);
    }
    for (const TableTrack& track : table.tracks) {
        const size_t first = static_cast<size_t>(track.points.front().point.frame - table.firstFrame);
        const size_t last = static_cast<size_t>(track.points.back().point.frame - table.firstFrame);
        for (size_t f = first; f <= last; ++f) {
            present[0][f] = std::max(present[0][f], track.extentX);
            present[1][f] = std::max(present[1][f], track.extentY);
        }
    }
    // ... then their maximum over a window of +-radius frames (monotonic queue).
    std::array<std::vector<double>, 2> around;
    const long r = std::max(0, radius);
    const long n = static_cast<long>(frameCount);
    for (int axis = 0; axis < 2; ++axis) {
        const std::vector<double>& values = present[axis];
        around[axis].assign(frameCount, 0.0);
        std::deque<long> window;
        for (long i = 0; i < n + r; ++i) {
            if (i < n) {
                while (!window.empty() && values[window.back()] <= values[i]) {
                    window.pop_back();
                }
                window.push_back(i);
            }
            const long centre = i - r;
            if (centre < 0) {
                continue;
            }
            while (window.front() < centre - r) {
                window.pop_front();
            }
            around[axis][centre] = values[window.front()];
        }
    }

    std::vector<std::array<double, 2>> extents;
    for (const TableTrack& track : table.tracks) {
        const int middle = (track.points.front().point.frame + track.points.back().point.frame) / 2;
        const size_t f = static_cast<size_t>(middle - table.firstFrame);
        extents.push_back({positiveOr(around[0][f], kFallbackExtent),
                           positiveOr(around[1][f], kFallbackExtent)});
    }
    return extents;
}

}  // namespace rallinox
