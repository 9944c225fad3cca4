// The default sound output device, fed from any thread with interleaved
// 32-bit float samples that it plays in order.
#pragma once

#include <cstdint>

namespace rallinox {

// Frees what the sound library keeps for the calling thread: a thread the
// library did not start calls it before it ends, once it opened a device.
void releaseAudioThreadState();

class AudioOutput {
public:
    AudioOutput() = default;
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Opens the default device, asking for `sampleRate` and `channels`; the
    // device may settle on others (see sampleRate(), channels()). Starts
    // paused. False when there is no usable device.
    bool open(int sampleRate, int channels);
    void close();
    bool isOpen() const { return device_ != 0; }

    int sampleRate() const { return sampleRate_; }
    int channels() const { return channels_; }

    // Appends `frames` frames of `channels()` samples each.
    void queue(const float* samples, int frames);
    // Frames queued and not yet handed to the device.
    int queuedFrames() const;
    // Drops everything queued.
    void clear();
    void setPaused(bool paused);

private:
    std::uint32_t device_ = 0;
    int sampleRate_ = 0;
    int channels_ = 0;
};

}  // namespace rallinox
