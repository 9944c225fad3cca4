#include "engine/window_features.h"

#include "engine/rally_segmentation.h"

#include <algorithm>
#include <cmath>

namespace rallinox {

namespace {

// Stretches this close together count as one run of ball presence.
constexpr int kRunJoinGapFrames = 15;
constexpr int kRunStartFrames = 5;
constexpr int kHalfWindowFrames = 30;

struct BallRun {
    int start = 0;
    int end = 0;
    double startVx = 0;  // pixels per frame
    double startVy = 0;
};

struct BallPath {
    std::vector<char> active;
    std::vector<double> x, y, vx, vy;
};

struct Spread {
    double mean = 0;
    double std = 0;
    double min = 0;
    double max = 0;
};

Spread spreadOf(const std::vector<double>& values) {
    Spread spread;
    if (values.empty()) return spread;
    double sum = 0;
    spread.min = spread.max = values.front();
    for (double value : values) {
        sum += value;
        spread.min = std::min(spread.min, value);
        spread.max = std::max(spread.max, value);
    }
    spread.mean = sum / values.size();
    if (values.size() >= 2) {
        double squares = 0;
        for (double value : values) squares += (value - spread.mean) * (value - spread.mean);
        spread.std = std::sqrt(squares / values.size());
    }
    return spread;
}

// Picks one ball per frame, following the ball already chosen when several
// ball boxes share a frame.
BallPath followBall(const std::vector<BallDetection>& detections, const std::set<int>& ballTrackIds, int count,
                    int frameOffset) {
    std::vector<std::vector<const BallDetection*>> boxes(count);
    for (const BallDetection& detection : detections) {
        const int frame = detection.frame - frameOffset;
        if (frame >= 0 && frame < count && ballTrackIds.count(detection.trackId)) boxes[frame].push_back(&detection);
    }
    BallPath path;
    path.active.assign(count, 0);
    path.x.assign(count, 0);
    path.y.assign(count, 0);
    path.vx.assign(count, 0);
    path.vy.assign(count, 0);
    bool chosenBefore = false;
    double lastX = 0, lastY = 0;
    for (int frame = 0; frame < count; ++frame) {
        if (boxes[frame].empty()) continue;
        const BallDetection* best = boxes[frame].front();
        for (const BallDetection* box : boxes[frame]) {
            const bool better = chosenBefore ? std::hypot(box->cx() - lastX, box->cy() - lastY) <
                                                   std::hypot(best->cx() - lastX, best->cy() - lastY)
                                             : box->cy() < best->cy();
            if (better) best = box;
        }
        lastX = best->cx();
        lastY = best->cy();
        chosenBefore = true;
        path.active[frame] = 1;
        path.x[frame] = lastX;
        path.y[frame] = lastY;
        if (frame > 0 && path.active[frame - 1]) {
            path.vx[frame] = lastX - path.x[frame - 1];
            path.vy[frame] = lastY - path.y[frame - 1];
        }
    }
    return path;
}

std::vector<BallRun> findRuns(const BallPath& path) {
    std::vector<BallRun> runs;
    const int count = static_cast<int>(path.active.size());
    for (int frame = 0; frame < count; ++frame) {
        if (!path.active[frame]) continue;
        int last = frame;
        while (last + 1 < count && path.active[last + 1]) ++last;
        if (!runs.empty() && frame - runs.back().end - 1 <= kRunJoinGapFrames)
            runs.back().end = last;
        else
            runs.push_back({frame, last});
        frame = last;
    }
    for (BallRun& run : runs) {
        const int until = std::min(run.start + kRunStartFrames, run.end);
        int active = 0;
        for (int frame = run.start; frame <= until; ++frame) {
            if (!path.active[frame]) continue;
            run.startVx += path.vx[frame];
            run.startVy += path.vy[frame];
            ++active;
        }
        if (active > 0) {
            run.startVx /= active;
            run.startVy /= active;
        }
    }
    return runs;
}

struct Scale {
    double fps, width, height, diagonal;
};

void describeRuns(WindowFeatures& record, const BallRun* previous, const BallRun* current, const BallRun* next,
                  const BallPath& path, const Scale& scale) {
    const int frame = record.frame;
    if (current) {
        record.Inside_Run = 1;
        record.Current_Run_Duration = (current->end - current->start) / scale.fps;
        record.Frames_Since_Run_Start = (frame - current->start) / scale.fps;
        record.Frames_To_Run_End = (current->end - frame) / scale.fps;
    }
    if (previous) record.Time_Since_Prev_Run = (frame - previous->end) / scale.fps;
    if (next) record.Time_To_Next_Run = (next->start - frame) / scale.fps;
    if (previous && next) {
        record.Gap_Duration = (next->start - previous->end) / scale.fps;
        record.Gap_Distance = std::hypot(path.x[next->start] - path.x[previous->end],
                                         path.y[next->start] - path.y[previous->end]) /
                              scale.diagonal;
    }
    // Before the first run there is nothing to describe.
    const BallRun* reference = current ? current : (previous ? (next ? next : previous) : nullptr);
    if (reference) {
        record.Run_Start_X = path.x[reference->start] / scale.width;
        record.Run_Start_Y = path.y[reference->start] / scale.height;
        record.Run_Start_Vx = reference->startVx * scale.fps / scale.diagonal;
        record.Run_Start_Vy = reference->startVy * scale.fps / scale.diagonal;
        record.Run_Start_Upward = reference->startVy < -0.5 ? 1 : 0;
    }
}

void describeTwoSeconds(WindowFeatures& record, const BallPath& path, const Scale& scale) {
    const int count = static_cast<int>(path.active.size());
    const int first = std::max(0, record.frame - kHalfWindowFrames);
    const int last = std::min(record.frame + kHalfWindowFrames, count - 1);
    std::vector<double> speeds, xs, ys;
    for (int frame = first; frame <= last; ++frame) {
        if (!path.active[frame]) continue;
        xs.push_back(path.x[frame]);
        ys.push_back(path.y[frame]);
        if (frame > 0 && path.active[frame - 1])
            speeds.push_back(std::hypot(path.vx[frame], path.vy[frame]) * scale.fps);
    }
    record.Window2s_Ball_Ratio = static_cast<double>(xs.size()) / (last - first + 1);
    const Spread speed = spreadOf(speeds);
    record.Window2s_Mean_Speed = speed.mean / scale.diagonal;
    record.Window2s_Max_Speed = speed.max / scale.diagonal;
    record.Window2s_Std_Speed = speed.std / scale.diagonal;
    const Spread x = spreadOf(xs);
    const Spread y = spreadOf(ys);
    record.Window2s_Std_X = x.std / scale.width;
    record.Window2s_Std_Y = y.std / scale.height;
    record.Window2s_Mean_Y = y.mean / scale.height;
    record.Window2s_Max_Y_Disp = (y.max - y.min) / scale.height;
}

}  // namespace

std::vector<WindowFeatures> computeWindowFeatures(const std::vector<BallDetection>& detections,
                                                  const std::set<int>& ballTrackIds, int count,
                                                  int windowLength, const EngineParams& params) {
    std::vector<WindowFeatures> records;
    if (count <= 0) return records;
    Scale scale;
    scale.fps = framesPerSecond(params);
    scale.width = params.videoWidth >= 1 ? params.videoWidth : 1920;
    scale.height = params.videoHeight >= 1 ? params.videoHeight : 1080;
    scale.diagonal = std::hypot(scale.width, scale.height);

    const BallPath path = followBall(detections, ballTrackIds, count, params.frameOffset);
    const std::vector<BallRun> runs = findRuns(path);
    size_t firstEndingLater = 0;  // first run whose end is at or after the window start
    for (int frame = 0; frame < count; frame += std::max(1, windowLength)) {
        while (firstEndingLater < runs.size() && runs[firstEndingLater].end < frame) ++firstEndingLater;
        const BallRun* found = firstEndingLater < runs.size() ? &runs[firstEndingLater] : nullptr;
        const BallRun* previous = firstEndingLater > 0 ? &runs[firstEndingLater - 1] : nullptr;
        const BallRun* current = found && frame >= found->start ? found : nullptr;
        const BallRun* next = current ? (firstEndingLater + 1 < runs.size() ? &runs[firstEndingLater + 1] : nullptr)
                                      : found;
        WindowFeatures record;
        record.frame = frame;
        record.Is_Ball_Active = path.active[frame] ? 1 : 0;
        describeRuns(record, previous, current, next, path, scale);
        describeTwoSeconds(record, path, scale);
        records.push_back(record);
    }
    return records;
}

}  // namespace rallinox
