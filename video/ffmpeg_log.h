// FFmpeg's console messages.
#pragma once

extern "C" {
#include <libavutil/log.h>
}

namespace rallinox {

// At its default level FFmpeg prints notes such as the encoder's statistics
// after every export; only its errors are worth a line on the console, since
// failures reach the user through our own messages.
inline void keepFfmpegQuiet() { av_log_set_level(AV_LOG_ERROR); }

}  // namespace rallinox
