#include "export/cut_packets.h"

#include <algorithm>
#include <utility>

namespace rallinox {
namespace {

// Seeks per cut before the reader's position is taken as it is: some
// containers (MPEG transport streams) land after the asked time, and the
// reader is then sent further back, each time twice as far.
constexpr int kMostSeeks = 8;

std::int64_t oneSecond(AVRational timeBase) { return av_rescale_q(1, {1, 1}, timeBase); }

// Whether the reader may be sent back before `from`: there is something
// earlier in the track.
bool earlierExists(const AVStream& stream, std::int64_t from) {
    return stream.start_time == AV_NOPTS_VALUE || from > stream.start_time;
}

}  // namespace

bool PictureCutPackets::begin(std::int64_t start, std::int64_t end) {
    end_ = end;
    const std::int64_t second = oneSecond(track_.timeBase());
    std::int64_t lead = 0;
    for (int seeks = 1;; ++seeks) {
        const std::int64_t from = start - lead;
        switch (findKeyFrame(start, from, seeks < kMostSeeks && earlierExists(track_.stream(), from))) {
        case Search::Found: return true;
        case Search::Failed: return false;
        case Search::TooLate: break;
        }
        lead = lead == 0 ? second : 2 * lead;
    }
}

PictureCutPackets::Search PictureCutPackets::findKeyFrame(std::int64_t start, std::int64_t from, bool mayGoBack) {
    queued_.clear();
    held_.clear();
    ready_.clear();
    found_ = trackEnded_ = finished_ = false;
    if (!track_.seek(from)) return Search::Failed;
    for (;;) {
        AvPacketPtr packet = makePacket();
        if (!packet) return Search::Failed;
        const TrackPackets::Read read = track_.read(*packet);
        if (read == TrackPackets::Read::Failed) return Search::Failed;
        if (read == TrackPackets::Read::End) {
            trackEnded_ = true;
            return Search::Found;
        }
        const bool key = (packet->flags & AV_PKT_FLAG_KEY) != 0;
        if (key && (packet->pts <= start || !found_)) {
            if (!found_ && packet->pts > start && mayGoBack) return Search::TooLate;
            found_ = true;
            keyTime_ = shownEnd_ = packet->pts;
            queued_.clear();
            shownTimes_ = {};
            stamped_ = 0;
            stampDecodeTime(*packet);
            keyDecodeTime_ = packet->dts;
        } else if (found_) {
            stampDecodeTime(*packet);
        }
        if (!found_) continue;  // no picture before a key frame decodes
        // No packet decoded after this one is shown before it: a later key
        // frame cannot be at or before the start.
        const bool past = packet->dts > start;
        queued_.push_back(std::move(packet));
        if (past) return Search::Found;
    }
}

TrackPackets::Read PictureCutPackets::take(AvPacketPtr& packet) {
    if (!queued_.empty()) {
        packet = std::move(queued_.front());
        queued_.pop_front();
        return TrackPackets::Read::Packet;
    }
    if (trackEnded_) return TrackPackets::Read::End;
    packet = makePacket();
    if (!packet) return TrackPackets::Read::Failed;
    const TrackPackets::Read read = track_.read(*packet);
    if (read == TrackPackets::Read::Packet) stampDecodeTime(*packet);
    return read;
}

void PictureCutPackets::stampDecodeTime(AVPacket& packet) {
    if (packet.dts != AV_NOPTS_VALUE) return;
    // Pictures are decoded at most `depth` ahead of where they are shown:
    // the n-th decoding time is then the (n - depth)-th presentation time,
    // and the key frame's, shown first, leads them.
    const std::int64_t depth = track_.stream().codecpar->video_delay + 1;
    shownTimes_.push(packet.pts);
    if (stamped_ < depth) {
        packet.dts = keyTime_ - (depth - stamped_) * frameDuration(packet);
    } else {
        packet.dts = shownTimes_.top();
        shownTimes_.pop();
    }
    ++stamped_;
}

TrackPackets::Read PictureCutPackets::next(AVPacket& packet) {
    while (ready_.empty()) {
        if (finished_ || !found_) return TrackPackets::Read::End;
        AvPacketPtr read;
        const TrackPackets::Read status = take(read);
        if (status == TrackPackets::Read::Failed) return status;
        // Decoded at or after the end: shown after it too, like all that follow.
        if (status == TrackPackets::Read::End || read->dts >= end_) {
            finished_ = true;
            held_.clear();
            continue;
        }
        // Leading pictures of an open group refer to one before the key frame.
        if (read->pts < keyTime_) continue;
        if (read->pts < end_) {
            // Pictures shown before the end may refer to those held back.
            for (AvPacketPtr& held : held_) ready_.push_back(std::move(held));
            held_.clear();
            ready_.push_back(std::move(read));
        } else {
            held_.push_back(std::move(read));
        }
    }
    av_packet_move_ref(&packet, ready_.front().get());
    ready_.pop_front();
    shownEnd_ = std::max(shownEnd_, packet.pts + frameDuration(packet));
    return TrackPackets::Read::Packet;
}

std::int64_t PictureCutPackets::frameDuration(const AVPacket& packet) const {
    if (packet.duration > 0) return packet.duration;
    const AVStream& stream = track_.stream();
    const AVRational rate = stream.avg_frame_rate.num > 0 ? stream.avg_frame_rate : stream.r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) return 1;
    return std::max<std::int64_t>(1, av_rescale_q(1, av_inv_q(rate), stream.time_base));
}

bool SoundCutPackets::begin(std::int64_t from) {
    const std::int64_t second = oneSecond(track_.timeBase());
    std::int64_t lead = 0;
    for (int seeks = 1;; ++seeks) {
        const std::int64_t seekTo = from - lead;
        bool tooLate = false;
        if (!findStart(from, seekTo, seeks < kMostSeeks && earlierExists(track_.stream(), seekTo), tooLate))
            return false;
        if (!tooLate) return true;
        lead = lead == 0 ? second : 2 * lead;
    }
}

bool SoundCutPackets::findStart(std::int64_t from, std::int64_t seekTo, bool mayGoBack, bool& tooLate) {
    first_.reset();
    if (!track_.seek(seekTo)) return false;
    for (bool firstRead = true;; firstRead = false) {
        AvPacketPtr packet = makePacket();
        if (!packet) return false;
        const TrackPackets::Read read = track_.read(*packet);
        if (read == TrackPackets::Read::Failed) return false;
        if (read == TrackPackets::Read::End) return true;
        const std::int64_t half = duration(*packet) / 2;
        if (packet->pts + half < from) continue;  // mostly before the start
        tooLate = firstRead && packet->pts - half > from && mayGoBack;
        if (!tooLate) first_ = std::move(packet);
        return true;
    }
}

TrackPackets::Read SoundCutPackets::next(AVPacket& packet) {
    if (first_) {
        av_packet_move_ref(&packet, first_.get());
        first_.reset();
    } else if (const TrackPackets::Read read = track_.read(packet); read != TrackPackets::Read::Packet) {
        return read;
    }
    packet.duration = duration(packet);
    return TrackPackets::Read::Packet;
}

std::int64_t SoundCutPackets::duration(const AVPacket& packet) const {
    if (packet.duration > 0) return packet.duration;
    const AVCodecParameters& codec = *track_.stream().codecpar;
    const int frameSize = codec.frame_size > 0 ? codec.frame_size : 1024;  // AAC's usual frame
    if (codec.sample_rate <= 0) return 1;
    return std::max<std::int64_t>(1, av_rescale_q(frameSize, {1, codec.sample_rate}, track_.timeBase()));
}

}  // namespace rallinox
