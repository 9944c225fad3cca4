#include "ui/projects/analysis_progress_text.h"

#include <cstdio>

#include "app/core/time_format.h"

namespace rallinox::ui {

namespace {
constexpr double kStartingFraction = 0.03;
}

std::string analysisStatusLine(double fraction, double elapsedSec, double videoSecDone) {
    if (fraction <= kStartingFraction) return "Starting...  You can keep using the app; analysis runs in the background.";
    const double left = elapsedSec / fraction - elapsedSec;
    return "About " + formatClock(left) + " left  -  " + formatClock(videoSecDone) + " of video read";
}

std::string analysisSpeedLine(double framesPerSec, double videoSecDone, double elapsedSec, const char* decoder) {
    const double realTime = elapsedSec > 0 ? videoSecDone / elapsedSec : 0;
    char line[160];
    std::snprintf(line, sizeof line, "%.0f frames/s  -  %.1fx real time  -  %s decoding", framesPerSec, realTime,
                  decoder);
    return line;
}

}  // namespace rallinox::ui
