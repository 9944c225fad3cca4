#include "export/sound_reencoder.h"

extern "C" {
#include <libavutil/mathematics.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cmath>

#include "export/mp4_export.h"
#include "video/media_time.h"
#include "video/mp4_boxes.h"

namespace rallinox {
namespace {

// Sample frames at `rate` in `seconds`, rounded.
std::int64_t framesIn(double seconds, int rate) { return std::llround(seconds * rate); }

}  // namespace

SoundReencoder::~SoundReencoder() { swr_free(&toPcm_); }

bool SoundReencoder::open(const std::string& path) {
    if (!decoder_.open(path) || !decoder_.openAudio()) return false;
    AVCodecContext& codec = *decoder_.audioCodec();
    if (!soundFormatSupported(codec.sample_rate, codec.ch_layout.nb_channels)) return false;
    if (swr_alloc_set_opts2(&toPcm_, &codec.ch_layout, AV_SAMPLE_FMT_S16, codec.sample_rate, &codec.ch_layout,
                            codec.sample_fmt, codec.sample_rate, 0, nullptr) < 0 ||
        swr_init(toPcm_) < 0)
        return false;
    originSec_ = mp4AudioStartOffset(path);
    return true;
}

std::string SoundReencoder::addTo(Mp4Muxer& muxer) {
    const AVCodecContext& codec = *decoder_.audioCodec();
    return encoder_.open(codec.sample_rate, codec.ch_layout.nb_channels, muxer);
}

int SoundReencoder::sampleRate() const { return decoder_.audioCodec()->sample_rate; }

bool SoundReencoder::begin(double fromSec, double toSec, std::int64_t position) {
    fromSec_ = fromSec;
    toSec_ = toSec;
    position_ = position;
    stretchDone_ = false;
    return decoder_.seek(ticksFromSeconds(fromSec + originSec_));
}

bool SoundReencoder::writeUntil(double untilSec) {
    while (!stretchDone_) {
        AVMediaType type = AVMEDIA_TYPE_UNKNOWN;
        const MediaEvent event = decoder_.next(*frame_, type);
        if (event == MediaEvent::Failed) return false;
        if (event != MediaEvent::Frame) {
            stretchDone_ = true;
            break;
        }
        const std::int64_t time = decoder_.frameTime(*frame_, *decoder_.audioStream());
        if (time == AV_NOPTS_VALUE) continue;
        const double timeSec = secondsFromTicks(time) - originSec_;
        stretchDone_ = timeSec >= toSec_;
        if (!stretchDone_ && !write(*frame_, timeSec)) return false;
        if (timeSec >= untilSec) break;
    }
    return true;
}

bool SoundReencoder::write(const AVFrame& frame, double timeSec) {
    const int rate = sampleRate();
    const int channels = frame.ch_layout.nb_channels;
    pcm_.resize(std::size_t(swr_get_out_samples(toPcm_, frame.nb_samples)) * std::size_t(channels));
    auto* output = reinterpret_cast<std::uint8_t*>(pcm_.data());
    const int converted = swr_convert(toPcm_, &output, int(pcm_.size()) / channels,
                                      const_cast<const std::uint8_t**>(frame.extended_data), frame.nb_samples);
    if (converted < 0) return false;
    // Only the part of the frame inside the stretch, at its distance to the
    // stretch's start.
    const std::int64_t offset = framesIn(timeSec - fromSec_, rate);
    const std::int64_t first = std::max<std::int64_t>(0, -offset);
    const std::int64_t last = std::min<std::int64_t>(converted, framesIn(toSec_ - timeSec, rate));
    if (last <= first) return true;
    return encoder_.write(pcm_.data() + first * channels, int(last - first), position_ + offset + first);
}

}  // namespace rallinox
