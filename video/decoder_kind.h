// Which decoder reads the analysed frames; published in the analysis
// progress and named in the project's statistics.
#pragma once

#include <cstdint>

namespace rallinox {

enum class DecoderKind : int32_t { None = 0, Gpu = 1, Software = 2, OpenCv = 3 };

// "GPU", "software", "OpenCV"; the empty string for None.
const char* decoderName(DecoderKind kind);

}  // namespace rallinox
