// The main window's size at start-up and its placement remembered between
// runs in "window.txt" (one line: left top right bottom maximised).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace rallinox {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // Wide enough for rectangles read from a damaged file.
    long long width() const { return static_cast<long long>(right) - left; }
    long long height() const { return static_cast<long long>(bottom) - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const ScreenRect&) const = default;
};

struct WindowPlacement {
    ScreenRect normal;  // the window's rectangle when neither maximised nor minimised
    bool maximised = false;

    bool operator==(const WindowPlacement&) const = default;
};

inline constexpr int kMinWindowWidth = 1000;
inline constexpr int kMinWindowHeight = 640;

// 1360 x 860 at the display scale, each side capped at 92 % of the usable
// area, centred in it.
ScreenRect initialWindowRect(const ScreenRect& usableArea, float scale);

// Nothing unless the text holds five integers.
std::optional<WindowPlacement> parseWindowPlacement(const std::string& text);
std::string formatWindowPlacement(const WindowPlacement& placement);

// A remembered placement is used only when it is big enough and its centre
// lies on one of the displays, so a window never reopens out of reach.
bool placementIsUsable(const WindowPlacement& placement, const std::vector<ScreenRect>& displays);

}  // namespace rallinox
