#include "export/edl.h"

#include "app/core/file_io.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <filesystem>

namespace rallinox {

namespace {

constexpr double kDefaultFps = 30.0;
// Far beyond any video, small enough that frame numbers stay exact integers.
constexpr double kMaxFrames = 9e15;

std::string trimmed(const std::string& text) {
    const char* blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// A line break inside a name would start a new, malformed EDL line.
std::string onOneLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

std::string orDefault(const std::string& text, const char* fallback) {
    return text.empty() ? fallback : text;
}

__attribute__((format(printf, 1, 2))) std::string format(const char* pattern, ...) {
    va_list args;
    va_start(args, pattern);
    va_list measure;
    va_copy(measure, args);
    const int size = std::vsnprintf(nullptr, 0, pattern, measure);
    va_end(measure);
    std::string text(static_cast<size_t>(std::max(size, 0)), '\0');
    std::vsnprintf(text.data(), text.size() + 1, pattern, args);  // the string keeps room for the final NUL
    va_end(args);
    return text;
}

double usableFps(double fps) {
    return std::isfinite(fps) && fps > 0 ? fps : kDefaultFps;
}

// The frame shown at a time, counted at the exact (possibly fractional) rate.
long long frameAt(double seconds, double fps) {
    const double frame = std::round(seconds * usableFps(fps));
    if (!(frame > 0)) return 0;  // negative or not a number
    return static_cast<long long>(std::min(frame, kMaxFrames));
}

// The frame field counts whole frames per second: 30 for 29.97.
std::string timecodeOfFrame(long long frame, double fps) {
    long long framesPerSecond = std::llround(usableFps(fps));
    if (framesPerSecond < 2) framesPerSecond = 1;
    const long long wholeSeconds = frame / framesPerSecond;
    return format("%02lld:%02lld:%02lld:%02lld", wholeSeconds / 3600, wholeSeconds / 60 % 60, wholeSeconds % 60,
                  frame % framesPerSecond);
}

}  // namespace

std::string edlPathFor(const std::string& outputPath) {
    return std::filesystem::path(outputPath).replace_extension(".edl").string();
}

std::string edlTimecode(double seconds, double fps) {
    return timecodeOfFrame(frameAt(seconds, fps), fps);
}

std::string edlText(const std::string& title, const std::string& clipName, double fps,
                    const std::vector<Rally>& rallies) {
    const std::string clip = onOneLine(orDefault(trimmed(clipName), "match.mp4"));
    std::string text = "TITLE: " + onOneLine(orDefault(trimmed(title), "Rallinox Project")) +
                       "\nFCM: NON-DROP FRAME\n\n";
    // The record side is counted in whole frames and each event's record length
    // is its source length, so events stay end to end and editors accept them.
    long long recordFrame = 0;
    for (size_t i = 0; i < rallies.size(); ++i) {
        const Rally& rally = rallies[i];
        const double duration = rallyLengthSec(rally);
        const long long sourceIn = frameAt(rally.startSec, fps);
        const long long sourceOut = std::max(sourceIn, frameAt(rally.endSec, fps));
        const long long recordOut = recordFrame + (sourceOut - sourceIn);
        const std::string event = format("%03zu", i + 1);
        text += format("%-4s %-8s %-5s %-8s %s %s %s %s\n", event.c_str(), "AX", "AA/V", "C",
                       timecodeOfFrame(sourceIn, fps).c_str(), timecodeOfFrame(sourceOut, fps).c_str(),
                       timecodeOfFrame(recordFrame, fps).c_str(), timecodeOfFrame(recordOut, fps).c_str());
        text += "* FROM CLIP NAME: " + clip + "\n";
        const std::string label = rally.name.empty() ? "Rally #" + std::to_string(i + 1) : onOneLine(rally.name);
        text += "* COMMENT: " + label +
                format(" (%.2fs - %.2fs, Duration: %.2fs)", rally.startSec, rally.endSec, duration) + "\n\n";
        recordFrame = recordOut;
    }
    return text;
}

std::string saveEdl(const std::string& edlPath, const std::string& title, const std::string& clipName,
                    double fps, const std::vector<Rally>& rallies) {
    // Written beside its name first: a full disk leaves neither a cut-short
    // file nor an empty one, and an older EDL stays as it was.
    if (replaceWholeFile(edlPath, edlText(title, clipName, fps, rallies)) == WriteStatus::Ok) return {};
    return "Could not write the EDL file.";
}

}  // namespace rallinox
