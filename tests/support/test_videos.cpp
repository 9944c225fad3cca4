#include "tests/support/test_videos.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace rallinox::test {

namespace {

std::string quotedPath(const std::string& path) { return '"' + path + '"'; }

}  // namespace

bool runFfmpeg(const std::string& arguments) {
    const std::string command = "ffmpeg -nostdin -v error -y " + arguments;
    return std::system(command.c_str()) == 0;
}

bool writeTestVideo(const std::string& path, const TestVideo& video) {
    std::ostringstream arguments;
    arguments << "-f lavfi -i testsrc2=s=" << video.width << 'x' << video.height << ":r=" << video.fps
              << ":d=" << video.seconds;
    if (video.toneRate > 0)
        arguments << " -f lavfi -i sine=frequency=440:sample_rate=" << video.toneRate << ":duration=" << video.seconds
                  << " -c:a aac";
    arguments << " -c:v libx264 -preset ultrafast -pix_fmt yuv420p " << quotedPath(path);
    return runFfmpeg(arguments.str());
}

bool writeNumberedVideo(const std::string& path, int fps, int frames, int width, int height,
                        const std::string& options) {
    std::ostringstream arguments;
    arguments << "-f lavfi -i \"nullsrc=s=" << width << 'x' << height << ":r=" << fps
              << ",format=yuv420p,geq=lum='N*4':cb=128:cr=128\" -frames:v " << frames
              << " -c:v libx264 -qp 0 -bf 0 " << options << ' ' << quotedPath(path);
    return runFfmpeg(arguments.str());
}

int frameNumber(const cv::Mat& grey) { return int(std::lround(cv::mean(grey)[0] / 4.0)); }

}  // namespace rallinox::test
