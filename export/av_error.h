// Messages for failed FFmpeg calls: the step the user understands, then
// FFmpeg's own words for the cause.
#pragma once

extern "C" {
#include <libavutil/error.h>
}

#include <string>

namespace rallinox {

inline std::string withAvError(const std::string& step, int code) {
    char cause[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, cause, sizeof cause);
    return step + " (" + cause + ")";
}

}  // namespace rallinox
