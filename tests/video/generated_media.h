#pragma once

#include "tests/core/temp_dir.h"

#include <opencv2/core.hpp>

#include <filesystem>
#include <string>

namespace rallinox::test {

// Runs the ffmpeg command-line tool with `arguments` (quiet, overwriting);
// true when it succeeded.
bool runFfmpeg(const std::string& arguments);

// Writes `frames` frames of `width` x `height` at `fps` whose every pixel
// has luma 4 x frame number, losslessly, so that `frameNumber` recovers the
// number from any delivered frame. `options` go before the output name.
bool writeNumberedVideo(const std::string& path, int fps, int frames, int width = 64, int height = 48,
                        const std::string& options = "");

// The frame number of an image written by `writeNumberedVideo`.
int frameNumber(const cv::Mat& grey);

}  // namespace rallinox::test
