#pragma once

#include <cstdint>

namespace rallinox::mf {

// The decoded video stream as a source reader delivers it.
struct VideoFormat {
    // Size of the frames the reader delivers.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // The picture to use: the frame size rounded down to even numbers, as
    // the encoders need.
    std::uint32_t visibleWidth = 0;
    std::uint32_t visibleHeight = 0;
    // 30/1 when the container states no rate.
    std::uint32_t fpsNum = 30;
    std::uint32_t fpsDen = 1;
    // Clockwise rotation in degrees (0, 90, 180, 270) the player should
    // apply, as the old "rotate" tag states it. Frames are never rotated
    // here; an export writes it back into its output.
    std::uint32_t rotation = 0;
    // Row pitch in bytes of the luma plane of delivered frames.
    std::int32_t stride = 0;
};

// Sample rate and channel count of a decoded audio stream.
struct AudioFormat {
    std::uint32_t sampleRate = 0;
    std::uint32_t channels = 0;
};

}  // namespace rallinox::mf
