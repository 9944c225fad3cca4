#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <span>
#include <string>

namespace rallinox {

// Presentation start, in seconds (>= 0), of the first video track of an MP4
// file according to its edit list: the media time of the first non-empty
// edit divided by the track's timescale. 0 when the file is not an MP4,
// declares no edit list or cannot be read. Safe on damaged files.
double mp4VideoStartOffset(const std::string& path);
double mp4VideoStartOffset(std::istream& file);

// The same for the first sound track (an AAC track's encoder delay, say).
double mp4AudioStartOffset(const std::string& path);

// The video track's start from the payload of a `moov` box already in memory.
double mp4MovieVideoStartOffset(std::span<const std::uint8_t> moovPayload);

}  // namespace rallinox
