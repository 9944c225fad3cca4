#include "edit/trim_limits.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "edit/rally_editor.h"

namespace rallinox {

namespace {

constexpr double kMarginSec = 6.0;
constexpr double kShortestSpanSec = 1.0;

// end - 0.5 need not give a difference of 0.5 in floating point; step down
// until it does, so that the editor accepts the limited time.
double latestStartFor(double endSec) {
    double start = endSec - RallyEditor::kMinRallySec;
    while (endSec - start < RallyEditor::kMinRallySec) start = std::nextafter(start, -HUGE_VAL);
    return start;
}

double earliestEndFor(double startSec) {
    double end = startSec + RallyEditor::kMinRallySec;
    while (end - startSec < RallyEditor::kMinRallySec) end = std::nextafter(end, HUGE_VAL);
    return end;
}

double clampToWindow(double timeSec, const TrimWindow& window) {
    return std::clamp(timeSec, window.lo, std::max(window.lo, window.hi));
}

}  // namespace

double TrimWindow::span() const { return std::max(hi - lo, kShortestSpanSec); }

TrimWindow trimWindow(const Rally& rally, double videoDurationSec, double playerDurationSec) {
    const double videoEnd = videoDurationSec > 0 ? videoDurationSec : playerDurationSec;
    TrimWindow window;
    window.lo = std::max(rally.startSec - kMarginSec, 0.0);
    window.hi = videoEnd > 0 ? std::min(rally.endSec + kMarginSec, videoEnd) : rally.endSec + kMarginSec;
    return window;
}

double limitTrimStart(const std::vector<Rally>& rallies, size_t index, const TrimWindow& window, double timeSec) {
    const double previousEnd = index > 0 ? rallies[index - 1].endSec : 0.0;
    const double start = std::max(clampToWindow(timeSec, window), previousEnd);
    return std::min(start, latestStartFor(rallies[index].endSec));
}

double limitTrimEnd(const std::vector<Rally>& rallies, size_t index, const TrimWindow& window, double timeSec) {
    const double nextStart = index + 1 < rallies.size() ? rallies[index + 1].startSec : window.hi;
    const double end = std::min(clampToWindow(timeSec, window), nextStart);
    return std::max(end, earliestEndFor(rallies[index].startSec));
}

}  // namespace rallinox
