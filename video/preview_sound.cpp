#include "video/preview_sound.h"

#include "app/core/log.h"
#include "platform/audio_output.h"
#include "video/audio_tempo.h"
#include "video/media_decoder.h"
#include "video/media_time.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace rallinox {
namespace {

// About this much sound waits in the device: enough to ride out a busy
// moment, little enough that pause, seek and mute are heard at once.
constexpr double kQueuedSeconds = 0.2;
constexpr auto kRefillInterval = std::chrono::milliseconds(10);

struct SwrFree {
    void operator()(SwrContext* context) const { swr_free(&context); }
};

// Converts decoded frames of any layout and format to the device's
// interleaved float samples at its rate.
class Resampler {
public:
    bool convert(const AVFrame& frame, int rate, int channels, std::vector<float>& out) {
        if (!context_ || frame.format != inFormat_ || frame.sample_rate != inRate_ ||
            frame.ch_layout.nb_channels != inChannels_) {
            if (!setUp(frame, rate, channels)) return false;
        }
        const int capacity = swr_get_out_samples(context_.get(), frame.nb_samples);
        if (capacity <= 0) return false;
        out.resize(size_t(capacity) * size_t(channels));
        auto* target = reinterpret_cast<uint8_t*>(out.data());
        const int converted = swr_convert(context_.get(), &target, capacity,
                                          const_cast<const uint8_t**>(frame.extended_data), frame.nb_samples);
        if (converted < 0) return false;
        out.resize(size_t(converted) * size_t(channels));
        return true;
    }
    // Forgets the samples held back from earlier frames (after a seek).
    void reset() { context_.reset(); }

private:
    bool setUp(const AVFrame& frame, int rate, int channels) {
        context_.reset();
        AVChannelLayout inLayout{};
        if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&inLayout, frame.ch_layout.nb_channels);
        else if (av_channel_layout_copy(&inLayout, &frame.ch_layout) < 0)
            return false;
        AVChannelLayout outLayout{};
        av_channel_layout_default(&outLayout, channels);
        SwrContext* context = nullptr;
        const bool made = swr_alloc_set_opts2(&context, &outLayout, AV_SAMPLE_FMT_FLT, rate, &inLayout,
                                              AVSampleFormat(frame.format), frame.sample_rate, 0, nullptr) >= 0;
        av_channel_layout_uninit(&inLayout);
        av_channel_layout_uninit(&outLayout);
        context_.reset(context);
        if (!made || swr_init(context) < 0) {
            context_.reset();
            return false;
        }
        inFormat_ = frame.format;
        inRate_ = frame.sample_rate;
        inChannels_ = frame.ch_layout.nb_channels;
        return true;
    }

    std::unique_ptr<SwrContext, SwrFree> context_;
    int inFormat_ = -1;
    int inRate_ = 0;
    int inChannels_ = 0;
};

}  // namespace

struct PreviewSound::Impl {
    ~Impl() {
        {
            std::lock_guard<std::mutex> held(lock);
            stop = true;
        }
        wake.notify_one();
        if (thread.joinable()) thread.join();
    }

    void run();
    // Drops what is queued and restarts decoding at `seconds`.
    void moveTo(double seconds);
    // Decodes and queues one frame; false at the end of the track.
    bool decodeNext(bool silent);
    void deliver(const AVFrame& frame, bool silent);

    // Set up by open(), then used by the sound thread only.
    MediaDecoder decoder;
    AudioOutput output;
    Resampler resampler;
    AudioTempo tempo;
    AvFramePtr decoded = makeFrame();
    std::vector<float> samples;
    std::vector<float> tempoSamples;
    double tempoRate = 1.0;
    double skipUntil = 0.0;
    // Media time at the end of the sound handed to the device.
    std::atomic<double> fedEnd{0.0};

    // Shared with the caller's thread.
    mutable std::mutex lock;
    std::condition_variable wake;
    std::thread thread;
    bool stop = false;
    bool playing = false;
    bool muted = false;
    double rate = 1.0;
    double seekRequest = -1.0;
    // Where pause() stopped the sound; a frame still being decoded then must
    // not move the reported time (-1 while playing or after a seek).
    double pausedAt = -1.0;

    double playingPosition() const {
        const double queuedSeconds = double(output.queuedFrames()) / output.sampleRate();
        return fedEnd.load() - queuedSeconds * rate;
    }
};

void PreviewSound::Impl::run() {
    const int bufferFrames = int(kQueuedSeconds * output.sampleRate());
    bool ended = false;
    std::unique_lock<std::mutex> held(lock);
    while (!stop) {
        if (seekRequest >= 0) {
            const double target = seekRequest;
            seekRequest = -1.0;
            held.unlock();
            moveTo(target);
            ended = false;
            held.lock();
            continue;
        }
        if (rate != tempoRate) {
            tempoRate = rate;
            held.unlock();
            tempo.reset(tempoRate, output.sampleRate(), output.channels());
            held.lock();
            continue;
        }
        if (!playing || ended) {
            wake.wait(held);
            continue;
        }
        // Unpaused under the lock so that a pause() cannot be overtaken.
        output.setPaused(false);
        if (output.queuedFrames() >= bufferFrames) {
            wake.wait_for(held, kRefillInterval);
            continue;
        }
        const bool silent = muted;
        held.unlock();
        ended = !decodeNext(silent);
        held.lock();
    }
}

void PreviewSound::Impl::moveTo(double seconds) {
    output.clear();
    resampler.reset();
    tempo.reset(tempoRate, output.sampleRate(), output.channels());
    decoder.seek(ticksFromSeconds(seconds));
    skipUntil = seconds;
    fedEnd = seconds;
}

bool PreviewSound::Impl::decodeNext(bool silent) {
    AVMediaType type = AVMEDIA_TYPE_UNKNOWN;
    if (decoder.next(*decoded, type) == MediaEvent::Frame) {
        deliver(*decoded, silent);
        av_frame_unref(decoded.get());
        return true;
    }
    tempoSamples.clear();
    tempo.finish(tempoSamples);
    if (silent) std::fill(tempoSamples.begin(), tempoSamples.end(), 0.0f);
    output.queue(tempoSamples.data(), int(tempoSamples.size()) / output.channels());
    return false;
}

void PreviewSound::Impl::deliver(const AVFrame& frame, bool silent) {
    const int channels = output.channels();
    if (frame.sample_rate <= 0 || !resampler.convert(frame, output.sampleRate(), channels, samples)) return;
    const std::int64_t time = decoder.frameTime(frame, *decoder.audioStream());
    const double start = time == AV_NOPTS_VALUE ? fedEnd.load() : secondsFromTicks(time);
    fedEnd = start + double(frame.nb_samples) / frame.sample_rate;

    // A seek lands on the packet before the target: drop the sound up to it.
    const int frames = int(samples.size()) / channels;
    const int skip = std::clamp(int((skipUntil - start) * output.sampleRate()), 0, frames);
    if (skip == frames) return;
    if (silent) std::fill(samples.begin(), samples.end(), 0.0f);
    const float* first = samples.data() + size_t(skip) * size_t(channels);
    if (!tempo.active()) {
        output.queue(first, frames - skip);
        return;
    }
    tempoSamples.clear();
    tempo.process(first, frames - skip, tempoSamples);
    output.queue(tempoSamples.data(), int(tempoSamples.size()) / channels);
}

PreviewSound::PreviewSound() = default;
PreviewSound::~PreviewSound() = default;

bool PreviewSound::open(const std::string& path) {
    close();
    deviceMissing_ = false;
    auto impl = std::make_unique<Impl>();
    if (!impl->decoder.open(path) || !impl->decoder.openAudio()) return false;
    const AVCodecContext& codec = *impl->decoder.audioCodec();
    const int rate = codec.sample_rate > 0 ? codec.sample_rate : 48000;
    const int channels = std::clamp(codec.ch_layout.nb_channels, 1, 2);
    if (!impl->output.open(rate, channels)) {
        logError("preview sound unavailable (media engine)");
        deviceMissing_ = true;
        return false;
    }
    impl->tempo.reset(1.0, impl->output.sampleRate(), impl->output.channels());
    impl->thread = std::thread(&Impl::run, impl.get());
    impl_ = std::move(impl);
    return true;
}

void PreviewSound::close() { impl_.reset(); }

bool PreviewSound::isOpen() const { return impl_ != nullptr; }

void PreviewSound::play(double fromSeconds) {
    if (!impl_) return;
    {
        std::lock_guard<std::mutex> held(impl_->lock);
        impl_->seekRequest = std::max(fromSeconds, 0.0);
        impl_->pausedAt = -1.0;
        impl_->playing = true;
    }
    impl_->wake.notify_one();
}

void PreviewSound::pause() {
    if (!impl_) return;
    std::lock_guard<std::mutex> held(impl_->lock);
    // A second pause keeps the first one's time: frames decoded since may have moved the estimate.
    if (impl_->playing && impl_->seekRequest < 0) impl_->pausedAt = impl_->playingPosition();
    impl_->playing = false;
    impl_->output.setPaused(true);
}

void PreviewSound::seek(double seconds) {
    if (!impl_) return;
    {
        std::lock_guard<std::mutex> held(impl_->lock);
        impl_->seekRequest = std::max(seconds, 0.0);
        impl_->pausedAt = -1.0;
    }
    impl_->wake.notify_one();
}

void PreviewSound::setRate(double rate) {
    if (!impl_) return;
    {
        std::lock_guard<std::mutex> held(impl_->lock);
        impl_->rate = rate;
    }
    impl_->wake.notify_one();
}

void PreviewSound::setMuted(bool muted) {
    if (!impl_) return;
    std::lock_guard<std::mutex> held(impl_->lock);
    impl_->muted = muted;
}

double PreviewSound::position() const {
    if (!impl_) return 0.0;
    std::lock_guard<std::mutex> held(impl_->lock);
    // A move asked for is where the sound is, even before it is carried out.
    if (impl_->seekRequest >= 0) return impl_->seekRequest;
    if (!impl_->playing && impl_->pausedAt >= 0) return impl_->pausedAt;
    return impl_->playingPosition();
}

}  // namespace rallinox
