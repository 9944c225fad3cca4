#pragma once

#include "video/media_decoder.h"
#include "video/video_format.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

struct SwsContext;
struct SwrContext;

namespace rallinox::mf {

enum class StreamKind { Video, Audio };

// Time of a sample whose container states none.
inline constexpr std::int64_t kNoTime = std::numeric_limits<std::int64_t>::min();

// One decoded sample. The pointers refer to buffers of the reader and stay
// valid until the next `read` or `seek`.
struct MediaSample {
    StreamKind stream = StreamKind::Video;
    // Presentation time in 100-ns units. MP4 and QuickTime files give their
    // media time before any edit list (see mp4VideoStartOffset); other
    // containers count from their start.
    std::int64_t time = kNoTime;

    // Video, NV12: `height` rows of luma, then `height` / 2 rows of
    // interleaved U and V, each row with its own pitch.
    bool formatChanged = false;  // the frame size differs from the previous frame's
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    const std::uint8_t* luma = nullptr;
    int lumaPitch = 0;
    const std::uint8_t* chroma = nullptr;
    int chromaPitch = 0;

    // Audio: `frames` sample frames of interleaved signed 16-bit PCM.
    const std::int16_t* pcm = nullptr;
    int frames = 0;
};

enum class ReadStatus {
    Sample,       // `sample` holds a decoded sample
    StreamEnded,  // the stream named in `sample.stream` has no more samples
    Finished,     // every selected stream has ended
    Failed,       // decoding failed; nothing more can be read
};

// Reads a video file sample by sample, with video decoded to NV12 and
// sound to 16-bit PCM at the source's own rate and channel count. Used by
// the export and the preview sound.
class SourceReader {
public:
    SourceReader() = default;
    ~SourceReader();
    SourceReader(const SourceReader&) = delete;
    SourceReader& operator=(const SourceReader&) = delete;

    // Opens the file; `configureReader` then chooses the streams.
    bool open(const std::string& path);

    // Stops delivering the audio stream.
    void deselectAudio();

    // Moves to the last key frame at or before `time` (100-ns units).
    bool seek(std::int64_t time);

    ReadStatus read(MediaSample& sample);

private:
    friend bool configureReader(SourceReader& reader, VideoFormat& format, AudioFormat& audioOut,
                                bool& hasAudio, std::string& error);

    bool convertVideo(const AVFrame& frame, MediaSample& sample);
    bool convertAudio(const AVFrame& frame, MediaSample& sample);

    MediaDecoder decoder_;
    AvFramePtr frame_ = makeFrame();
    SwsContext* toNv12_ = nullptr;
    SwrContext* toPcm_ = nullptr;
    AvFramePtr nv12_ = makeFrame();
    std::vector<std::int16_t> pcm_;
    int lastWidth_ = 0;
    int lastHeight_ = 0;
};

// Selects the first video stream for NV12 output and fills `format`; then
// selects the first audio stream for 16-bit PCM when it can be decoded
// (`hasAudio`, with its rate and channels in `audioOut`). False, with a
// message for the user in `error`, when the video cannot be decoded.
bool configureReader(SourceReader& reader, VideoFormat& format, AudioFormat& audioOut, bool& hasAudio,
                     std::string& error);

}  // namespace rallinox::mf
