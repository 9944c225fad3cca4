#include "video/preview_decoder.h"

#include "video/media_time.h"
#include "video/mp4_boxes.h"
#include "video/preview_player.h"

extern "C" {
#include <libswscale/swscale.h>
}

#include <opencv2/core.hpp>

#include <algorithm>
#include <cmath>
#include <thread>

namespace rallinox {
namespace {

constexpr int kMaxFrameWidth = 1280;
// How far a jump that landed after its target starts again before it, the
// first time (in 100-ns units), doubled each time up to the longest.
constexpr std::int64_t kRetreatTicks = 10'000'000;
constexpr std::int64_t kLongestRetreatTicks = 64 * kRetreatTicks;

// The frame count the container declares, else its length times the rate.
double frameCount(const AVFormatContext& format, const AVStream& stream, double fps) {
    if (stream.nb_frames > 0) return double(stream.nb_frames);
    if (stream.duration > 0) return std::floor(double(stream.duration) * av_q2d(stream.time_base) * fps + 0.5);
    if (format.duration > 0) return std::floor(double(format.duration) / AV_TIME_BASE * fps + 0.5);
    return 0.0;
}

}  // namespace

PreviewDecoder::~PreviewDecoder() { sws_freeContext(scaler_); }

bool PreviewDecoder::open(const std::string& path) {
    if (!decoder_.open(path)) return false;
    // Frame threads share the decoding forward to a jump's target among the cores;
    // each picture comes out a frame later, which nobody sees.
    const bool opened = decoder_.openVideo([](AVCodecContext& codec) {
        codec.thread_count = int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
        codec.thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
        return true;
    });
    if (!opened) return false;
    AVFormatContext& format = *decoder_.format();
    AVStream& stream = *format.streams[decoder_.videoStream()->index];
    const AVRational rate = av_guess_frame_rate(&format, &stream, nullptr);
    const double fps = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0.0;
    const double frames = fps > 0 ? frameCount(format, stream, fps) : 0.0;
    duration_ = frames > 0 ? frames / fps : 0.0;
    halfFrame_ = fps > 0 ? ticksFromSeconds(0.5 / fps) : 0;
    rotation_ = clockwiseRotation(stream);
    // Times count from the first frame the edit list shows, as the analysis counts them.
    editStart_ = ticksFromSeconds(mp4VideoStartOffset(path));
    return read();
}

bool PreviewDecoder::read() {
    for (;;) {
        AVMediaType type = AVMEDIA_TYPE_UNKNOWN;
        const MediaEvent event = decoder_.next(*frame_, type);
        if (event != MediaEvent::Frame) return false;
        if (type != AVMEDIA_TYPE_VIDEO || frame_->width < 1 || frame_->height < 1) continue;
        const std::int64_t ticks = decoder_.frameTime(*frame_, *decoder_.videoStream());
        // A frame without a time keeps the time of the one before it.
        if (ticks != AV_NOPTS_VALUE) ticks_ = ticks;
        return true;
    }
}

double PreviewDecoder::time() const { return std::max(0.0, secondsFromTicks(ticks_ - editStart_)); }

bool PreviewDecoder::seek(double seconds) {
    const std::int64_t target = ticksFromSeconds(seconds) + editStart_;
    // The index orders frames by decoding time, which B-frames put ahead of
    // the shown time: the key frame found may be shown after the target.
    // Then the jump starts again further back.
    for (std::int64_t back = 0;; back = back == 0 ? kRetreatTicks : back * 2) {
        if (!decoder_.seek(target - back)) return false;
        decoder_.skipUnreferencedBefore(target - halfFrame_);
        if (!read()) return false;
        const bool overshot = ticks_ > target + halfFrame_;
        if (!overshot || target - back <= 0 || back >= kLongestRetreatTicks) break;
    }
    // Frames before the target are only decoded: converting them is the
    // larger part of what a jump would cost.
    while (ticks_ < target - halfFrame_) {
        const std::int64_t previousTicks = ticks_;
        av_frame_unref(previous_.get());
        av_frame_move_ref(previous_.get(), frame_.get());
        if (!read()) {
            // Past the last frame: that one is shown.
            av_frame_move_ref(frame_.get(), previous_.get());
            ticks_ = previousTicks;
            return true;
        }
    }
    av_frame_unref(previous_.get());
    return true;
}

bool PreviewDecoder::convert(PreviewFrame& out) {
    const AVFrame& frame = *frame_;
    if (!frame.buf[0]) return false;
    const bool sideways = rotation_ == 90 || rotation_ == 270;
    // At most 1280 wide as shown, that is once turned.
    const int shownWidth = sideways ? frame.height : frame.width;
    const double scale = shownWidth > kMaxFrameWidth ? double(kMaxFrameWidth) / shownWidth : 1.0;
    const int width = std::max(1, int(std::lround(frame.width * scale)));
    const int height = std::max(1, int(std::lround(frame.height * scale)));
    scaler_ = sws_getCachedContext(scaler_, frame.width, frame.height, AVPixelFormat(frame.format), width, height,
                                   AV_PIX_FMT_RGBA, SWS_AREA, nullptr, nullptr, nullptr);
    if (!scaler_) return false;
    std::vector<uint8_t>& scaled = rotation_ == 0 ? out.rgba : unturned_;
    scaled.resize(size_t(width) * size_t(height) * 4);
    uint8_t* planes[4] = {scaled.data(), nullptr, nullptr, nullptr};
    const int strides[4] = {width * 4, 0, 0, 0};
    if (sws_scale(scaler_, frame.data, frame.linesize, 0, frame.height, planes, strides) != height) return false;
    out.width = sideways ? height : width;
    out.height = sideways ? width : height;
    if (rotation_ == 0) return true;
    out.rgba.resize(scaled.size());
    const cv::Mat source(height, width, CV_8UC4, scaled.data());
    cv::Mat turned(out.height, out.width, CV_8UC4, out.rgba.data());
    const int turn = rotation_ == 90 ? cv::ROTATE_90_CLOCKWISE
                     : rotation_ == 180 ? cv::ROTATE_180
                                        : cv::ROTATE_90_COUNTERCLOCKWISE;
    cv::rotate(source, turned, turn);
    return true;
}

}  // namespace rallinox
