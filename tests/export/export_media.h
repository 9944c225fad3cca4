// Sources made with ffmpeg for the export tests, and what an exported file
// turns out to hold when it is read back.
#pragma once

#include <string>
#include <vector>

namespace rallinox::test {

// A video whose every frame shows its own number (in its luma and its V
// plane) at `fps` for `seconds`, at 160 x 120, with a sine tone at
// `audioRate` (0: no sound). Encoded at the finest quantiser with B-frames
// (x264's lossless mode makes none), so that an MP4 has a start offset in
// its edit list like a camera file, and a key frame every 50 frames.
bool writeNumberedSource(const std::string& path, int fps, int seconds, int audioRate = 48000);

// The same picture with 48 kHz stereo sound that is silent except for a
// half-second beep starting at `beepSec`.
bool writeBeepingSource(const std::string& path, int fps, int seconds, double beepSec);

// Time of the first clearly audible sample of the file's sound, or -1.
double firstSoundSec(const std::string& path);

struct DecodedFrame {
    double timeSec = 0;  // presentation time in the file
    int number = -1;     // the source frame it shows
    int cornerLuma = 0;  // at pixel (8, 8)
};

struct ReadBack {
    bool opened = false;
    std::vector<DecodedFrame> frames;
    int width = 0;
    int height = 0;
    double fps = 0;          // the video stream's average frame rate
    double videoSec = 0;     // the video stream's duration
    bool hasAudio = false;
    double audioSec = 0;     // the audio stream's duration
    int audioRate = 0;
    std::string videoCodec;  // FFmpeg's codec names
    std::string audioCodec;
    unsigned rotation = 0;   // clockwise, as the reader reports it
};

// Every frame of an exported file with the number it shows, and its streams.
ReadBack readBack(const std::string& path);

// The first frame shown at or after `timeSec`; nullptr when none is.
const DecodedFrame* frameAt(const ReadBack& file, double timeSec);

}  // namespace rallinox::test
