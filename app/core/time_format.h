// How times are shown: clock texts ("1:02:05") and short durations ("7.5 s").
#pragma once

#include <string>

namespace rallinox::ui {

// Rounded to whole seconds; "m:ss" below an hour, "h:mm:ss" from one on.
// Negative and non-finite values show as 0:00.
std::string formatClock(double seconds);

// "%.1f s" below a minute (negative shows 0.0 s), else as formatClock.
std::string formatDuration(double seconds);

}  // namespace rallinox::ui
