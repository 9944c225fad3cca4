#include "video/probe.h"

#include <opencv2/videoio.hpp>

#include <cerrno>
#include <sys/stat.h>

namespace rallinox {
namespace {

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// True when the path names something that exists and may be opened: a
// regular file or a directory (symbolic links are followed). A missing
// file, a vanished network mount or a status that cannot be determined all
// count as not found; so do FIFOs, sockets and devices, which a video
// capture would block on or misread.
bool fileExists(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return false;
    return S_ISREG(status.st_mode) || S_ISDIR(status.st_mode);
}

std::string notFoundMessage(const std::string& path) {
    return "This file was not found:\n" + path +
           "\nIt may have been moved, renamed or be on a drive that is not connected.";
}

std::string cannotOpenMessage(const std::string& path) {
    return "\"" + fileNameOf(path) +
           "\" cannot be opened. It may be damaged, or not be a video this computer can read.";
}

}  // namespace

std::string openCvPath(const std::string& path) { return path; }

bool probe(const std::string& path, VideoInfo& info, std::string& error) {
    if (!fileExists(path)) {
        error = notFoundMessage(path);
        return false;
    }
    cv::VideoCapture capture(openCvPath(path), cv::CAP_ANY);
    if (!capture.isOpened()) {
        error = cannotOpenMessage(path);
        return false;
    }
    const int width = int(capture.get(cv::CAP_PROP_FRAME_WIDTH));
    const int height = int(capture.get(cv::CAP_PROP_FRAME_HEIGHT));
    const double fps = capture.get(cv::CAP_PROP_FPS);
    const double frameCount = capture.get(cv::CAP_PROP_FRAME_COUNT);
    if (width < 1 || height < 1 || !(fps > 0.0) || fps > 1000.0) {
        error = "This file has no readable video track.";
        return false;
    }
    info.width = width;
    info.height = height;
    info.fps = fps;
    info.durationSec = frameCount > 0.0 ? frameCount / fps : 0.0;
    return true;
}

}  // namespace rallinox
