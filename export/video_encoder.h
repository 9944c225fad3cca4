// The export's H.264 encoder (libx264): pictures of the source's size and
// frame rate in, packets into the MP4 file out.
#pragma once

#include <cstdint>
#include <string>

#include "export/mp4_muxer.h"
#include "video/ffmpeg_ptr.h"

namespace rallinox {

inline constexpr const char* kNoVideoEncoderMessage =
    "The video encoder is not available. Install FFmpeg with H.264 (libx264) support.";

// Bits per second: a tenth of a bit per pixel and frame, kept between 2 and
// 40 Mbit/s.
std::int64_t h264BitRate(double fps, int width, int height);

// The unit of picture times given to `VideoEncoder::encode`: fine enough to
// keep every frame of a variable-frame-rate source at its own time, and a
// whole number of units per frame at the usual rates (24, 25, 29.97, 30, 50, 60).
inline constexpr AVRational kPictureTimeBase{1, 90000};

// Whether this FFmpeg has the H.264 encoder the export needs.
bool videoEncoderAvailable();

class VideoEncoder {
public:
    // Adds the video stream to `muxer`. Empty on success, else the message
    // for the user. `frameRate` is the source's average rate.
    std::string open(int width, int height, AVRational frameRate, std::uint32_t clockwiseRotation,
                     Mp4Muxer& muxer);

    // The NV12 picture to fill for the next frame; nullptr when no memory.
    AVFrame* nextPicture();
    // Encodes the picture shown at `pictureTime`, in kPictureTimeBase units.
    bool encode(std::int64_t pictureTime);
    // Writes the frames the encoder still holds.
    bool finish();

private:
    AvCodecContextPtr codec_;
    AvFramePtr picture_ = makeFrame();
    Mp4Muxer* muxer_ = nullptr;
    int stream_ = -1;
};

}  // namespace rallinox
