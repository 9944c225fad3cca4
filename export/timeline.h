// The chosen rallies as a timeline for video editors: clips of the original
// video counted in whole frames at an exact frame rate, shared by the
// FCPXML, Final Cut Pro 7 XML and OpenTimelineIO writers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/core/project.h"

namespace rallinox {

// Frames per second as a fraction: 30000/1001 for 29.97.
struct FrameRate {
    int64_t num = 30;
    int64_t den = 1;

    bool operator==(const FrameRate&) const = default;
};

// The standard rate a measured one stands for: 29.97 becomes 30000/1001,
// 25.0 stays 25/1; any other rate is kept to a thousandth.
FrameRate exactFrameRate(double fps);
// The frame shown at a time, counted at the exact rate; never negative.
int64_t frameAtSec(double seconds, FrameRate rate);
// Whole frames per second for timecode fields: 30 for 29.97.
int64_t timecodeBase(FrameRate rate);

struct TimelineClip {
    std::string name;        // the rally's shown name
    int64_t startFrame = 0;  // in the original video
    int64_t frames = 0;      // at least one
    std::string score;       // "Home 3 - 2 Away (set 1)" after the rally; empty when unscored
};

struct Timeline {
    std::string title;      // the project's name
    std::string videoPath;  // absolute
    std::string videoName;  // the file's name
    FrameRate rate;
    int64_t videoFrames = 0;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<TimelineClip> clips;  // end to end on the timeline, in order
};

// The chosen rallies of the project in their order; a rally shorter than a
// frame has no place on a timeline and is left out.
Timeline timelineOf(const Project& project, const std::vector<Rally>& chosen);

// A file:// URL with every byte outside the unreserved set percent-encoded.
std::string fileUrl(const std::string& absolutePath);
// Text for XML content and attributes; control characters XML cannot hold are dropped.
std::string xmlEscaped(const std::string& text);
// "num/dens", the rational time FCPXML expects, for a number of frames.
std::string fcpxmlTime(int64_t frames, FrameRate rate);

}  // namespace rallinox
