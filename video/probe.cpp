#include "video/probe.h"

#include "video/media_file.h"

#include <opencv2/videoio.hpp>

#include <sys/stat.h>

namespace rallinox {
namespace {

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

enum class PathKind { Missing, RegularFile, Folder, Other };

// Looked at without opening it (symbolic links are followed): opening a
// FIFO or a device can block for ever or stream endless bytes. A vanished
// network mount or a status that cannot be determined count as missing.
PathKind pathKind(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return PathKind::Missing;
    if (S_ISREG(status.st_mode)) return PathKind::RegularFile;
    return S_ISDIR(status.st_mode) ? PathKind::Folder : PathKind::Other;
}

std::string notFoundMessage(const std::string& path) {
    return "This file was not found:\n" + path +
           "\nIt may have been moved, renamed or be on a drive that is not connected.";
}

std::string notAFileMessage(const std::string& path, PathKind kind) {
    const char* what = kind == PathKind::Folder ? "a folder" : "a device, a pipe or a socket";
    return "\"" + fileNameOf(path) + "\" is not a video file: it is " + what + ".\n" + path;
}

std::string cannotOpenMessage(const std::string& path) {
    return "\"" + fileNameOf(path) +
           "\" cannot be opened. It may be damaged, or not be a video this computer can read.";
}

std::string soundOnlyMessage(const std::string& path) {
    return "\"" + fileNameOf(path) + "\" has no video track: it holds only sound.";
}

}  // namespace

std::string openCvPath(const std::string& path) { return path; }

bool checkVideoTrack(double width, double height, double fps, double frameCount, VideoInfo& info,
                     std::string& error) {
    // Compared as doubles first: a back end may report NaN or absurd sizes,
    // which must not reach the integer conversion.
    const auto isSize = [](double value) { return value >= 1.0 && value < 1e6; };
    if (!isSize(width) || !isSize(height) || !(fps > 0.0) || fps > 1000.0) {
        error = "This file has no readable video track.";
        return false;
    }
    info.width = int(width);
    info.height = int(height);
    info.fps = fps;
    info.durationSec = frameCount > 0.0 ? frameCount / fps : 0.0;
    return true;
}

bool checkIsVideoFile(const std::string& path, std::string& error) {
    const PathKind kind = pathKind(path);
    if (kind == PathKind::RegularFile) return true;
    error = kind == PathKind::Missing ? notFoundMessage(path) : notAFileMessage(path, kind);
    return false;
}

bool isMissingFile(const std::string& path) { return pathKind(path) == PathKind::Missing; }

bool probe(const std::string& path, VideoInfo& info, std::string& error) {
    if (!checkIsVideoFile(path, error)) return false;
    cv::VideoCapture capture(openCvPath(path), cv::CAP_ANY);
    const bool read = capture.isOpened() &&
                      checkVideoTrack(capture.get(cv::CAP_PROP_FRAME_WIDTH), capture.get(cv::CAP_PROP_FRAME_HEIGHT),
                                      capture.get(cv::CAP_PROP_FPS), capture.get(cv::CAP_PROP_FRAME_COUNT), info, error);
    if (read) return true;
    if (holdsOnlySound(path))
        error = soundOnlyMessage(path);
    else if (!capture.isOpened())
        error = cannotOpenMessage(path);
    return false;
}

}  // namespace rallinox
