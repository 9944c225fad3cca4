// Stand-in videos made with the ffmpeg tool for the tests: a moving test
// picture of any size and length, and pictures that show their own frame
// number.
#pragma once

#include <opencv2/core.hpp>

#include <string>

namespace rallinox::test {

// Runs the ffmpeg command-line tool with `arguments` (quiet, overwriting);
// true when it succeeded.
bool runFfmpeg(const std::string& arguments);

// A moving test picture (ffmpeg's testsrc2), H.264 in 4:2:0.
struct TestVideo {
    int width = 320;
    int height = 240;
    int fps = 25;
    double seconds = 2;
    int toneRate = 0;  // sample rate of a 440 Hz tone as the sound track; 0: no sound
};

bool writeTestVideo(const std::string& path, const TestVideo& video);

// Writes `frames` frames of `width` x `height` at `fps` whose every pixel
// has luma 4 x frame number, losslessly, so that `frameNumber` recovers the
// number from any delivered frame. `options` go before the output name.
bool writeNumberedVideo(const std::string& path, int fps, int frames, int width = 64, int height = 48,
                        const std::string& options = "");

// The frame number of an image written by `writeNumberedVideo`.
int frameNumber(const cv::Mat& grey);

}  // namespace rallinox::test
