// The export's AAC encoder (FFmpeg's own): 16-bit PCM of the source's rate
// and channels in, placed at given output positions so that the sound of
// every cut starts with its picture; packets into the MP4 file out.
#pragma once

#include <cstdint>
#include <string>

#include "export/mp4_muxer.h"
#include "video/ffmpeg_ptr.h"

struct SwrContext;
struct AVAudioFifo;

namespace rallinox {

class AudioEncoder {
public:
    AudioEncoder() = default;
    ~AudioEncoder();
    AudioEncoder(const AudioEncoder&) = delete;
    AudioEncoder& operator=(const AudioEncoder&) = delete;

    // Adds the audio stream to `muxer`. Empty on success, else the message
    // for the user.
    std::string open(int sampleRate, int channels, Mp4Muxer& muxer);

    // `frames` sample frames of interleaved PCM that belong at `position`
    // (sample frames from the output's start). A gap before them is filled
    // with silence; a part that overlaps sound already written is dropped.
    bool write(const std::int16_t* pcm, int frames, std::int64_t position);
    // Encodes what is still queued.
    bool finish();

private:
    bool queueSilence(std::int64_t frames);
    bool queue(const std::int16_t* pcm, int frames);
    // Encodes whole encoder frames, and with `all` the short rest as well.
    bool encodeQueued(bool all);
    AVFrame* scratch(int frames);

    AvCodecContextPtr codec_;
    SwrContext* toPlanar_ = nullptr;
    AVAudioFifo* queue_ = nullptr;
    AvFramePtr scratch_ = makeFrame();
    Mp4Muxer* muxer_ = nullptr;
    int stream_ = -1;
    int channels_ = 0;
    std::int64_t queuedEnd_ = 0;  // output position after the last queued sample
    std::int64_t encodedEnd_ = 0;  // output position after the last encoded sample
};

}  // namespace rallinox
