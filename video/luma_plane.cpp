#include "video/luma_plane.h"

extern "C" {
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace rallinox {
namespace {

bool hasDirectLuma(AVPixelFormat format) {
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(format);
    if (!desc || desc->nb_components < 1) return false;
    const std::uint64_t notYuv = AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_HWACCEL |
                                 AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_BAYER;
    const AVComponentDescriptor& luma = desc->comp[0];
    return !(desc->flags & notYuv) && luma.plane == 0 && luma.depth == 8 && luma.step == 1 &&
           luma.offset == 0 && luma.shift == 0;
}

}  // namespace

LumaPlane::~LumaPlane() { sws_freeContext(converter_); }

cv::Mat LumaPlane::of(const AVFrame& frame) {
    const auto format = AVPixelFormat(frame.format);
    if (hasDirectLuma(format))
        return cv::Mat(frame.height, frame.width, CV_8UC1, frame.data[0], std::size_t(frame.linesize[0]));

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
