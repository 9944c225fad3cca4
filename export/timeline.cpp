#include "export/timeline.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <utility>

#include "edit/match_score.h"

namespace rallinox {
namespace {

// Within this of a standard rate, a measured rate is that rate.
constexpr double kRateTolerance = 0.002;

int64_t gcd(int64_t a, int64_t b) {
    while (b != 0) a = std::exchange(b, a % b);
    return a;
}

std::string scoreText(const RallyScore& score, const MatchSetup& match) {
    return match.homeName + " " + std::to_string(score.homeAfter) + " - " + std::to_string(score.awayAfter) + " " +
           match.awayName + " (set " + std::to_string(score.setAfter) + ")";
}

}  // namespace

FrameRate exactFrameRate(double fps) {
    if (!std::isfinite(fps) || fps <= 0) return {};
    const double whole = std::round(fps);
    if (std::abs(fps - whole) < kRateTolerance) return {int64_t(whole), 1};
    const double ntsc = std::round(fps * 1.001);
    if (std::abs(fps - ntsc * 1000.0 / 1001.0) < kRateTolerance) return {int64_t(ntsc) * 1000, 1001};
    const int64_t thousandths = std::llround(fps * 1000.0);
    const int64_t common = gcd(thousandths, 1000);
    return {thousandths / common, 1000 / common};
}

int64_t frameAtSec(double seconds, FrameRate rate) {
    const double frame = std::round(seconds * double(rate.num) / double(rate.den));
    return frame > 0 ? int64_t(frame) : 0;  // also for a time that is not a number
}

int64_t timecodeBase(FrameRate rate) { return std::max<int64_t>(1, (rate.num + rate.den - 1) / rate.den); }

Timeline timelineOf(const Project& project, const std::vector<Rally>& chosen) {
    Timeline timeline;
    timeline.title = project.name.empty() ? "Rallinox Project" : project.name;
    std::error_code ignored;
    timeline.videoPath = std::filesystem::absolute(project.videoPath, ignored).lexically_normal().string();
    timeline.videoName = std::filesystem::path(project.videoPath).filename().string();
    timeline.rate = exactFrameRate(project.videoFps);
    timeline.videoFrames = frameAtSec(project.videoDurationSec, timeline.rate);
    timeline.width = project.videoWidth;
    timeline.height = project.videoHeight;
    // The score runs over every rally of the match, chosen or not.
    const std::vector<RallyScore> scores = rallyScores(project.rallies);
    const bool scored = anyRallyScored(project.rallies);
    for (const Rally& rally : chosen) {
        const auto at = std::find_if(project.rallies.begin(), project.rallies.end(),
                                     [&](const Rally& r) { return r.id == rally.id; });
        const size_t position = size_t(at - project.rallies.begin());
        TimelineClip clip;
        clip.name = rallyDisplayName(rally, position);
        clip.startFrame = frameAtSec(rally.startSec, timeline.rate);
        clip.frames = frameAtSec(rally.endSec, timeline.rate) - clip.startFrame;
        if (clip.frames <= 0) continue;
        if (scored && position < scores.size()) clip.score = scoreText(scores[position], project.match);
        timeline.clips.push_back(std::move(clip));
    }
    // A project whose duration was never measured still covers its rallies.
    for (const TimelineClip& clip : timeline.clips)
        timeline.videoFrames = std::max(timeline.videoFrames, clip.startFrame + clip.frames);
    return timeline;
}

std::string fileUrl(const std::string& absolutePath) {
    static const char* hex = "0123456789ABCDEF";
    std::string url = "file://";
    for (const unsigned char c : absolutePath) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
            url += char(c);
        } else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    return url;
}

std::string xmlEscaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&apos;"; break;
        case '\t':
        case '\n':
        case '\r': escaped += ' '; break;  // names stay on one line in attributes
        default:
            if (static_cast<unsigned char>(c) >= 0x20) escaped += c;
        }
    }
    return escaped;
}

std::string fcpxmlTime(int64_t frames, FrameRate rate) {
    if (frames == 0) return "0s";
    const int64_t num = frames * rate.den;
    const int64_t common = gcd(num, rate.num);
    const int64_t den = rate.num / common;
    return std::to_string(num / common) + (den == 1 ? "" : "/" + std::to_string(den)) + "s";
}

}  // namespace rallinox
