#include "engine/frame_times.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace rallinox {

namespace {

constexpr double kFallbackFps = 30.0;
constexpr double kHighestFps = 1000.0;
// Rates this close to the declared one are taken as the declared one, so
// that a constant-rate video is analysed at exactly its own rate.
constexpr double kSameRateTolerance = 0.01;

// From the median spacing of the frames whose times are known.
double measuredFps(const std::vector<double>& times, double declaredFps) {
    std::vector<double> spacings;
    spacings.reserve(times.size());
    for (size_t i = 1; i < times.size(); ++i)
        if (times[i - 1] >= 0 && times[i] > times[i - 1]) spacings.push_back(times[i] - times[i - 1]);
    if (spacings.empty()) return declaredFps;
    const auto middle = spacings.begin() + static_cast<std::ptrdiff_t>(spacings.size() / 2);
    std::nth_element(spacings.begin(), middle, spacings.end());
    const double measured = 1.0 / *middle;
    if (!std::isfinite(measured) || measured > kHighestFps ||
        std::abs(measured / declaredFps - 1.0) <= kSameRateTolerance)
        return declaredFps;
    return measured;
}

}  // namespace

FrameTimes::FrameTimes(std::vector<double> timesSec, double nominalFps) : times_(std::move(timesSec)) {
    typicalFps_ = measuredFps(times_, std::isfinite(nominalFps) && nominalFps > 0 ? nominalFps : kFallbackFps);
    const double frameSec = 1.0 / typicalFps_;
    for (size_t i = 0; i < times_.size(); ++i) {
        const double earliest = i == 0 ? 0.0 : times_[i - 1];
        const double fallback = i == 0 ? 0.0 : times_[i - 1] + frameSec;
        if (!std::isfinite(times_[i]) || times_[i] < earliest) times_[i] = fallback;
    }
}

double FrameTimes::secondsAt(int64_t frame) const {
    if (frame < 0 || times_.empty()) return std::max<int64_t>(frame, 0) / typicalFps_;
    const int64_t last = static_cast<int64_t>(times_.size()) - 1;
    if (frame <= last) return times_[static_cast<size_t>(frame)];
    return times_.back() + (frame - last) / typicalFps_;
}

}  // namespace rallinox
