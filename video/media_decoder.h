#pragma once

#include "video/ffmpeg_ptr.h"
#include "video/media_file.h"

#include <cstdint>
#include <functional>
#include <string>

namespace rallinox {

// What `MediaDecoder::next` produced.
enum class MediaEvent {
    Frame,        // a decoded frame of the stream named by `type`
    StreamEnded,  // the stream named by `type` has no more frames
    Finished,     // every open stream has ended
    Failed,       // a decoder failed; nothing more can be read
};

// Demuxes a local file and decodes its first video stream and, when asked,
// its first audio stream, returning frames of either one at a time in file
// order. Times of MP4 and QuickTime files are their media times, edit lists
// not applied; other containers' times count from the container's start
// (an MPEG-TS clock starting at 1.4 s gives 0 for the first frame).
class MediaDecoder {
public:
    using Configure = std::function<bool(AVCodecContext&)>;

    bool open(const std::string& path);

    // Opens the decoder of the first video stream. `configure` may adjust
    // the codec context before it opens; returning false gives up.
    bool openVideo(const Configure& configure);
    bool openAudio();
    // Stops decoding the audio stream; its packets are dropped from now on.
    void closeAudio();

    AVFormatContext* format() const { return file_.format(); }
    const AVStream* videoStream() const;
    const AVStream* audioStream() const;
    AVCodecContext* videoCodec() const { return video_.codec.get(); }
    AVCodecContext* audioCodec() const { return audio_.codec.get(); }

    // Decodes until the next frame of an open stream (returned in `frame`)
    // or the end of a stream. Damaged packets are skipped as the decoder
    // conceals them; a read error ends the input as if the file ended.
    MediaEvent next(AVFrame& frame, AVMediaType& type);

    // Moves to the last key frame at or before `time` (100-ns units) of the
    // video stream (of the audio stream when only that one is open) and
    // restarts decoding there.
    bool seek(std::int64_t time);
    // Until the next seek, video frames before `time` (100-ns units) that no
    // other frame refers to are not decoded at all: a jump decodes only
    // what leads to its target.
    void skipUnreferencedBefore(std::int64_t time) { skipUnreferencedBefore_ = time; }

    // Presentation time of a decoded frame of `stream` in 100-ns units, or
    // AV_NOPTS_VALUE.
    std::int64_t frameTime(const AVFrame& frame, const AVStream& stream) const;

private:
    struct Track {
        int index = -1;
        AvCodecContextPtr codec;
        bool ended = false;
        AVMediaType type = AVMEDIA_TYPE_UNKNOWN;
    };

    bool openTrack(Track& track, AVMediaType type, const Configure& configure);
    bool feedNextPacket();
    void chooseSkipping(const AVPacket& packet);

    MediaFile file_;
    Track video_;
    Track audio_;
    AvPacketPtr packet_ = makePacket();
    bool inputEnded_ = false;
    std::int64_t timeOrigin_ = 0;  // 100-ns units
    std::int64_t skipUnreferencedBefore_ = INT64_MIN;
};

}  // namespace rallinox
