#include "video/ffmpeg_ptr.h"
#include "video/gpu_readback.h"

extern "C" {
#include <libavutil/hwcontext.h>
}

#include <deque>
#include <filesystem>
#include <string>

namespace rallinox {
namespace {

// Frames held back before their luma is read; the decoder gets the same
// number of extra surfaces so that holding them never starves it.
constexpr int kPendingCopies = 4;

std::string firstRenderNode() {
    std::error_code error;
    for (int minor = 128; minor < 192; ++minor) {
        const std::string node = "/dev/dri/renderD" + std::to_string(minor);
        if (std::filesystem::exists(node, error)) return node;
    }
    return {};
}

bool decoderSupportsVaapi(const AVCodec& codec) {
    for (int i = 0;; ++i) {
        const AVCodecHWConfig* config = avcodec_get_hw_config(&codec, i);
        if (!config) return false;
        if ((config->methods & AV_CODEC_HW_CONFIG_METHOD_HW_DEVICE_CTX) &&
            config->device_type == AV_HWDEVICE_TYPE_VAAPI)
            return true;
    }
}

// Picks VAAPI surfaces when the decoder offers them for this stream, else
// the decoder's own software format.
AVPixelFormat pickVaapi(AVCodecContext* codec, const AVPixelFormat* formats) {
    for (const AVPixelFormat* format = formats; *format != AV_PIX_FMT_NONE; ++format)
        if (*format == AV_PIX_FMT_VAAPI) return *format;
    return avcodec_default_get_format(codec, formats);
}

class VaapiReadback final : public GpuReadback {
public:
    ~VaapiReadback() override = default;

    bool submit(const AVFrame& frame, const FrameCallback& deliver) override {
        if (pending_.size() == kPendingCopies) {
            if (!readBack(*pending_.front(), deliver)) return false;
            pending_.pop_front();
        }
        AvFramePtr held(av_frame_clone(&frame));
        if (!held) return false;
        pending_.push_back(std::move(held));
        return true;
    }

    void flush(const FrameCallback& deliver) override {
        for (const AvFramePtr& frame : pending_) readBack(*frame, deliver);
        pending_.clear();
    }

private:
    // Maps the surface instead of copying it whole, so that only the pages
    // of the plane the receiver reads (the luma) are fetched.
    static bool readBack(const AVFrame& surface, const FrameCallback& deliver) {
        AvFramePtr mapped = makeFrame();
        if (!mapped || av_hwframe_map(mapped.get(), &surface, AV_HWFRAME_MAP_READ) < 0) return false;
        av_frame_copy_props(mapped.get(), &surface);  // the receiver needs the frame's timestamp
        deliver(*mapped);
        return true;
    }

    std::deque<AvFramePtr> pending_;
};

}  // namespace

std::unique_ptr<GpuReadback> attachVaapi(AVCodecContext& codec) {
    if (!codec.codec || !decoderSupportsVaapi(*codec.codec)) return nullptr;
    const std::string node = firstRenderNode();
    if (node.empty()) return nullptr;
    AVBufferRef* device = nullptr;
    if (av_hwdevice_ctx_create(&device, AV_HWDEVICE_TYPE_VAAPI, node.c_str(), nullptr, 0) < 0)
        return nullptr;
    codec.hw_device_ctx = device;  // the codec context now owns the reference
    codec.get_format = pickVaapi;
    codec.extra_hw_frames = kPendingCopies;
    return std::make_unique<VaapiReadback>();
}

}  // namespace rallinox
