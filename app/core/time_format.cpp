#include "app/core/time_format.h"

#include <cmath>
#include <cstdio>

namespace rallinox::ui {

std::string formatClock(double seconds) {
    // Beyond this no video exists, and the conversion below stays defined.
    constexpr double kLongest = 1e12;
    if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
    const long long total = std::llround(std::fmin(seconds, kLongest));
    const long long hours = total / 3600;
    const long long minutes = total / 60 % 60;
    const long long secs = total % 60;
    char text[48];
    if (hours == 0) {
        std::snprintf(text, sizeof text, "%lld:%02lld", minutes, secs);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", hours, minutes, secs);
    }
    return text;
}

std::string formatDuration(double seconds) {
    if (std::isfinite(seconds) && seconds >= 60) return formatClock(seconds);
    if (!(seconds > 0)) seconds = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", seconds);
    return text;
}

}  // namespace rallinox::ui
