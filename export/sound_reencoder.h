// The sound of the fast export when it cannot be copied as it is: decoded
// and encoded again as AAC, each cut's stretch placed with its picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/audio_encoder.h"
#include "export/mp4_muxer.h"
#include "video/ffmpeg_ptr.h"
#include "video/media_decoder.h"

struct SwrContext;

namespace rallinox {

class SoundReencoder {
public:
    SoundReencoder() = default;
    ~SoundReencoder();
    SoundReencoder(const SoundReencoder&) = delete;
    SoundReencoder& operator=(const SoundReencoder&) = delete;

    // Opens the source's sound for decoding; false when it has none that
    // can be decoded into a kept format.
    bool open(const std::string& path);
    // Adds the AAC stream to `muxer`. Empty on success, else the message.
    std::string addTo(Mp4Muxer& muxer);
    int sampleRate() const;

    // Starts the stretch of the source from `fromSec` to `toSec` (player's
    // clock), placed at output sample frame `position`.
    bool begin(double fromSec, double toSec, std::int64_t position);
    // Writes the stretch's sound up to `untilSec` of the source.
    bool writeUntil(double untilSec);
    // Encodes what is still queued.
    bool finish() { return encoder_.finish(); }

private:
    bool write(const AVFrame& frame, double timeSec);

    MediaDecoder decoder_;
    AudioEncoder encoder_;
    AvFramePtr frame_ = makeFrame();
    SwrContext* toPcm_ = nullptr;
    std::vector<std::int16_t> pcm_;
    double originSec_ = 0;  // the player's time 0 in the decoder's times
    double fromSec_ = 0;
    double toSec_ = 0;
    std::int64_t position_ = 0;
    bool stretchDone_ = true;
};

}  // namespace rallinox
