#include "generated_media.h"

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace rallinox::test {

bool runFfmpeg(const std::string& arguments) {
    const std::string command = "ffmpeg -nostdin -v error -y " + arguments;
    return std::system(command.c_str()) == 0;
}

bool writeNumberedVideo(const std::string& path, int fps, int frames, int width, int height,
                        const std::string& options) {
    std::ostringstream arguments;
    arguments << "-f lavfi -i \"nullsrc=s=" << width << 'x' << height << ":r=" << fps
              << ",format=yuv420p,geq=lum='N*4':cb=128:cr=128\" -frames:v " << frames
              << " -c:v libx264 -qp 0 -bf 0 " << options << " \"" << path << '"';
    return runFfmpeg(arguments.str());
}

int frameNumber(const cv::Mat& grey) { return int(std::lround(cv::mean(grey)[0] / 4.0)); }

}  // namespace rallinox::test
