// The editor's preview: decodes the project's video on its own thread at the
// playback speed and hands the newest frame to the GUI as RGBA pixels; the
// sound plays alongside through PreviewSound.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace rallinox {

class PreviewSound;

struct PreviewFrame {
    std::vector<uint8_t> rgba;  // width * height * 4 bytes
    int width = 0;
    int height = 0;
};

class PreviewPlayer {
public:
    PreviewPlayer();
    ~PreviewPlayer();
    PreviewPlayer(const PreviewPlayer&) = delete;
    PreviewPlayer& operator=(const PreviewPlayer&) = delete;

    // Closes any previous video, reads the frame rate and frame count,
    // starts decoding at 0 s and opens the sound. False when the path is not
    // a regular file or OpenCV cannot open it (the player then stays closed).
    bool open(const std::string& path);
    void close();
    bool isOpen() const;

    void play();
    void pause();
    bool playing() const { return playing_.load(); }
    // Clamped to 0 .. duration - 0.05 when the duration is known.
    void seek(double seconds);
    // 0.5, 1, 1.5 or 2.
    void setRate(double rate);
    double rate() const;
    void setMuted(bool muted);

    double position() const { return position_.load(); }
    // Frame count / frame rate as OpenCV reports them; 0 when unknown.
    double duration() const { return duration_; }

    // Moves the newest decoded frame into `out` when one is waiting since the
    // last call; frames wider than 1280 arrive scaled to 1280 wide.
    bool takeFrame(PreviewFrame& out);

private:
    void decodeLoop(std::string path);
    // Hands `frame` (swapped out) to the GUI as the picture at `time`;
    // called under the lock.
    void publish(PreviewFrame& frame, double time);

    mutable std::mutex lock_;
    std::condition_variable wake_;
    std::thread thread_;
    std::unique_ptr<PreviewSound> sound_;
    std::atomic<double> position_{0.0};
    std::atomic<bool> playing_{false};
    double seekRequest_ = -1.0;
    bool stop_ = false;
    double rate_ = 1.0;
    // Set by play and speed changes: frames are timed afresh from the next one.
    bool restartRun_ = false;
    double duration_ = 0.0;
    double soundOffset_ = 0.0;
    PreviewFrame frame_;
    bool frameWaiting_ = false;
    bool muted_ = false;
    bool open_ = false;
};

}  // namespace rallinox
