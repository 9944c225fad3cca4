// The preview's pictures: the video stream decoded with FFmpeg on several
// threads, only the frames that are shown converted to RGBA. A jump decodes
// forward from the key frame before it without converting what it passes.
#pragma once

#include "video/ffmpeg_ptr.h"
#include "video/media_decoder.h"

#include <cstdint>
#include <string>
#include <vector>

struct SwsContext;

namespace rallinox {

struct PreviewFrame;

class PreviewDecoder {
public:
    PreviewDecoder() = default;
    ~PreviewDecoder();
    PreviewDecoder(const PreviewDecoder&) = delete;
    PreviewDecoder& operator=(const PreviewDecoder&) = delete;

    // False when the file holds no picture this computer can decode.
    bool open(const std::string& path);
    // Frame count / frame rate; 0 when the container tells neither.
    double duration() const { return duration_; }
    // Reads up to the frame shown at `seconds` (the last one past the end);
    // false when nothing could be decoded there.
    bool seek(double seconds);
    // Reads the next frame; false at the end of the stream or on an error.
    bool read();
    // The time of the frame read last, in seconds from the first frame.
    double time() const;
    // The frame read last as the GUI shows it: RGBA, turned as the video
    // says, at most 1280 wide.
    bool convert(PreviewFrame& out);

private:
    MediaDecoder decoder_;
    const AVStream* stream_ = nullptr;
    AvFramePtr frame_ = makeFrame();
    AvFramePtr previous_ = makeFrame();  // kept while a jump passes it
    SwsContext* scaler_ = nullptr;
    std::vector<uint8_t> unturned_;  // a turned video's frame before the turn
    std::uint32_t rotation_ = 0;     // clockwise, in degrees
    std::int64_t editStart_ = 0;   // 100-ns units
    std::int64_t halfFrame_ = 0;   // 100-ns units
    std::int64_t ticks_ = 0;       // media time of the frame read last
    double duration_ = 0.0;
};

}  // namespace rallinox
