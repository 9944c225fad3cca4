#include "video/preview_player.h"

#include "app/core/log.h"
#include "platform/audio_output.h"
#include "platform/frame_wake.h"
#include "video/mp4_boxes.h"
#include "video/preview_decoder.h"
#include "video/preview_sound.h"
#include "video/probe.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace rallinox {
namespace {

using Clock = std::chrono::steady_clock;

// A frame due this much later than the clock says means the clock is stale
// (the thread was held up or the speed changed): the run starts again.
constexpr double kRestartAheadSec = 0.25;
// A frame this late is dropped so that the picture keeps up with the time.
constexpr double kDropBehindSec = 0.1;
constexpr double kMinRate = 0.1;
// How long closing waits for the decoding thread before letting it go.
constexpr auto kStopWait = std::chrono::seconds(2);

double seconds(Clock::duration span) { return std::chrono::duration<double>(span).count(); }

}  // namespace

PreviewPlayer::PreviewPlayer() = default;

PreviewPlayer::~PreviewPlayer() { close(); }

// Everything the decoding thread shares with the player; guarded by `lock`.
struct PreviewPlayer::Shared {
    std::mutex lock;
    std::condition_variable wake;   // the thread: something to do
    std::condition_variable ended;  // the player: the thread has returned
    bool stop = false;
    bool exited = false;
    bool failed = false;
    bool playing = false;
    // The first picture is shown before anything is played.
    double seekRequest = 0.0;
    double rate = 1.0;
    bool muted = false;
    // Set by play and speed changes: frames are timed afresh from the next one.
    bool restartRun = false;
    double duration = 0.0;
    double position = 0.0;
    double soundOffset = 0.0;
    bool soundDeviceMissing = false;
    PreviewFrame frame;
    bool frameWaiting = false;
    // Set once the thread has opened it.
    std::unique_ptr<PreviewSound> sound;

    // Hands `next` (swapped out) to the GUI as the picture at `time`; called under the lock.
    void publish(PreviewFrame& next, double time) {
        std::swap(frame, next);
        frameWaiting = true;
        position = time;
        wakeFrameLoop();
    }
};

namespace {

using Shared = PreviewPlayer::Shared;

// Opens the picture; false when the video cannot be decoded.
bool openPicture(Shared& s, const std::string& path, PreviewDecoder& decoder) {
    if (!decoder.open(path)) return false;
    std::lock_guard<std::mutex> held(s.lock);
    s.duration = decoder.duration();
    return true;
}

// Opens the sound once the first picture is out: a sound device can take a
// while to answer.
void openSound(Shared& s, const std::string& path) {
    const double soundOffset = mp4VideoStartOffset(path);
    auto sound = std::make_unique<PreviewSound>();
    sound->open(path);
    std::lock_guard<std::mutex> held(s.lock);
    if (s.stop) return;  // closed meanwhile: the sound must not start
    s.soundOffset = soundOffset;
    s.soundDeviceMissing = sound->deviceMissing();
    // The user may have played, muted or changed the speed meanwhile.
    sound->setRate(s.rate);
    sound->setMuted(s.muted);
    if (s.playing) sound->play(s.position + soundOffset);
    s.sound = std::move(sound);
}

void decodeLoop(Shared& s, PreviewDecoder& decoder, const std::string& path) {
    PreviewFrame converted;
    // A run plays frames against the wall clock from where it started.
    bool inRun = false;
    Clock::time_point runStart;
    double runMediaStart = 0.0;
    // The time of the last frame read, shown or dropped.
    double lastRead = 0.0;
    bool soundOpened = false;

    std::unique_lock<std::mutex> held(s.lock);
    for (;;) {
        s.wake.wait(held, [&] { return s.stop || s.seekRequest >= 0 || s.playing; });
        if (s.stop) return;
        if (s.seekRequest >= 0) {
            const double target = s.seekRequest;
            s.seekRequest = -1.0;
            inRun = false;
            lastRead = target;
            held.unlock();
            const bool read = decoder.seek(target) && decoder.convert(converted);
            const double time = decoder.time();
            held.lock();
            if (read && s.seekRequest < 0) s.publish(converted, time);
            if (!soundOpened) {
                soundOpened = true;
                held.unlock();
                openSound(s, path);
                held.lock();
            }
            continue;
        }

        // Playing. Play and a new speed start a new run: old due times no
        // longer hold.
        if (s.restartRun) inRun = false;
        s.restartRun = false;
        const double rate = s.rate;
        held.unlock();
        if (!decoder.read()) {
            held.lock();
            inRun = false;
            // The end of the video: stop unless a seek or stop came meanwhile.
            // Frames dropped on a busy computer still bring the clock to the end.
            if (s.seekRequest < 0 && !s.stop) {
                s.position = std::max(s.position, lastRead);
                s.playing = false;
                if (s.sound) s.sound->pause();
            }
            continue;
        }
        const double time = decoder.time();
        lastRead = time;
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
        const bool convertedOk = decoder.convert(converted);
        held.lock();
        const auto dueAt = runStart + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(due));
        // Sleeps until the frame is due unless told to stop, seek or pause. A
        // pause still shows the frame read, so that playing on follows it.
        s.wake.wait_until(held, dueAt, [&] { return s.stop || s.seekRequest >= 0 || !s.playing; });
        if (s.stop || s.seekRequest >= 0 || !convertedOk) continue;
        s.publish(converted, time);
    }
}

// The decoding thread: owns its share of the state, so that it may outlive the player.
void runDecoding(std::shared_ptr<Shared> s, std::string path) {
    PreviewDecoder decoder;
    if (openPicture(*s, path, decoder)) {
        decodeLoop(*s, decoder, path);
    } else {
        std::lock_guard<std::mutex> held(s->lock);
        if (!s->stop) logError("the preview cannot decode " + path);
        s->failed = true;
        wakeFrameLoop();
    }
    releaseAudioThreadState();
    std::lock_guard<std::mutex> held(s->lock);
    s->exited = true;
    s->ended.notify_all();
}

}  // namespace

bool PreviewPlayer::open(const std::string& path) {
    close();
    // A pipe or a device would hold the decoding thread inside the capture for good.
    if (std::string ignored; !checkIsVideoFile(path, ignored)) return false;
    shared_ = std::make_shared<Shared>();
    shared_->rate = rate_;
    shared_->muted = muted_;
    thread_ = std::thread(runDecoding, shared_, path);
    return true;
}

void PreviewPlayer::close() {
    if (!shared_) return;
    std::unique_ptr<PreviewSound> sound;
    bool exited = false;
    {
        std::unique_lock<std::mutex> held(shared_->lock);
        shared_->stop = true;
        shared_->wake.notify_one();
        exited = shared_->ended.wait_for(held, kStopWait, [this] { return shared_->exited; });
        sound = std::move(shared_->sound);
    }
    if (exited) {
        thread_.join();
    } else {
        logError("the preview's decoding did not stop in time; it is left to end on its own");
        thread_.detach();
    }
    sound.reset();
    shared_.reset();
}

bool PreviewPlayer::isOpen() const { return shared_ != nullptr; }

bool PreviewPlayer::openFailed() const {
    if (!shared_) return false;
    std::lock_guard<std::mutex> held(shared_->lock);
    return shared_->failed;
}

void PreviewPlayer::play() {
    if (!shared_) return;
    {
        std::lock_guard<std::mutex> held(shared_->lock);
        shared_->playing = true;
        shared_->restartRun = true;
        if (shared_->sound) shared_->sound->play(shared_->position + shared_->soundOffset);
    }
    shared_->wake.notify_one();
}

void PreviewPlayer::pause() {
    if (!shared_) return;
    std::lock_guard<std::mutex> held(shared_->lock);
    shared_->playing = false;
    if (shared_->sound) shared_->sound->pause();
}

bool PreviewPlayer::playing() const {
    if (!shared_) return false;
    std::lock_guard<std::mutex> held(shared_->lock);
    return shared_->playing;
}

void PreviewPlayer::seek(double seconds) {
    if (!shared_) return;
    {
        std::lock_guard<std::mutex> held(shared_->lock);
        if (shared_->duration > 0) seconds = std::min(seconds, shared_->duration - 0.05);
        seconds = std::max(seconds, 0.0);
        shared_->position = seconds;
        shared_->seekRequest = seconds;
        if (shared_->sound) shared_->sound->seek(seconds + shared_->soundOffset);
    }
    shared_->wake.notify_one();
}

void PreviewPlayer::setRate(double rate) {
    rate_ = rate;
    if (!shared_) return;
    {
        std::lock_guard<std::mutex> held(shared_->lock);
        shared_->rate = rate;
        shared_->restartRun = true;
        if (shared_->sound) shared_->sound->setRate(rate);
    }
    shared_->wake.notify_one();
}

double PreviewPlayer::rate() const { return rate_; }

void PreviewPlayer::setMuted(bool muted) {
    muted_ = muted;
    if (!shared_) return;
    std::lock_guard<std::mutex> held(shared_->lock);
    shared_->muted = muted;
    if (shared_->sound) shared_->sound->setMuted(muted);
}

bool PreviewPlayer::soundDeviceMissing() const {
    if (!shared_) return false;
    std::lock_guard<std::mutex> held(shared_->lock);
    return shared_->soundDeviceMissing;
}

double PreviewPlayer::position() const {
    if (!shared_) return 0.0;
    std::lock_guard<std::mutex> held(shared_->lock);
    return shared_->position;
}

double PreviewPlayer::duration() const {
    if (!shared_) return 0.0;
    std::lock_guard<std::mutex> held(shared_->lock);
    return shared_->duration;
}

bool PreviewPlayer::takeFrame(PreviewFrame& out) {
    if (!shared_) return false;
    std::lock_guard<std::mutex> held(shared_->lock);
    if (!shared_->frameWaiting) return false;
    std::swap(out, shared_->frame);
    shared_->frameWaiting = false;
    return true;
}

}  // namespace rallinox
