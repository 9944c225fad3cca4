#include "video/luma_plane.h"

extern "C" {
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace rallinox {
namespace {

// Bits to drop from each 16-bit little-endian luma word to get 8-bit luma,
// or -1 when the frame has no such plane. 0 means an 8-bit plane.
int lumaShift(AVPixelFormat format) {
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(format);
    if (!desc || desc->nb_components < 1) return -1;
    const std::uint64_t notYuv = AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_HWACCEL |
                                 AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_BAYER | AV_PIX_FMT_FLAG_BE;
    const AVComponentDescriptor& luma = desc->comp[0];
    if ((desc->flags & notYuv) || luma.plane != 0 || luma.offset != 0) return -1;
    if (luma.depth == 8 && luma.step == 1 && luma.shift == 0) return 0;
    if (luma.depth > 8 && luma.depth <= 16 && luma.step == 2) return luma.shift + luma.depth - 8;
    return -1;
}

}  // namespace

LumaPlane::~LumaPlane() { sws_freeContext(converter_); }

cv::Mat LumaPlane::of(const AVFrame& frame) {
    const auto format = AVPixelFormat(frame.format);
    const int shift = lumaShift(format);
    if (shift == 0)
        return cv::Mat(frame.height, frame.width, CV_8UC1, frame.data[0], std::size_t(frame.linesize[0]));
    if (shift > 0) {
        // Deep-colour luma keeps its values, only with fewer bits, so that
        // such videos look to the analysis like their 8-bit versions.
        const cv::Mat words(frame.height, frame.width, CV_16UC1, frame.data[0], std::size_t(frame.linesize[0]));
        words.convertTo(converted_, CV_8U, 1.0 / double(1 << shift));
        return converted_;
    }
    converter_ = sws_getCachedContext(converter_, frame.width, frame.height, format, frame.width,
                                      frame.height, AV_PIX_FMT_GRAY8, SWS_POINT, nullptr, nullptr, nullptr);
    if (!converter_) return {};
    converted_.create(frame.height, frame.width, CV_8UC1);
    std::uint8_t* planes[4] = {converted_.data, nullptr, nullptr, nullptr};
    const int pitches[4] = {int(converted_.step[0]), 0, 0, 0};
    sws_scale(converter_, frame.data, frame.linesize, 0, frame.height, planes, pitches);
    return converted_;
}

}  // namespace rallinox
