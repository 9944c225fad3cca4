#pragma once
// H.264 encoding by piping raw BGR frames into the ffmpeg program
// (libx264, yuv420p, a bit rate like a consumer camera's).
#include <opencv2/core.hpp>

#include <string>
#include <sys/types.h>

namespace rallinox::synth {

class VideoWriter {
public:
    VideoWriter(const std::string& path, cv::Size size, double fps, int kbps);
    ~VideoWriter();
    VideoWriter(const VideoWriter&) = delete;
    VideoWriter& operator=(const VideoWriter&) = delete;

    void write(const cv::Mat& frame);
    // Waits for ffmpeg; throws when it failed.
    void finish();

private:
    int pipe_ = -1;
    pid_t child_ = -1;
};

}  // namespace rallinox::synth
