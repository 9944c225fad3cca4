#include "export/audio_encoder.h"

extern "C" {
#include <libavutil/audio_fifo.h>
#include <libswresample/swresample.h>
}

#include <algorithm>

namespace rallinox {
namespace {

constexpr const char* kRefusedMessage = "The AAC encoder refused the audio";
constexpr std::int64_t kBitRate = 192'000;
constexpr int kSilenceChunk = 4096;

}  // namespace

AudioEncoder::~AudioEncoder() {
    swr_free(&toPlanar_);
    if (queue_) av_audio_fifo_free(queue_);
}

std::string AudioEncoder::open(int sampleRate, int channels, Mp4Muxer& muxer) {
    const AVCodec* aac = avcodec_find_encoder_by_name("aac");
    if (!aac) return kRefusedMessage;
    codec_.reset(avcodec_alloc_context3(aac));
    if (!codec_) return kRefusedMessage;
    AVCodecContext& codec = *codec_;
    codec.sample_fmt = AV_SAMPLE_FMT_FLTP;
    codec.sample_rate = sampleRate;
    av_channel_layout_default(&codec.ch_layout, channels);
    codec.bit_rate = kBitRate;
    codec.time_base = {1, sampleRate};
    Mp4Muxer::prepareEncoder(codec);
    if (avcodec_open2(&codec, aac, nullptr) < 0) return kRefusedMessage;
    if (swr_alloc_set_opts2(&toPlanar_, &codec.ch_layout, AV_SAMPLE_FMT_FLTP, sampleRate, &codec.ch_layout,
                            AV_SAMPLE_FMT_S16, sampleRate, 0, nullptr) < 0 ||
        swr_init(toPlanar_) < 0)
        return kRefusedMessage;
    queue_ = av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, channels, codec.frame_size > 0 ? codec.frame_size : 1024);
    if (!queue_) return kRefusedMessage;
    stream_ = muxer.addStream(codec);
    if (stream_ < 0) return kRefusedMessage;
    muxer_ = &muxer;
    channels_ = channels;
    return {};
}

AVFrame* AudioEncoder::scratch(int frames) {
    if (scratch_->nb_samples >= frames && scratch_->data[0]) return scratch_.get();
    av_frame_unref(scratch_.get());
    scratch_->format = AV_SAMPLE_FMT_FLTP;
    scratch_->sample_rate = codec_->sample_rate;
    scratch_->nb_samples = frames;
    if (av_channel_layout_copy(&scratch_->ch_layout, &codec_->ch_layout) < 0 ||
        av_frame_get_buffer(scratch_.get(), 0) < 0)
        return nullptr;
    return scratch_.get();
}

bool AudioEncoder::queueSilence(std::int64_t frames) {
    while (frames > 0) {
        const int chunk = int(std::min<std::int64_t>(frames, kSilenceChunk));
        AVFrame* silence = scratch(chunk);
        if (!silence) return false;
        av_samples_set_silence(silence->data, 0, chunk, channels_, AV_SAMPLE_FMT_FLTP);
        if (av_audio_fifo_write(queue_, reinterpret_cast<void**>(silence->data), chunk) < chunk) return false;
        queuedEnd_ += chunk;
        frames -= chunk;
    }
    return true;
}

bool AudioEncoder::queue(const std::int16_t* pcm, int frames) {
    AVFrame* planar = scratch(frames);
    if (!planar) return false;
    const auto* input = reinterpret_cast<const std::uint8_t*>(pcm);
    const int converted = swr_convert(toPlanar_, planar->data, frames, &input, frames);
    if (converted < 0) return false;
    if (av_audio_fifo_write(queue_, reinterpret_cast<void**>(planar->data), converted) < converted) return false;
    queuedEnd_ += converted;
    return true;
}

bool AudioEncoder::write(const std::int16_t* pcm, int frames, std::int64_t position) {
    if (position > queuedEnd_ && !queueSilence(position - queuedEnd_)) return false;
    const std::int64_t overlap = std::clamp<std::int64_t>(queuedEnd_ - position, 0, frames);
    const int kept = frames - int(overlap);
    if (kept > 0 && !queue(pcm + overlap * channels_, kept)) return false;
    return encodeQueued(false);
}

bool AudioEncoder::encodeQueued(bool all) {
    const int frameSize = codec_->frame_size > 0 ? codec_->frame_size : av_audio_fifo_size(queue_);
    while (av_audio_fifo_size(queue_) >= frameSize || (all && av_audio_fifo_size(queue_) > 0)) {
        AvFramePtr frame = makeFrame();
        if (!frame) return false;
        frame->format = AV_SAMPLE_FMT_FLTP;
        frame->sample_rate = codec_->sample_rate;
        frame->nb_samples = std::min(frameSize, av_audio_fifo_size(queue_));
        if (av_channel_layout_copy(&frame->ch_layout, &codec_->ch_layout) < 0 ||
            av_frame_get_buffer(frame.get(), 0) < 0 ||
            av_audio_fifo_read(queue_, reinterpret_cast<void**>(frame->data), frame->nb_samples) <
                frame->nb_samples)
            return false;
        frame->pts = encodedEnd_;
        encodedEnd_ += frame->nb_samples;
        if (!encodeInto(*codec_, frame.get(), *muxer_, stream_)) return false;
    }
    return true;
}

bool AudioEncoder::finish() { return encodeQueued(true) && encodeInto(*codec_, nullptr, *muxer_, stream_); }

}  // namespace rallinox
