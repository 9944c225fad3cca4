// Single pictures as plain RGBA data: one frame grabbed from a video, a
// picture file read, a picture encoded as JPEG. For the project cards, which
// need a picture, not a stream of frames.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace rallinox {

struct RgbaPicture {
    int width = 0;  // 0: no picture
    int height = 0;
    std::vector<uint8_t> rgba;  // width * height * 4 bytes, rows top to bottom

    bool empty() const { return width <= 0 || height <= 0; }
};

// The frame shown at `timeSec`, scaled to `width` pixels across with its
// shape kept. Empty when the path is no regular video file (a pipe is never
// opened) or the frame cannot be read.
RgbaPicture grabFrame(const std::string& videoPath, double timeSec, int width);
// Empty when the file is missing or no picture this computer can read.
RgbaPicture readPictureFile(const std::filesystem::path& file);
// The bytes of a JPEG file of the picture; empty when it cannot be encoded.
std::string jpegBytes(const RgbaPicture& picture, int quality);

}  // namespace rallinox
