#include "engine/track_features.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/statistics.h"
#include "engine/track_culling.h"
#include "engine/track_table.h"

namespace rallinox {
namespace {

constexpr double kTiny = 1e-4;
constexpr double kMissingNeighbourDistance = 20.0;
constexpr double kReversalDeadband = 0.0003;
constexpr int kCoTemporalRadius = 900;
constexpr size_t kEfficiencyWindow = 10;

struct Summary {
    double mean = 0, max = 0, std = 0;
};

Summary summarise(const std::vector<double>& values) {
    Summary s;
    s.mean = mean(values);
    s.max = values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
    s.std = populationStdDev(values);
    return s;
}

// Heading change brought into [-pi, pi].
double wrapAngle(double delta) {
    if (delta > std::numbers::pi) {
        return delta - 2 * std::numbers::pi;
    }
    if (delta < -std::numbers::pi) {
        return delta + 2 * std::numbers::pi;
    }
    return delta;
}

// Sign changes between successive steps that are larger than the dead band.
int reversals(const std::vector<double>& positions) {
    int count = 0;
    int previousSign = 0;
    for (size_t i = 1; i < positions.size(); ++i) {
        const double step = positions[i] - positions[i - 1];
        if (std::abs(step) <= kReversalDeadband) {
            continue;
        }
        const int sign = step > 0 ? 1 : -1;
        if (previousSign != 0 && sign != previousSign) {
            ++count;
        }
        previousSign = sign;
    }
    return count;
}

// Damping of the vertical rank: low in the picture (near the camera) counts less.
double heightDamping(double normalisedY) {
    if (normalisedY <= 0.3) {
        return 1.0;
    }
    if (normalisedY >= 0.7) {
        return 0.3;
    }
    return 1.0 - (normalisedY - 0.3) * 0.7 / 0.4;
}

// 0 below a fifth of the reference, 1 from the reference on.
double rampWeight(double value, double reference) {
    if (reference <= kTiny) {
        return 1.0;
    }
    const double r = value / reference;
    return std::clamp((r - 0.2) / 0.8, 0.0, 1.0);
}

double rankPosition(double value, double low, double high) {
    return high - low > kTiny ? (value - low) / (high - low) : 0.5;
}

double confidenceFor(size_t objects) {
    switch (objects) {
        case 2: return 0.4;
        case 3: return 0.7;
        case 4: return 0.85;
        case 5: return 0.95;
        default: return 1.0;
    }
}

class TrackDescriber {
public:
    TrackDescriber(const TrackTable& table, const TableTrack& track, const EngineParams& params)
        : table_(table), track_(track), params_(params), n_(track.points.size()) {
        const SceneReference& ref = table.reference;
        std::vector<double> diameters;
        for (const TablePoint& p : track.points) {
            const double relW = p.point.width / ref.width[p.cell];
            const double relH = p.point.height / ref.height[p.cell];
            relW_.push_back(relW);
            relH_.push_back(relH);
            xN_.push_back(p.point.cx / table.frameWidth);
            yN_.push_back(p.point.cy / table.frameHeight);
            diameters.push_back((ref.width[p.cell] + ref.height[p.cell]) / 2.0);
        }
        std::sort(diameters.begin(), diameters.end());
        double diameter = diameters[n_ / 2];
        if (diameter <= kTiny) {
            diameter = 15.0;
        }
        for (const TablePoint& p : track.points) {
            X_.push_back(p.point.cx / diameter);
            Y_.push_back(p.point.cy / diameter);
        }
    }

    TrackFeatures describe() const {
        TrackFeatures f = survivorRecord(track_, params_);
        addMotion(f);
        addShapeAndPosition(f);
        addNeighbours(f);
        addRelative(f);
        f.Interpolation_Ratio = track_.interpolationRatio;
        return f;
    }

    static TrackFeatures survivorRecord(const TableTrack& track, const EngineParams& params) {
        const int stride = std::max(1, params.frameStride);
        TrackFeatures f;
        f.trackId = track.id;
        f.Duration = static_cast<int>(track.points.size());
        f.startFrame = track.points.front().point.frame * stride;
        f.endFrame = track.points.back().point.frame * stride;
        return f;
    }

private:
    int gap(size_t i) const {
        return std::max(1, track_.points[i + 1].point.frame - track_.points[i].point.frame);
    }
    double step(size_t from, size_t to) const { return std::hypot(X_[to] - X_[from], Y_[to] - Y_[from]); }

    void addMotion(TrackFeatures& f) const {
        std::vector<double> speeds, steps, vx, vy, headings;
        for (size_t i = 0; i + 1 < n_; ++i) {
            steps.push_back(step(i, i + 1));
            speeds.push_back(steps.back() / gap(i));
            vx.push_back((X_[i + 1] - X_[i]) / gap(i));
            vy.push_back((Y_[i + 1] - Y_[i]) / gap(i));
            if (steps.back() > kTiny) {
                headings.push_back(std::atan2(Y_[i + 1] - Y_[i], X_[i + 1] - X_[i]));
            }
        }
        std::vector<double> accels, ax, ay;
        for (size_t i = 0; i + 1 < speeds.size(); ++i) {
            accels.push_back(std::abs(speeds[i + 1] - speeds[i]) / gap(i + 1));
            ax.push_back((vx[i + 1] - vx[i]) / gap(i + 1));
            ay.push_back((vy[i + 1] - vy[i]) / gap(i + 1));
        }
        const Summary speed = summarise(speeds);
        const Summary accel = summarise(accels);
        f.Mean_Speed = speed.mean, f.Max_Speed = speed.max, f.Std_Speed = speed.std;
        f.Mean_Accel = accel.mean, f.Max_Accel = accel.max, f.Std_Accel = accel.std;
        f.Std_Vx = populationStdDev(vx), f.Std_Vy = populationStdDev(vy);
        f.Std_Ax = populationStdDev(ax), f.Std_Ay = populationStdDev(ay);

        std::vector<double> stability, areas;
        for (size_t i = 0; i < n_; ++i) {
            stability.push_back(relH_[i] <= kTiny ? 1.0 : relW_[i] / relH_[i]);
            areas.push_back(relW_[i] * relH_[i]);
        }
        f.Aspect_Ratio_Stability = populationStdDev(stability);
        f.Std_Area = populationStdDev(areas);

        if (headings.size() >= 2) {
            double sumAbs = 0.0, sumSquares = 0.0;
            for (size_t k = 1; k < headings.size(); ++k) {
                const double turn = wrapAngle(headings[k] - headings[k - 1]);
                sumAbs += std::abs(turn);
                sumSquares += turn * turn;
                if (std::abs(turn) > std::numbers::pi / 3) {
                    ++f.Heading_Spikes;
                }
            }
            const double turns = static_cast<double>(headings.size() - 1);
            f.Cumulative_Angular_Change = sumAbs;
            f.Mean_Angular_Change = sumAbs / turns;
            f.Rms_Angular_Change = std::sqrt(sumSquares / turns);
        }

        std::vector<double> efficiencies;
        const auto efficiency = [&](size_t first, size_t last) {
            double path = 0.0;
            for (size_t j = first + 1; j <= last; ++j) {
                path += steps[j - 1];
            }
            return path > kTiny ? step(first, last) / path : 1.0;
        };
        if (n_ >= kEfficiencyWindow) {
            for (size_t l = 0; l + kEfficiencyWindow <= n_; ++l) {
                efficiencies.push_back(efficiency(l, l + kEfficiencyWindow - 1));
            }
        } else {
            efficiencies.push_back(efficiency(0, n_ - 1));
        }
        f.Mean_Path_Efficiency_10 = mean(efficiencies);
        f.Std_Path_Efficiency_10 = populationStdDev(efficiencies);
        f.Mean_Step_Distance = mean(steps);
        f.Std_Step_Distance = populationStdDev(steps);
    }

    void addShapeAndPosition(TrackFeatures& f) const {
        std::vector<double> aspect;
        for (size_t i = 0; i < n_; ++i) {
            aspect.push_back(relH_[i] > 0 ? relW_[i] / relH_[i] : 1.0);
        }
        f.Mean_W = mean(relW_), f.Std_W = populationStdDev(relW_);
        f.Mean_H = mean(relH_), f.Std_H = populationStdDev(relH_);
        f.Mean_Aspect_Ratio = mean(aspect), f.Std_Aspect_Ratio = populationStdDev(aspect);

        std::vector<double> displacementX, displacementY;
        int circular = 0;
        for (size_t i = 0; i < n_; ++i) {
            if (i > 0) {
                f.Distance_Traveled_X += std::abs(xN_[i] - xN_[i - 1]);
                f.Distance_Traveled_Y += std::abs(yN_[i] - yN_[i - 1]);
            }
            displacementX.push_back(std::abs(xN_[i] - xN_[0]));
            displacementY.push_back(std::abs(yN_[i] - yN_[0]));
            const TrackPoint& p = track_.points[i].point;
            const double ratio = p.height < 1 ? 0.0 : static_cast<double>(p.width) / p.height;
            if (p.height < 1 || (ratio >= 0.6 && ratio <= 1.6)) {
                ++circular;
            }
        }
        const double travelled = f.Distance_Traveled_X + f.Distance_Traveled_Y;
        f.Angular_Variance = travelled != 0 ? f.Cumulative_Angular_Change / travelled : 0.0;
        f.Mean_Displacement_X = mean(displacementX), f.Std_Displacement_X = populationStdDev(displacementX);
        f.Mean_Displacement_Y = mean(displacementY), f.Std_Displacement_Y = populationStdDev(displacementY);
        f.Start_X = xN_.front(), f.Start_Y = yN_.front();
        f.End_X = xN_.back(), f.End_Y = yN_.back();
        f.Mean_X = mean(xN_), f.Mean_Y = mean(yN_);
        const auto [minX, maxX] = std::minmax_element(xN_.begin(), xN_.end());
        const auto [minY, maxY] = std::minmax_element(yN_.begin(), yN_.end());
        f.Min_X = *minX, f.Max_X = *maxX, f.Min_Y = *minY, f.Max_Y = *maxY;
        f.Max_X_Displacement = f.Max_X - f.Min_X;
        f.Max_Y_Displacement = f.Max_Y - f.Min_Y;
        f.Vx_Reversals = reversals(xN_);
        f.Vy_Reversals = reversals(yN_);
        f.Peak_Relative_Time = static_cast<double>(minY - yN_.begin()) / static_cast<double>(n_ - 1);
        f.Circular_Frames_Ratio = static_cast<double>(circular) / static_cast<double>(n_);
    }

    void addNeighbours(TrackFeatures& f) const {
        const SceneReference& ref = table_.reference;
        std::array<double, 3> nearestSums{};
        double smallSum = 0.0, largeSum = 0.0, lowerShareSum = 0.0;
        std::vector<double> distances;
        for (const TablePoint& tp : track_.points) {
            const TrackPoint& p = tp.point;
            distances.clear();
            int sameCell = 0, lowerInCell = 0;
            for (const FrameEntry& other : table_.entriesAt(p.frame)) {
                if (other.trackId == track_.id) {
                    continue;
                }
                const double dy = (p.cy - other.cy) / ref.height[tp.cell];
                const double dx = (p.cx - other.cx) / ref.width[tp.cell];
                distances.push_back(std::sqrt(dy * dy + dx * dx));
                if (table_.cellOf(other.cx, other.cy) == tp.cell) {
                    ++sameCell;
                    lowerInCell += other.cy > p.cy ? 1 : 0;
                }
            }
            const size_t nearest = std::min<size_t>(3, distances.size());
            std::partial_sort(distances.begin(), distances.begin() + static_cast<std::ptrdiff_t>(nearest),
                              distances.end());
            for (size_t k = 0; k < 3; ++k) {
                nearestSums[k] += k < nearest ? distances[k] : kMissingNeighbourDistance;
            }
            for (const double d : distances) {
                smallSum += d <= params_.neighbourRadiusSmall ? 1 : 0;
                largeSum += d <= params_.neighbourRadiusLarge ? 1 : 0;
            }
            lowerShareSum += sameCell > 0 ? static_cast<double>(lowerInCell) / sameCell : 1.0;
        }
        const double n = static_cast<double>(n_);
        f.Mean_Dist_To_1st = nearestSums[0] / n;
        f.Mean_Dist_To_2nd = nearestSums[1] / n;
        f.Mean_Dist_To_3rd = nearestSums[2] / n;
        f.Mean_Neighbors_In_Radius_Small = smallSum / n;
        f.Mean_Neighbors_In_Radius_Large = largeSum / n;
        f.Grid_Y_Percentile = lowerShareSum / n;
    }

    // Rank of the point among all objects of its frame, damped by how sure the
    // rank can be (few objects, objects low in the picture, small or slow objects).
    void addRelative(TrackFeatures& f) const {
        const SceneReference& ref = table_.reference;
        std::vector<double> relX, relY, relArea, relSpeed, above;
        for (const TablePoint& tp : track_.points) {
            const TrackPoint& p = tp.point;
            const std::vector<FrameEntry>& entries = table_.entriesAt(p.frame);
            if (entries.size() < 2) {
                const double yN = p.cy / table_.frameHeight;
                relX.push_back((p.cx / table_.frameWidth - 0.5) * 0.3 + 0.5);
                relY.push_back((yN - 0.5) * 0.3 * heightDamping(yN) + 0.5);
                above.push_back(yN);
                relArea.push_back(0.5);
                relSpeed.push_back(0.5);
                continue;
            }
            double minCx = entries[0].cx, maxCx = minCx, minCy = entries[0].cy;
            double minArea = entries[0].area, maxArea = minArea;
            double minSpeed = entries[0].speed, maxSpeed = minSpeed;
            int higher = 0;
            for (const FrameEntry& e : entries) {
                minCx = std::min(minCx, e.cx), maxCx = std::max(maxCx, e.cx);
                minCy = std::min(minCy, e.cy);
                minArea = std::min(minArea, e.area), maxArea = std::max(maxArea, e.area);
                minSpeed = std::min(minSpeed, e.speed), maxSpeed = std::max(maxSpeed, e.speed);
                higher += (e.trackId != track_.id && e.cy < p.cy) ? 1 : 0;
            }
            const double confidence = confidenceFor(entries.size());
            const double damping = heightDamping(minCy / table_.frameHeight);
            const double aboveRatio = static_cast<double>(higher) / static_cast<double>(entries.size() - 1);
            const double areaWeight = rampWeight(maxArea, ref.width[tp.cell] * ref.height[tp.cell]);
            const double speedWeight = rampWeight(maxSpeed, ref.speed[tp.cell]);
            const double area = static_cast<double>(p.width) * p.height;
            relX.push_back((rankPosition(p.cx, minCx, maxCx) - 0.5) * confidence + 0.5);
            relY.push_back((aboveRatio - 0.5) * confidence * damping + 0.5);
            relArea.push_back((rankPosition(area, minArea, maxArea) - 0.5) * confidence * areaWeight + 0.5);
            relSpeed.push_back((rankPosition(tp.speed, minSpeed, maxSpeed) - 0.5) * confidence * speedWeight +
                               0.5);
            above.push_back(aboveRatio);
        }
        const Summary x = summarise(relX), y = summarise(relY), a = summarise(relArea),
                      s = summarise(relSpeed), up = summarise(above);
        f.Mean_Relative_X = x.mean, f.Max_Relative_X = x.max;
        f.Mean_Relative_Y = y.mean, f.Max_Relative_Y = y.max;
        f.Mean_Relative_Area = a.mean, f.Max_Relative_Area = a.max;
        f.Mean_Relative_Speed = s.mean, f.Max_Relative_Speed = s.max;
        f.meanAboveRatio = up.mean, f.maxAboveRatio = up.max;
    }

    const TrackTable& table_;
    const TableTrack& track_;
    const EngineParams& params_;
    const size_t n_;
    std::vector<double> relW_, relH_, xN_, yN_, X_, Y_;
};

BallScoreEvidence ballScoreEvidence(const TrackTable& table, const TableTrack& track,
                                    const TrackFeatures& features, const std::array<double, 2>& around) {
    BallScoreEvidence e;
    e.duration = features.Duration;
    e.highestCy = track.points.front().point.cy;
    for (const TablePoint& p : track.points) {
        e.highestCy = std::min(e.highestCy, p.point.cy);
    }
    e.frameHeight = table.frameHeight;
    e.meanAboveRatio = features.meanAboveRatio;
    e.pathEfficiency = features.Mean_Path_Efficiency_10;
    e.extentX = track.extentX;
    e.extentY = track.extentY;
    e.largestExtentX = around[0];
    e.largestExtentY = around[1];
    return e;
}

std::vector<TrackPoint> pointsOf(const TableTrack& track) {
    std::vector<TrackPoint> points;
    for (const TablePoint& p : track.points) {
        points.push_back(p.point);
    }
    return points;
}

}  // namespace

std::vector<TrackFeatures> extractTrackFeatures(const std::vector<BallDetection>& detections,
                                                FeatureMode mode, const EngineParams& params) {
    std::vector<TrackFeatures> records;
    if (detections.empty()) {
        return records;
    }
    const TrackTable table = buildTrackTable(detections, params);
    std::vector<std::array<double, 2>> around;
    if (mode == FeatureMode::CullByBallScore) {
        around = coTemporalExtents(table, kCoTemporalRadius);
    }
    for (size_t t = 0; t < table.tracks.size(); ++t) {
        const TableTrack& track = table.tracks[t];
        switch (mode) {
            case FeatureMode::FullFeatures:
                records.push_back(TrackDescriber(table, track, params).describe());
                break;
            case FeatureMode::CullByBallScore: {
                const TrackFeatures full = TrackDescriber(table, track, params).describe();
                if (passesBallScoreGate(ballScoreEvidence(table, track, full, around[t]), params)) {
                    records.push_back(TrackDescriber::survivorRecord(track, params));
                }
                break;
            }
            case FeatureMode::CullByFlight:
                if (passesFlightGate(pointsOf(track), params)) {
                    records.push_back(TrackDescriber::survivorRecord(track, params));
                }
                break;
        }
    }
    return records;
}

}  // namespace rallinox
