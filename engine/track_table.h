// The working data of one track-feature pass: every track with its gaps
// filled, per-frame indexes of all objects, and the reference sizes and
// speeds of the scene per grid cell.
#pragma once

#include <array>
#include <vector>

#include "engine/ball_detection.h"
#include "engine/engine_params.h"

namespace rallinox {

constexpr int kGridSize = 4;
constexpr int kGridCells = kGridSize * kGridSize;

struct TablePoint {
    TrackPoint point;    // frame in track frames (divided by the frame stride)
    double speed = 0.0;  // pixels per frame to the next point (the last repeats the one before)
    int cell = 0;        // grid cell of the centre
};

struct TableTrack {
    int id = 0;
    std::vector<TablePoint> points;  // in frame order, gaps filled
    double extentX = 0.0;            // max cx - min cx, pixels
    double extentY = 0.0;
    double interpolationRatio = 0.0;  // share of points made by gap filling
};

// One object in one frame.
struct FrameEntry {
    int trackId = 0;
    double cx = 0.0;
    double cy = 0.0;
    double area = 0.0;  // width x height
    double speed = 0.0;
};

// Reference width, height and speed per grid cell.
struct SceneReference {
    std::array<double, kGridCells> width{}, height{}, speed{};
};

struct TrackTable {
    double frameWidth = 1920.0;  // estimated from the detections
    double frameHeight = 1080.0;
    std::vector<TableTrack> tracks;  // more than 2 points each, ascending id
    SceneReference reference;
    int firstFrame = 0;
    std::vector<std::vector<FrameEntry>> entries;  // index: frame - firstFrame

    const std::vector<FrameEntry>& entriesAt(int frame) const {
        return entries[static_cast<size_t>(frame - firstFrame)];
    }
    int cellOf(double cx, double cy) const;
};

TrackTable buildTrackTable(const std::vector<BallDetection>& detections, const EngineParams& params);

// Per track (table order): the largest x and y extents among all tracks whose
// span meets [middle frame - radius, middle frame + radius], 100 when not positive.
std::vector<std::array<double, 2>> coTemporalExtents(const TrackTable& table, int radius);

}  // namespace rallinox
