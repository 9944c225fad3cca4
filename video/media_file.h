#pragma once

extern "C" {
#include <libavformat/avformat.h>
}

#include <cstdint>
#include <string>

namespace rallinox {

// A local media file opened for demuxing. The path is always taken as the
// name of a file, never as a URL, a protocol or an image-sequence pattern.
// MP4 edit lists are not applied: timestamps are the container's own media
// times, and callers skip to the edit-list start themselves.
class MediaFile {
public:
    MediaFile() = default;
    ~MediaFile();
    MediaFile(const MediaFile&) = delete;
    MediaFile& operator=(const MediaFile&) = delete;

    bool open(const std::string& path);

    AVFormatContext* format() const { return format_; }

    // Index of the first stream of `type` (attached cover pictures do not
    // count), or -1.
    int firstStream(AVMediaType type) const;

private:
    AVFormatContext* format_ = nullptr;
    AVIOContext* io_ = nullptr;
};

// The clockwise turn in degrees (0, 90, 180, 270) with which the stream's
// pictures are meant to be shown, from its display matrix.
std::uint32_t clockwiseRotation(const AVStream& stream);

// True when `path` opens as a media file that holds sound but no picture
// (a voice or music recording).
bool holdsOnlySound(const std::string& path);

}  // namespace rallinox
