// The MP4 file being written: its streams, the encoded packets in time order,
// and the index moved to the front when it is finished, so that players can
// start before the whole file has arrived.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cstdint>
#include <string>

namespace rallinox {

class Mp4Muxer {
public:
    Mp4Muxer() = default;
    // Closes the file; an unfinished file is left for the caller to delete.
    ~Mp4Muxer();
    Mp4Muxer(const Mp4Muxer&) = delete;
    Mp4Muxer& operator=(const Mp4Muxer&) = delete;

    // Creates the file at `path`, taken as a file name, never as a URL.
    // Empty on success, else the message for the user.
    std::string create(const std::string& path);
    // Encoders must put their parameters in a global header for MP4.
    static void prepareEncoder(AVCodecContext& codec);
    // The stream's index, or -1. `clockwiseRotation` tells players how to
    // turn the picture (video only).
    int addStream(const AVCodecContext& codec, std::uint32_t clockwiseRotation = 0);
    // A stream whose packets are copied from `source` unchanged, stamped in
    // `timeBase`; keeps the source's rotation. The index, or -1.
    int addCopiedStream(const AVStream& source, AVRational timeBase);
    // Empty on success, else the message for the user.
    std::string begin();
    // Packet times are in `codec`'s time base.
    bool write(AVPacket& packet, const AVCodecContext& codec, int stream);
    // Packet times are in `timeBase`.
    bool write(AVPacket& packet, AVRational timeBase, int stream);
    // Writes the index; false when the file could not be completed.
    bool finish();
    // The error of the last failed write to the file (an AVERROR, e.g. a
    // full disk), or 0 when every write succeeded.
    int writeError() const;

private:
    void close();

    AVFormatContext* format_ = nullptr;
    int finishError_ = 0;  // of the index and the closing, once finished
};

// Sends `frame` (nullptr: drain the encoder) and writes every packet the
// encoder gives back. False when the encoder or the file failed.
bool encodeInto(AVCodecContext& codec, const AVFrame* frame, Mp4Muxer& muxer, int stream);

}  // namespace rallinox
