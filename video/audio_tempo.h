// Changes the speed of interleaved float audio without changing its pitch
// (FFmpeg's atempo filter), for the preview's 0.5x to 2x speeds.
#pragma once

#include <vector>

extern "C" {
struct AVFilterGraph;
struct AVFilterContext;
}

namespace rallinox {

class AudioTempo {
public:
    AudioTempo() = default;
    ~AudioTempo();
    AudioTempo(const AudioTempo&) = delete;
    AudioTempo& operator=(const AudioTempo&) = delete;

    // Starts over at `tempo` (1 = unchanged, nothing is filtered). False
    // when the filter cannot be set up; the audio then passes unchanged.
    bool reset(double tempo, int sampleRate, int channels);
    bool active() const { return graph_ != nullptr; }

    // Filters `frames` frames and appends what comes out to `out`.
    void process(const float* samples, int frames, std::vector<float>& out);
    // Appends what the filter still holds (the input has ended).
    void finish(std::vector<float>& out);

private:
    void release();
    void pull(std::vector<float>& out);

    AVFilterGraph* graph_ = nullptr;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
    int sampleRate_ = 0;
    int channels_ = 0;
    long long nextPts_ = 0;
};

}  // namespace rallinox
