#include "video/source_reader.h"

extern "C" {
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace rallinox::mf {
namespace {

std::string undecodableMessage(const char* codecName) {
    return std::string("This video's format cannot be decoded here (codec: ") + codecName + ").";
}

// (Re)allocates `frame` as an NV12 picture of the given size.
bool allocateNv12(AVFrame& frame, int width, int height) {
    if (frame.width == width && frame.height == height && frame.data[0]) return true;
    av_frame_unref(&frame);
    frame.format = AV_PIX_FMT_NV12;
    frame.width = width;
    frame.height = height;
    return av_frame_get_buffer(&frame, 32) >= 0;
}

void fillVideoFormat(const AVStream& stream, const AVCodecContext& codec, const AVFrame& nv12,
                     VideoFormat& format) {
    format = VideoFormat{};
    format.width = std::uint32_t(codec.width);
    format.height = std::uint32_t(codec.height);
    format.visibleWidth = format.width & ~1u;
    format.visibleHeight = format.height & ~1u;
    AVRational rate = stream.avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) rate = stream.r_frame_rate;
    if (rate.num > 0 && rate.den > 0) {
        format.fpsNum = std::uint32_t(rate.num);
        format.fpsDen = std::uint32_t(rate.den);
    }
    format.rotation = clockwiseRotation(stream);
    format.stride = nv12.linesize[0];
}

}  // namespace

SourceReader::~SourceReader() {
    sws_freeContext(toNv12_);
    swr_free(&toPcm_);
}

bool SourceReader::open(const std::string& path) { return decoder_.open(path); }

void SourceReader::deselectAudio() {
    decoder_.closeAudio();
    swr_free(&toPcm_);
}

bool SourceReader::seek(std::int64_t time) { return decoder_.seek(time); }

ReadStatus SourceReader::read(MediaSample& sample) {
    AVMediaType type = AVMEDIA_TYPE_VIDEO;
    const MediaEvent event = decoder_.next(*frame_, type);
    sample = MediaSample{};
    sample.stream = type == AVMEDIA_TYPE_AUDIO ? StreamKind::Audio : StreamKind::Video;
    switch (event) {
    case MediaEvent::StreamEnded: return ReadStatus::StreamEnded;
    case MediaEvent::Finished: return ReadStatus::Finished;
    case MediaEvent::Failed: return ReadStatus::Failed;
    case MediaEvent::Frame: break;
    }
    const AVStream& stream = type == AVMEDIA_TYPE_AUDIO ? *decoder_.audioStream() : *decoder_.videoStream();
    const std::int64_t time = decoder_.frameTime(*frame_, stream);
    sample.time = time == AV_NOPTS_VALUE ? kNoTime : time;
    const bool converted = type == AVMEDIA_TYPE_AUDIO ? convertAudio(*frame_, sample) : convertVideo(*frame_, sample);
    av_frame_unref(frame_.get());
    return converted ? ReadStatus::Sample : ReadStatus::Failed;
}

bool SourceReader::convertVideo(const AVFrame& frame, MediaSample& sample) {
    sample.formatChanged = frame.width != lastWidth_ || frame.height != lastHeight_;
    lastWidth_ = frame.width;
    lastHeight_ = frame.height;
    if (!allocateNv12(*nv12_, frame.width, frame.height)) return false;
    toNv12_ = sws_getCachedContext(toNv12_, frame.width, frame.height, AVPixelFormat(frame.format),
                                   frame.width, frame.height, AV_PIX_FMT_NV12, SWS_BILINEAR, nullptr,
                                   nullptr, nullptr);
    if (!toNv12_) return false;
    sws_scale(toNv12_, frame.data, frame.linesize, 0, frame.height, nv12_->data, nv12_->linesize);
    sample.width = std::uint32_t(frame.width);
    sample.height = std::uint32_t(frame.height);
    sample.luma = nv12_->data[0];
    sample.lumaPitch = nv12_->linesize[0];
    sample.chroma = nv12_->data[1];
    sample.chromaPitch = nv12_->linesize[1];
    return true;
}

bool SourceReader::convertAudio(const AVFrame& frame, MediaSample& sample) {
    if (!toPcm_) return false;
    const int channels = frame.ch_layout.nb_channels;
    pcm_.resize(std::size_t(frame.nb_samples) * std::size_t(channels > 0 ? channels : 1));
    auto* out = reinterpret_cast<std::uint8_t*>(pcm_.data());
    const int frames = swr_convert(toPcm_, &out, frame.nb_samples,
                                   const_cast<const std::uint8_t**>(frame.extended_data), frame.nb_samples);
    if (frames < 0) return false;
    sample.pcm = pcm_.data();
    sample.frames = frames;
    return true;
}

bool configureReader(SourceReader& reader, VideoFormat& format, AudioFormat& audioOut, bool& hasAudio,
                     std::string& error) {
    hasAudio = false;
    audioOut = AudioFormat{};
    MediaDecoder& decoder = reader.decoder_;
    const bool videoOpened = decoder.openVideo([](AVCodecContext& codec) {
        codec.thread_count = 0;
        codec.thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
        return true;
    });
    const AVCodecContext* codec = decoder.videoCodec();
    if (!videoOpened || codec->width < 2 || codec->height < 2 ||
        !allocateNv12(*reader.nv12_, codec->width, codec->height)) {
        error = undecodableMessage(codec ? avcodec_get_name(codec->codec_id) : "none");
        return false;
    }
    fillVideoFormat(*decoder.videoStream(), *codec, *reader.nv12_, format);

    if (!decoder.openAudio()) return true;
    const AVCodecContext* audio = decoder.audioCodec();
    AVChannelLayout layout{};
    if (audio->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&layout, audio->ch_layout.nb_channels);
    else
        av_channel_layout_copy(&layout, &audio->ch_layout);
    const bool resampler =
        layout.nb_channels > 0 && audio->sample_rate > 0 &&
        swr_alloc_set_opts2(&reader.toPcm_, &layout, AV_SAMPLE_FMT_S16, audio->sample_rate, &layout,
                            audio->sample_fmt, audio->sample_rate, 0, nullptr) >= 0 &&
        swr_init(reader.toPcm_) >= 0;
    if (resampler) {
        hasAudio = true;
        audioOut.sampleRate = std::uint32_t(audio->sample_rate);
        audioOut.channels = std::uint32_t(layout.nb_channels);
    } else {
        reader.deselectAudio();
    }
    av_channel_layout_uninit(&layout);
    return true;
}

}  // namespace rallinox::mf
