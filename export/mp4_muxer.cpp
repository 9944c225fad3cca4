#include "export/mp4_muxer.h"

extern "C" {
#include <libavutil/display.h>
}

#include <algorithm>
#include <cstring>

#include "export/av_error.h"

namespace rallinox {

Mp4Muxer::~Mp4Muxer() { close(); }

void Mp4Muxer::close() {
    if (!format_) return;
    avio_closep(&format_->pb);
    avformat_free_context(format_);
    format_ = nullptr;
}

std::string Mp4Muxer::create(const std::string& path) {
    // "file:" keeps FFmpeg from reading the name as a protocol; moving the
    // index to the front reopens the file by this same name.
    const std::string url = "file:" + path;
    int status = avformat_alloc_output_context2(&format_, nullptr, "mp4", url.c_str());
    if (status < 0) return withAvError("Cannot create the output file", status);
    status = avio_open(&format_->pb, url.c_str(), AVIO_FLAG_WRITE);
    if (status < 0) return withAvError("Cannot create the output file", status);
    return {};
}

void Mp4Muxer::prepareEncoder(AVCodecContext& codec) { codec.flags |= AV_CODEC_FLAG_GLOBAL_HEADER; }

int Mp4Muxer::addStream(const AVCodecContext& codec, std::uint32_t clockwiseRotation) {
    AVStream* stream = avformat_new_stream(format_, nullptr);
    if (!stream || avcodec_parameters_from_context(stream->codecpar, &codec) < 0) return -1;
    stream->time_base = codec.time_base;
    if (codec.codec_type == AVMEDIA_TYPE_VIDEO) stream->avg_frame_rate = codec.framerate;
    if (clockwiseRotation != 0) {
        auto* matrix = reinterpret_cast<std::int32_t*>(
            av_stream_new_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, 9 * sizeof(std::int32_t)));
        if (!matrix) return -1;
        // Unlike its reading counterpart, this takes the angle clockwise.
        av_display_rotation_set(matrix, double(clockwiseRotation));
    }
    return stream->index;
}

int Mp4Muxer::addCopiedStream(const AVStream& source, AVRational timeBase) {
    AVStream* stream = avformat_new_stream(format_, nullptr);
    if (!stream || avcodec_parameters_copy(stream->codecpar, source.codecpar) < 0) return -1;
    // Another container's tag for the codec may mean nothing in MP4.
    stream->codecpar->codec_tag = 0;
    stream->time_base = timeBase;
    stream->avg_frame_rate = source.avg_frame_rate;
    size_t size = 0;
    if (const std::uint8_t* matrix = av_stream_get_side_data(&source, AV_PKT_DATA_DISPLAYMATRIX, &size)) {
        std::uint8_t* copy = av_stream_new_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, size);
        if (!copy) return -1;
        std::memcpy(copy, matrix, size);
    }
    return stream->index;
}

std::string Mp4Muxer::begin() {
    AVDictionary* options = nullptr;
    av_dict_set(&options, "movflags", "+faststart", 0);
    const int status = avformat_write_header(format_, &options);
    av_dict_free(&options);
    if (status < 0) return withAvError("Cannot start writing", status);
    return {};
}

bool Mp4Muxer::write(AVPacket& packet, const AVCodecContext& codec, int stream) {
    return write(packet, codec.time_base, stream);
}

bool Mp4Muxer::write(AVPacket& packet, AVRational timeBase, int stream) {
    av_packet_rescale_ts(&packet, timeBase, format_->streams[stream]->time_base);
    packet.stream_index = stream;
    return av_interleaved_write_frame(format_, &packet) >= 0;
}

bool Mp4Muxer::finish() {
    const int written = av_write_trailer(format_);
    const int closed = avio_closep(&format_->pb);
    finishError_ = written < 0 ? written : std::min(closed, 0);
    close();
    return finishError_ == 0;
}

int Mp4Muxer::writeError() const { return format_ && format_->pb ? format_->pb->error : finishError_; }

bool encodeInto(AVCodecContext& codec, const AVFrame* frame, Mp4Muxer& muxer, int stream) {
    if (avcodec_send_frame(&codec, frame) < 0) return false;
    AVPacket* packet = av_packet_alloc();
    if (!packet) return false;
    bool ok = true;
    for (;;) {
        const int received = avcodec_receive_packet(&codec, packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) break;
        if (received < 0 || !muxer.write(*packet, codec, stream)) {
            ok = false;
            break;
        }
    }
    av_packet_free(&packet);
    return ok;
}

}  // namespace rallinox
