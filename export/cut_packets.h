// The stored packets of one cut, as a copy without re-encoding takes them.
// The picture starts at the key frame at or before the cut's start and keeps
// every packet, in decoding order, up to the last one shown before its end.
// The sound is whole packets from a given time on.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <queue>
#include <vector>

#include "export/track_packets.h"
#include "video/ffmpeg_ptr.h"

namespace rallinox {

class PictureCutPackets {
public:
    explicit PictureCutPackets(TrackPackets& track) : track_(track) {}

    // Finds the cut's key frame; `start` and `end` are track times. False
    // when the file could not be read.
    bool begin(std::int64_t start, std::int64_t end);
    // False when the track has no key frame from the cut's start on.
    bool found() const { return found_; }
    std::int64_t keyTime() const { return keyTime_; }  // presentation time
    std::int64_t keyDecodeTime() const { return keyDecodeTime_; }

    // The cut's next packet in decoding order.
    TrackPackets::Read next(AVPacket& packet);
    // After the last packet: where the last picture given out stops showing.
    std::int64_t shownEnd() const { return shownEnd_; }

private:
    enum class Search { Found, TooLate, Failed };

    // Reads from a seek to `from` until the key frame of the cut starting at
    // `start` is known. Too late: the first key frame after the seek comes
    // after the start and `mayGoBack`.
    Search findKeyFrame(std::int64_t start, std::int64_t from, bool mayGoBack);
    // The next packet after the key frame, from those read while looking for it first.
    TrackPackets::Read take(AvPacketPtr& packet);
    // Gives a packet stored without a decoding time one that keeps the
    // order of decoding and comes no later than its presentation.
    void stampDecodeTime(AVPacket& packet);
    std::int64_t frameDuration(const AVPacket& packet) const;

    TrackPackets& track_;
    std::int64_t end_ = 0;
    std::int64_t keyTime_ = 0;
    std::int64_t keyDecodeTime_ = 0;
    std::int64_t shownEnd_ = 0;
    std::deque<AvPacketPtr> queued_;  // read while looking for the key frame
    std::deque<AvPacketPtr> held_;    // shown after the end: kept only if a later one is needed
    std::deque<AvPacketPtr> ready_;
    // Presentation times since the key frame not yet taken as decoding
    // times, which follow them a few pictures behind.
    std::priority_queue<std::int64_t, std::vector<std::int64_t>, std::greater<>> shownTimes_;
    std::int64_t stamped_ = 0;  // packets since the key frame given a decoding time
    bool found_ = false;
    bool trackEnded_ = false;  // the track's last packet has been read
    bool finished_ = false;    // the cut's last packet has been read
};

class SoundCutPackets {
public:
    explicit SoundCutPackets(TrackPackets& track) : track_(track) {}

    // Goes to the packet that starts nearest to `from` (track time). False
    // when the file could not be read.
    bool begin(std::int64_t from);
    // The next packet; its duration is always filled in.
    TrackPackets::Read next(AVPacket& packet);

private:
    std::int64_t duration(const AVPacket& packet) const;
    // Like PictureCutPackets::findKeyFrame, for the packet nearest `from`.
    bool findStart(std::int64_t from, std::int64_t seekTo, bool mayGoBack, bool& tooLate);

    TrackPackets& track_;
    AvPacketPtr first_;  // read while looking for the start
};

}  // namespace rallinox
