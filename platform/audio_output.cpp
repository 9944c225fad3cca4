#include "platform/audio_output.h"

#include <SDL.h>

#include <mutex>

namespace rallinox {
namespace {

// SDL counts audio subsystem users without a lock: devices may be opened and
// closed from several threads (a preview that opens while the last one ends).
std::mutex& audioSetUp() {
    static std::mutex lock;
    return lock;
}

}  // namespace

void releaseAudioThreadState() { SDL_TLSCleanup(); }

AudioOutput::~AudioOutput() { close(); }

bool AudioOutput::open(int sampleRate, int channels) {
    close();
    std::lock_guard<std::mutex> held(audioSetUp());
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec wanted{};
    wanted.freq = sampleRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = Uint8(channels);
    wanted.samples = 1024;
    SDL_AudioSpec obtained{};
    // SDL converts the sample format itself; rate and channel count are
    // left to the device so that the caller resamples only once.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained,
                                  SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (device_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    sampleRate_ = obtained.freq;
    channels_ = obtained.channels;
    return true;
}

void AudioOutput::close() {
    if (device_ == 0) return;
    std::lock_guard<std::mutex> held(audioSetUp());
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    device_ = 0;
    sampleRate_ = 0;
    channels_ = 0;
}

void AudioOutput::queue(const float* samples, int frames) {
    if (device_ == 0 || frames <= 0) return;
    SDL_QueueAudio(device_, samples, Uint32(frames) * Uint32(channels_) * sizeof(float));
}

int AudioOutput::queuedFrames() const {
    if (device_ == 0) return 0;
    return int(SDL_GetQueuedAudioSize(device_) / (Uint32(channels_) * sizeof(float)));
}

void AudioOutput::clear() {
    if (device_ != 0) SDL_ClearQueuedAudio(device_);
}

void AudioOutput::setPaused(bool paused) {
    if (device_ != 0) SDL_PauseAudioDevice(device_, paused ? 1 : 0);
}

}  // namespace rallinox
