#include "video_writer.h"

#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace rallinox::synth {

VideoWriter::VideoWriter(const std::string& path, cv::Size size, double fps, int kbps) {
    const std::string bitrate = std::to_string(kbps) + "k";
    const std::vector<std::string> args = {
        "ffmpeg", "-hide_banner", "-loglevel", "error", "-y", "-f", "rawvideo", "-pix_fmt", "bgr24",
        "-s", std::to_string(size.width) + "x" + std::to_string(size.height), "-r", std::to_string(fps), "-i", "-",
        // One encoder thread: x264's rate control with several threads gives
        // different pictures from run to run, and training needs the same video.
        "-c:v", "libx264", "-preset", "superfast", "-threads", "1", "-b:v", bitrate, "-maxrate", std::to_string(kbps * 3 / 2) + "k",
        "-bufsize", std::to_string(kbps * 2) + "k", "-pix_fmt", "yuv420p", "-g", std::to_string(static_cast<int>(fps * 2)),
        "-movflags", "+faststart", path};
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("cannot create a pipe to ffmpeg");
    // A picture is megabytes; the default 64 KiB pipe makes both sides wake
    // each other dozens of times per frame. Where the system refuses the
    // larger size, the default still works.
    ::fcntl(fds[1], F_SETPIPE_SZ, 1 << 20);
    std::signal(SIGPIPE, SIG_IGN);
    child_ = ::fork();
    if (child_ < 0) throw std::runtime_error("cannot start ffmpeg");
    if (child_ == 0) {
        ::dup2(fds[0], STDIN_FILENO);
        ::close(fds[0]);
        ::close(fds[1]);
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execvp("ffmpeg", argv.data());
        ::_exit(127);
    }
    ::close(fds[0]);
    pipe_ = fds[1];
}

VideoWriter::~VideoWriter() {
    if (pipe_ >= 0 || child_ > 0) {
        try {
            finish();
        } catch (...) {
        }
    }
}

void VideoWriter::write(const cv::Mat& frame) {
    const cv::Mat packed = frame.isContinuous() ? frame : frame.clone();
    const char* data = reinterpret_cast<const char*>(packed.data);
    size_t left = packed.total() * packed.elemSize();
    while (left > 0) {
        const ssize_t n = ::write(pipe_, data, left);
        if (n <= 0) throw std::runtime_error("ffmpeg stopped accepting frames");
        data += n;
        left -= static_cast<size_t>(n);
    }
}

void VideoWriter::finish() {
    if (pipe_ >= 0) ::close(pipe_);
    pipe_ = -1;
    int status = 0;
    if (child_ > 0) ::waitpid(child_, &status, 0);
    child_ = -1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("ffmpeg failed to encode the video");
}

}  // namespace rallinox::synth
