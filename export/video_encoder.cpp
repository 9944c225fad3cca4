#include "export/video_encoder.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <algorithm>

namespace rallinox {
namespace {

constexpr const char* kRefusedMessage = "The H.264 encoder refused this video size";
constexpr std::int64_t kLowestBitRate = 2'000'000;
constexpr std::int64_t kHighestBitRate = 40'000'000;

}  // namespace

std::int64_t h264BitRate(double fps, int width, int height) {
    const double bits = fps * double(width) * double(height) * 0.1;
    return std::clamp(std::int64_t(bits), kLowestBitRate, kHighestBitRate);
}

bool videoEncoderAvailable() { return avcodec_find_encoder_by_name("libx264") != nullptr; }

std::string VideoEncoder::open(int width, int height, AVRational frameRate, std::uint32_t clockwiseRotation,
                               Mp4Muxer& muxer) {
    const AVCodec* h264 = avcodec_find_encoder_by_name("libx264");
    if (!h264) return kNoVideoEncoderMessage;
    codec_.reset(avcodec_alloc_context3(h264));
    if (!codec_) return kRefusedMessage;
    AVCodecContext& codec = *codec_;
    codec.width = width;
    codec.height = height;
    codec.pix_fmt = AV_PIX_FMT_NV12;
    codec.sample_aspect_ratio = {1, 1};
    codec.framerate = frameRate;
    codec.time_base = kPictureTimeBase;
    codec.bit_rate = h264BitRate(av_q2d(frameRate), width, height);
    codec.field_order = AV_FIELD_PROGRESSIVE;
    av_opt_set(codec.priv_data, "profile", "high", 0);
    // Quick enough for two cores at full HD; the bit rate keeps the quality.
    av_opt_set(codec.priv_data, "preset", "veryfast", 0);
    Mp4Muxer::prepareEncoder(codec);
    if (avcodec_open2(&codec, h264, nullptr) < 0) return kRefusedMessage;
    stream_ = muxer.addStream(codec, clockwiseRotation);
    if (stream_ < 0) return kRefusedMessage;
    muxer_ = &muxer;

    picture_->format = AV_PIX_FMT_NV12;
    picture_->width = width;
    picture_->height = height;
    if (av_frame_get_buffer(picture_.get(), 0) < 0) return kRefusedMessage;
    return {};
}

AVFrame* VideoEncoder::nextPicture() {
    // The encoder may still hold the previous picture's buffer.
    return av_frame_make_writable(picture_.get()) >= 0 ? picture_.get() : nullptr;
}

bool VideoEncoder::encode(std::int64_t pictureTime) {
    picture_->pts = pictureTime;
    return encodeInto(*codec_, picture_.get(), *muxer_, stream_);
}

bool VideoEncoder::finish() { return encodeInto(*codec_, nullptr, *muxer_, stream_); }

}  // namespace rallinox
