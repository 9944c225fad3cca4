#pragma once

#include <string>

namespace rallinox {

// Basic properties of a video file, read before it is analysed.
struct VideoInfo {
    int width = 0;
    int height = 0;
    double fps = 0.0;
    // 0 when the container reports no frame count; the analysis fills it in
    // from the number of frames it read.
    double durationSec = 0.0;
};

// Checks, without opening it, that `path` is a regular file: a video is
// only ever read from one. Sets `error` for the user when it is missing or
// is a folder, a device, a pipe or a socket (which could block a reader).
bool checkIsVideoFile(const std::string& path, std::string& error);
// True when nothing at all is at `path` (a moved video, a vanished mount).
bool isMissingFile(const std::string& path);

// Checks that `path` (UTF-8) is a readable video and fills `info`. On failure
// returns false and sets `error` to a message for the user.
bool probe(const std::string& path, VideoInfo& info, std::string& error);

// The rule applied to what a video capture reports: a picture of at least
// one pixel and a frame rate above 0 and at most 1000. Fills `info`
// (duration 0 when the frame count is not positive) or sets `error`.
bool checkVideoTrack(double width, double height, double fps, double frameCount, VideoInfo& info,
                     std::string& error);

// The form of `path` to hand to OpenCV. Paths are UTF-8 bytes here, which
// OpenCV opens as they are.
std::string openCvPath(const std::string& path);

}  // namespace rallinox
