// Short videos for the preview tests, made with the ffmpeg tool, and a
// patient wait for the player's threads.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace rallinox::test {

// `frames` frames at `fps` whose grey level tells their number (see
// `shownFrameNumber`), with a sine tone as sound. Lossless without B-frames
// unless `encoderOptions` (x264's) say otherwise.
bool writeNumberedClip(const std::string& path, int fps, int frames,
                       const std::string& encoderOptions = "-qp 0 -bf 0");

// The frame number of an RGBA picture of `writeNumberedClip`.
int shownFrameNumber(const unsigned char* rgba);

// Polls `done` until it holds; gives up only after a minute so that a
// broken player fails the test instead of hanging it.
bool eventually(const std::function<bool()>& done);

double secondsSince(std::chrono::steady_clock::time_point start);

}  // namespace rallinox::test
