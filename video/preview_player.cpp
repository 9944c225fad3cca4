#include "video/preview_player.h"

#include "video/mp4_boxes.h"
#include "video/preview_sound.h"
#include "video/probe.h"

#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>

#include <algorithm>
#include <chrono>

namespace rallinox {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMaxFrameWidth = 1280;
// A frame due this much later than the clock says means the clock is stale
// (the thread was held up or the speed changed): the run starts again.
constexpr double kRestartAheadSec = 0.25;
// A frame this late is dropped so that the picture keeps up with the time.
constexpr double kDropBehindSec = 0.1;
constexpr double kMinRate = 0.1;

// The frame as the GUI shows it: at most 1280 wide, RGBA.
void convertFrame(const cv::Mat& bgr, PreviewFrame& out) {
    cv::Mat scaled = bgr;
    if (bgr.cols > kMaxFrameWidth) {
        const double factor = double(kMaxFrameWidth) / bgr.cols;
        cv::resize(bgr, scaled, cv::Size(), factor, factor, cv::INTER_AREA);
    }
    out.width = scaled.cols;
    out.height = scaled.rows;
    out.rgba.resize(size_t(out.width) * size_t(out.height) * 4);
    cv::Mat rgba(out.height, out.width, CV_8UC4, out.rgba.data());
    cv::cvtColor(scaled, rgba, cv::COLOR_BGR2RGBA);
}

double seconds(Clock::duration span) { return std::chrono::duration<double>(span).count(); }

}  // namespace

PreviewPlayer::PreviewPlayer() = default;

PreviewPlayer::~PreviewPlayer() { close(); }

bool PreviewPlayer::open(const std::string& path) {
    close();
    // A pipe or a device would hold the drawing thread inside the capture.
    if (std::string ignored; !checkIsVideoFile(path, ignored)) return false;
    cv::VideoCapture probe(openCvPath(path));
    if (!probe.isOpened()) return false;
    const double fps = probe.get(cv::CAP_PROP_FPS);
    const double frameCount = probe.get(cv::CAP_PROP_FRAME_COUNT);
    probe.release();

    duration_ = fps > 0 && frameCount > 0 ? frameCount / fps : 0.0;
    position_ = 0.0;
    playing_ = false;
    stop_ = false;
    // The first picture is shown before anything is played.
    seekRequest_ = 0.0;
    frameWaiting_ = false;
    soundOffset_ = mp4VideoStartOffset(path);
    sound_ = std::make_unique<PreviewSound>();
    sound_->open(path);
    sound_->setRate(rate_);
    sound_->setMuted(muted_);
    thread_ = std::thread(&PreviewPlayer::decodeLoop, this, openCvPath(path));
    open_ = true;
    return true;
}

void PreviewPlayer::close() {
    if (!open_) return;
    {
        std::lock_guard<std::mutex> held(lock_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
    sound_.reset();
    playing_ = false;
    position_ = 0.0;
    duration_ = 0.0;
    seekRequest_ = -1.0;
    frame_ = PreviewFrame{};
    frameWaiting_ = false;
    open_ = false;
}

bool PreviewPlayer::isOpen() const { return open_; }

void PreviewPlayer::play() {
    if (!open_) return;
    {
        std::lock_guard<std::mutex> held(lock_);
        playing_ = true;
        restartRun_ = true;
        sound_->play(position_ + soundOffset_);
    }
    wake_.notify_one();
}

void PreviewPlayer::pause() {
    if (!open_) return;
    std::lock_guard<std::mutex> held(lock_);
    playing_ = false;
    sound_->pause();
}

void PreviewPlayer::seek(double seconds) {
    if (!open_) return;
    if (duration_ > 0) seconds = std::min(seconds, duration_ - 0.05);
    seconds = std::max(seconds, 0.0);
    {
        std::lock_guard<std::mutex> held(lock_);
        position_ = seconds;
        seekRequest_ = seconds;
        sound_->seek(seconds + soundOffset_);
    }
    wake_.notify_one();
}

void PreviewPlayer::setRate(double rate) {
    {
        std::lock_guard<std::mutex> held(lock_);
        rate_ = rate;
        restartRun_ = true;
        if (sound_) sound_->setRate(rate);
    }
    wake_.notify_one();
}

double PreviewPlayer::rate() const {
    std::lock_guard<std::mutex> held(lock_);
    return rate_;
}

void PreviewPlayer::setMuted(bool muted) {
    muted_ = muted;
    if (sound_) sound_->setMuted(muted);
}

bool PreviewPlayer::takeFrame(PreviewFrame& out) {
    std::lock_guard<std::mutex> held(lock_);
    if (!frameWaiting_) return false;
    std::swap(out, frame_);
    frameWaiting_ = false;
    return true;
}

void PreviewPlayer::publish(PreviewFrame& frame, double time) {
    std::swap(frame_, frame);
    frameWaiting_ = true;
    position_ = time;
}

void PreviewPlayer::decodeLoop(std::string path) {
    cv::VideoCapture capture(path);
    cv::Mat decoded;
    PreviewFrame converted;
    // A run plays frames against the wall clock from where it started.
    bool inRun = false;
    Clock::time_point runStart;
    double runMediaStart = 0.0;

    std::unique_lock<std::mutex> held(lock_);
    for (;;) {
        wake_.wait(held, [this] { return stop_ || seekRequest_ >= 0 || playing_; });
        if (stop_) return;
        if (seekRequest_ >= 0) {
            const double target = seekRequest_;
            seekRequest_ = -1.0;
            inRun = false;
            held.unlock();
            capture.set(cv::CAP_PROP_POS_MSEC, target * 1000.0);
            const bool read = capture.read(decoded);
            if (read) convertFrame(decoded, converted);
            const double time = capture.get(cv::CAP_PROP_POS_MSEC) / 1000.0;
            held.lock();
            if (read && seekRequest_ < 0) publish(converted, time);
            continue;
        }

        // Playing. Play and a new speed start a new run: old due times no
        // longer hold.
        if (restartRun_) inRun = false;
        restartRun_ = false;
        const double rate = rate_;
        held.unlock();
        if (!capture.read(decoded)) {
            held.lock();
            inRun = false;
            // The end of the video: stop unless a seek or stop came meanwhile.
            if (seekRequest_ < 0 && !stop_) {
                playing_ = false;
                sound_->pause();
            }
            continue;
        }
        const double time = capture.get(cv::CAP_PROP_POS_MSEC) / 1000.0;
        if (!inRun) {
            inRun = true;
            runStart = Clock::now();
            runMediaStart = time;
        }
        double due = (time - runMediaStart) / std::max(rate, kMinRate);
        const double elapsed = seconds(Clock::now() - runStart);
        if (due - elapsed > kRestartAheadSec) {
            runStart = Clock::now();
            runMediaStart = time;
            due = 0.0;
        } else if (elapsed - due > kDropBehindSec) {
            held.lock();
            continue;
        }
        convertFrame(decoded, converted);
        held.lock();
        const auto dueAt = runStart + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(due));
        // Sleeps until the frame is due unless told to stop, seek or pause. A
        // pause still shows the frame read, so that playing on follows it.
        wake_.wait_until(held, dueAt, [this] { return stop_ || seekRequest_ >= 0 || !playing_; });
        if (stop_ || seekRequest_ >= 0) continue;
        publish(converted, time);
    }
}

}  // namespace rallinox
