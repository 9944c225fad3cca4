#include "video/frame_reader.h"

#include "video/decode_loop.h"
#include "video/media_decoder.h"
#include "video/media_time.h"
#include "video/mp4_boxes.h"

#include <memory>
#include <optional>

namespace rallinox {
namespace {

// An opened video whose first frame decoded: proof that this decoder can
// really read the stream, not just parse its headers.
struct DecodingSession {
    std::unique_ptr<MediaDecoder> decoder = std::make_unique<MediaDecoder>();
    std::unique_ptr<GpuReadback> readback;
    AvFramePtr firstFrame = makeFrame();
};

std::optional<DecodingSession> openSession(const std::string& path, bool hardware, int threads) {
    DecodingSession session;
    if (!session.decoder->open(path)) return std::nullopt;
    const bool opened = session.decoder->openVideo([&](AVCodecContext& codec) {
        codec.thread_count = threads;
        codec.thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
        if (!hardware) return true;
        session.readback = attachVaapi(codec);
        return session.readback != nullptr;
    });
    if (!opened) return std::nullopt;
    AVMediaType type = AVMEDIA_TYPE_VIDEO;
    if (session.decoder->next(*session.firstFrame, type) != MediaEvent::Frame) return std::nullopt;
    const AVFrame& first = *session.firstFrame;
    if (first.width < 2 || first.height < 2) return std::nullopt;
    if (!first.hw_frames_ctx) session.readback.reset();  // the decoder chose software frames
    return session;
}

}  // namespace

MfFrameReader::~MfFrameReader() { stop(); }

bool MfFrameReader::start(const std::string& path, int width, int height, int step) {
    stop();
    queue_.reset();
    {
        std::lock_guard lock(mutex_);
        started_ = opened_ = hardware_ = false;
    }
    thread_ = std::thread(&MfFrameReader::run, this, path, width, height, step > 0 ? step : 1);
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return started_; });
    if (opened_) return true;
    lock.unlock();
    stop();
    return false;
}

void MfFrameReader::stop() {
    queue_.stop();
    if (thread_.joinable()) thread_.join();
    queue_.clear();
}

bool MfFrameReader::pop(TimedFrame& frame) { return queue_.pop(frame); }

bool MfFrameReader::pop(cv::Mat& image) { return queue_.pop(image); }

bool MfFrameReader::hardware() const {
    std::lock_guard lock(mutex_);
    return hardware_;
}

void MfFrameReader::setDecoderThreads(int count) { decoderThreads_ = count > 0 ? count : 0; }

void MfFrameReader::publishOpened(bool opened, bool hardware) {
    std::lock_guard lock(mutex_);
    started_ = true;
    opened_ = opened;
    hardware_ = hardware;
    changed_.notify_all();
}

void MfFrameReader::run(std::string path, int width, int height, int step) {
    // The first frame at or after the edit-list start is frame 0; the
    // millisecond of slack absorbs rounding of the container's timestamps.
    const std::int64_t editStart = ticksFromSeconds(mp4VideoStartOffset(path));
    DecodeRequest request{width, height, step, editStart - 10'000, editStart};
    auto session = openSession(path, true, decoderThreads_);
    if (!session) session = openSession(path, false, decoderThreads_);
    publishOpened(session.has_value(), session && session->readback);
    if (session)
        decodeLoop(*session->decoder, *session->firstFrame, session->readback.get(), request, queue_);
    queue_.finish();
}

}  // namespace rallinox
