#include "platform/window_placement.h"

#include <algorithm>
#include <cstdio>

namespace rallinox {

namespace {

// The wanted extent, but at most 92 % of the available one.
int cappedExtent(float wanted, long long available) {
    return static_cast<int>(std::min(static_cast<long long>(wanted), available * 92 / 100));
}

}  // namespace

ScreenRect initialWindowRect(const ScreenRect& usableArea, float scale) {
    const int width = cappedExtent(1360 * scale, usableArea.width());
    const int height = cappedExtent(860 * scale, usableArea.height());
    const int left = usableArea.left + static_cast<int>((usableArea.width() - width) / 2);
    const int top = usableArea.top + static_cast<int>((usableArea.height() - height) / 2);
    return {left, top, left + width, top + height};
}

std::optional<WindowPlacement> parseWindowPlacement(const std::string& text) {
    WindowPlacement placement;
    int maximised = 0;
    ScreenRect& r = placement.normal;
    if (std::sscanf(text.c_str(), "%d %d %d %d %d", &r.left, &r.top, &r.right, &r.bottom, &maximised) != 5) {
        return std::nullopt;
    }
    placement.maximised = maximised != 0;
    return placement;
}

std::string formatWindowPlacement(const WindowPlacement& placement) {
    const ScreenRect& r = placement.normal;
    char line[96];
    std::snprintf(line, sizeof line, "%d %d %d %d %d\n", r.left, r.top, r.right, r.bottom,
                  placement.maximised ? 1 : 0);
    return line;
}

bool placementIsUsable(const WindowPlacement& placement, const std::vector<ScreenRect>& displays) {
    const ScreenRect& r = placement.normal;
    if (r.width() < 400 || r.height() < 300) return false;
    // Halving each side first keeps the sum of two large coordinates from overflowing.
    const int centreX = r.left / 2 + r.right / 2;
    const int centreY = r.top / 2 + r.bottom / 2;
    return std::any_of(displays.begin(), displays.end(),
                       [&](const ScreenRect& display) { return display.contains(centreX, centreY); });
}

}  // namespace rallinox
