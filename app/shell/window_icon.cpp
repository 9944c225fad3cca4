#include "app/shell/window_icon.h"

#include <cstdint>
#include <vector>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include "platform/backend.h"

// RALLINOX_WINDOW_ICON is the PNG's path, set by the build, which also
// rebuilds this file when the picture changes.
__asm__(".pushsection .rodata\n"
        ".globl rallinox_window_icon_begin\n"
        ".hidden rallinox_window_icon_begin\n"
        "rallinox_window_icon_begin:\n"
        ".incbin \"" RALLINOX_WINDOW_ICON "\"\n"
        ".globl rallinox_window_icon_end\n"
        ".hidden rallinox_window_icon_end\n"
        "rallinox_window_icon_end:\n"
        ".popsection\n");

extern "C" {
extern const std::uint8_t rallinox_window_icon_begin[];
extern const std::uint8_t rallinox_window_icon_end[];
}

namespace rallinox {

void setWindowIcon(Backend& backend) {
    const std::vector<std::uint8_t> png(rallinox_window_icon_begin, rallinox_window_icon_end);
    const cv::Mat bgra = cv::imdecode(png, cv::IMREAD_UNCHANGED);
    if (bgra.empty() || bgra.channels() != 4) return;
    cv::Mat rgba;
    cv::cvtColor(bgra, rgba, cv::COLOR_BGRA2RGBA);
    backend.setIcon(rgba.data, rgba.cols, rgba.rows);
}

}  // namespace rallinox
