#include "export/track_packets.h"

#include <cmath>
#include <string_view>

#include "video/mp4_boxes.h"

namespace rallinox {

bool TrackPackets::open(const std::string& path, AVMediaType type) {
    if (!file_.open(path)) return false;
    AVFormatContext& format = *file_.format();
    const int index = file_.firstStream(type);
    if (index < 0) return false;
    for (unsigned i = 0; i < format.nb_streams; ++i)
        if (int(i) != index) format.streams[i]->discard = AVDISCARD_ALL;
    stream_ = format.streams[index];
    // The same origin the decoders take, so that cuts land where the
    // editor showed them.
    const bool quickTime = std::string_view(format.iformat->name).find("mov") != std::string_view::npos;
    if (quickTime)
        originSec_ = type == AVMEDIA_TYPE_VIDEO ? mp4VideoStartOffset(path) : mp4AudioStartOffset(path);
    else if (format.start_time != AV_NOPTS_VALUE)
        originSec_ = double(format.start_time) / AV_TIME_BASE;
    return true;
}

std::int64_t TrackPackets::trackTime(double seconds) const {
    return std::llround((seconds + originSec_) / av_q2d(stream_->time_base));
}

double TrackPackets::playerSec(std::int64_t trackTime) const {
    return double(trackTime) * av_q2d(stream_->time_base) - originSec_;
}

bool TrackPackets::seek(std::int64_t trackTime) {
    AVFormatContext* format = file_.format();
    return av_seek_frame(format, stream_->index, trackTime, AVSEEK_FLAG_BACKWARD) >= 0 ||
           av_seek_frame(format, stream_->index, trackTime, 0) >= 0;
}

TrackPackets::Read TrackPackets::read(AVPacket& packet) {
    for (;;) {
        const int status = av_read_frame(file_.format(), &packet);
        if (status == AVERROR_EOF) return Read::End;
        if (status < 0) return Read::Failed;
        if (packet.stream_index == stream_->index && (packet.pts != AV_NOPTS_VALUE || packet.dts != AV_NOPTS_VALUE)) {
            if (packet.pts == AV_NOPTS_VALUE) packet.pts = packet.dts;
            return Read::Packet;
        }
        av_packet_unref(&packet);
    }
}

}  // namespace rallinox
