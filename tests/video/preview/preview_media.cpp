#include "tests/video/preview/preview_media.h"

#include "tests/support/test_videos.h"

#include <cmath>
#include <sstream>
#include <thread>

namespace rallinox::test {

bool writeNumberedClip(const std::string& path, int fps, int frames, const std::string& encoderOptions) {
    std::ostringstream arguments;
    arguments << "-f lavfi -i \"nullsrc=s=64x48:r=" << fps << ",format=yuv420p,geq=lum='16+N*3':cb=128:cr=128\""
              << " -f lavfi -i sine=frequency=440:sample_rate=48000 -frames:v " << frames
              << " -c:v libx264 " << encoderOptions << " -c:a aac -shortest \"" << path << '"';
    return runFfmpeg(arguments.str());
}

int shownFrameNumber(const unsigned char* rgba) {
    // The grey level went from the video range (16..235) to full range.
    return int(std::lround(rgba[0] * 219.0 / 255.0 / 3.0));
}

bool eventually(const std::function<bool()>& done) {
    const auto start = std::chrono::steady_clock::now();
    while (!done()) {
        if (secondsSince(start) > 60.0) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace rallinox::test
