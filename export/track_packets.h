// One track of a source file read as it is stored, packet by packet, with
// the file's other tracks skipped unread. The picture and the sound each get
// their own, so that each can be sought where its cut needs it.
#pragma once

extern "C" {
#include <libavformat/avformat.h>
}

#include <cstdint>
#include <string>

#include "video/media_file.h"

namespace rallinox {

class TrackPackets {
public:
    enum class Read { Packet, End, Failed };

    // False when the file cannot be read or has no track of `type`.
    bool open(const std::string& path, AVMediaType type);

    const AVStream& stream() const { return *stream_; }
    AVRational timeBase() const { return stream_->time_base; }

    // The track's time (in its time base) of `seconds` on the player's
    // clock, and back: MP4 tracks start where their edit lists say, other
    // files at their first time stamp.
    std::int64_t trackTime(double seconds) const;
    double playerSec(std::int64_t trackTime) const;

    // Sends the reader to the last key frame at or before `trackTime`, or
    // to the first one when none is.
    bool seek(std::int64_t trackTime);
    // The next packet of the track in stored order, its presentation time
    // filled in from its decoding time when missing. Its decoding time may
    // be missing (Matroska stores none).
    Read read(AVPacket& packet);

private:
    MediaFile file_;
    AVStream* stream_ = nullptr;
    double originSec_ = 0;  // the track's time of the player's time 0
};

}  // namespace rallinox
