#include "video/media_decoder.h"

#include <string_view>

namespace rallinox {
namespace {

constexpr AVRational kHundredNanoseconds{1, 10'000'000};

}  // namespace

bool MediaDecoder::open(const std::string& path) {
    if (!file_.open(path)) return false;
    const AVFormatContext& format = *file_.format();
    const bool quickTime = std::string_view(format.iformat->name).find("mov") != std::string_view::npos;
    if (!quickTime && format.start_time != AV_NOPTS_VALUE)
        timeOrigin_ = av_rescale_q(format.start_time, AV_TIME_BASE_Q, kHundredNanoseconds);
    return true;
}

bool MediaDecoder::openTrack(Track& track, AVMediaType type, const Configure& configure) {
    track = Track{};
    track.type = type;
    const int index = file_.firstStream(type);
    if (index < 0) return false;
    const AVStream* stream = file_.format()->streams[index];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) return false;
    AvCodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context || avcodec_parameters_to_context(context.get(), stream->codecpar) < 0) return false;
    context->pkt_timebase = stream->time_base;
    if (configure && !configure(*context)) return false;
    if (avcodec_open2(context.get(), codec, nullptr) < 0) return false;
    track.index = index;
    track.codec = std::move(context);
    return true;
}

bool MediaDecoder::openVideo(const Configure& configure) {
    return openTrack(video_, AVMEDIA_TYPE_VIDEO, configure);
}

bool MediaDecoder::openAudio() { return openTrack(audio_, AVMEDIA_TYPE_AUDIO, {}); }

void MediaDecoder::closeAudio() { audio_ = Track{}; }

const AVStream* MediaDecoder::videoStream() const {
    return video_.codec ? file_.format()->streams[video_.index] : nullptr;
}

const AVStream* MediaDecoder::audioStream() const {
    return audio_.codec ? file_.format()->streams[audio_.index] : nullptr;
}

bool MediaDecoder::feedNextPacket() {
    if (inputEnded_) return false;
    if (av_read_frame(file_.format(), packet_.get()) < 0) {
        inputEnded_ = true;
        for (Track* track : {&video_, &audio_})
            if (track->codec) avcodec_send_packet(track->codec.get(), nullptr);
        return true;
    }
    for (Track* track : {&video_, &audio_}) {
        if (!track->codec || track->ended || packet_->stream_index != track->index) continue;
        if (track == &video_ && skipUnreferencedBefore_ != INT64_MIN) chooseSkipping(*packet_);
        const int sent = avcodec_send_packet(track->codec.get(), packet_.get());
        av_packet_unref(packet_.get());
        // Damaged data is concealed by the decoder; only a broken decoder stops us.
        return sent >= 0 || sent == AVERROR_INVALIDDATA || sent == AVERROR(EAGAIN);
    }
    av_packet_unref(packet_.get());
    return true;
}

void MediaDecoder::chooseSkipping(const AVPacket& packet) {
    const AVStream& stream = *file_.format()->streams[video_.index];
    const bool before = packet.pts != AV_NOPTS_VALUE &&
                        av_rescale_q(packet.pts, stream.time_base, kHundredNanoseconds) - timeOrigin_ <
                            skipUnreferencedBefore_;
    // The decoder takes the setting with each packet, frame threads included.
    video_.codec->skip_frame = before ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
}

MediaEvent MediaDecoder::next(AVFrame& frame, AVMediaType& type) {
    for (;;) {
        bool anyLive = false;
        for (Track* track : {&video_, &audio_}) {
            if (!track->codec || track->ended) continue;
            anyLive = true;
            const int received = avcodec_receive_frame(track->codec.get(), &frame);
            type = track->type;
            if (received == 0) return MediaEvent::Frame;
            if (received == AVERROR_EOF) {
                track->ended = true;
                return MediaEvent::StreamEnded;
            }
            if (received != AVERROR(EAGAIN) && received != AVERROR_INVALIDDATA) return MediaEvent::Failed;
        }
        if (!anyLive) return MediaEvent::Finished;
        if (inputEnded_) return MediaEvent::Finished;  // a decoder that never drains
        if (!feedNextPacket()) return MediaEvent::Failed;
    }
}

bool MediaDecoder::seek(std::int64_t time) {
    // An audio-only reader (the preview's sound) seeks on its audio stream.
    const Track& base = video_.codec ? video_ : audio_;
    if (!base.codec) return false;
    const AVStream* stream = file_.format()->streams[base.index];
    const std::int64_t target = av_rescale_q(time + timeOrigin_, kHundredNanoseconds, stream->time_base);
    if (av_seek_frame(file_.format(), base.index, target, AVSEEK_FLAG_BACKWARD) < 0) return false;
    for (Track* track : {&video_, &audio_}) {
        if (!track->codec) continue;
        avcodec_flush_buffers(track->codec.get());
        track->codec->skip_frame = AVDISCARD_DEFAULT;
        track->ended = false;
    }
    skipUnreferencedBefore_ = INT64_MIN;
    inputEnded_ = false;
    return true;
}

std::int64_t MediaDecoder::frameTime(const AVFrame& frame, const AVStream& stream) const {
    const std::int64_t time = frame.best_effort_timestamp;
    if (time == AV_NOPTS_VALUE) return AV_NOPTS_VALUE;
    return av_rescale_q(time, stream.time_base, kHundredNanoseconds) - timeOrigin_;
}

}  // namespace rallinox
