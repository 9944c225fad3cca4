// The editor's preview: decodes the project's video on its own thread at the
// playback speed and hands the newest frame to the GUI as RGBA pixels; the
// sound plays alongside through PreviewSound.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace rallinox {

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

    // Closes any previous video and starts opening this one on the decoding
    // thread, so that a slow disk never holds the window: the frame rate,
    // frame count and sound follow there, then the first picture at 0 s.
    // False at once when the path is not a regular file; a file that turns
    // out not to be a video is reported by openFailed().
    bool open(const std::string& path);
    // Stops the decoding. A thread stuck in a read (a stalled network disk)
    // is let go after a short wait instead of holding the window.
    void close();
    bool isOpen() const;
    // The open video could not be decoded; the picture stays empty.
    bool openFailed() const;
    void play();
    void pause();
    bool playing() const;
    // Clamped to 0 .. duration - 0.05 when the duration is known.
    void seek(double seconds);
    // 0.5, 1, 1.5 or 2.
    void setRate(double rate);
    double rate() const;
    void setMuted(bool muted);
    // The video has sound but no device could play it: the preview is silent.
    bool soundDeviceMissing() const;
    double position() const;
    // Frame count / frame rate as the container states them; 0 when unknown
    // or while the video is still being opened.
    double duration() const;
    // Moves the newest decoded frame into `out` when one is waiting since the
    // last call; frames arrive turned as the video says, and those wider than
    // 1280 scaled to 1280 wide.
    bool takeFrame(PreviewFrame& out);

    struct Shared;

private:
    // Shared with the decoding thread, which keeps it alive when it is let go.
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
    double rate_ = 1.0;
    bool muted_ = false;
};

}  // namespace rallinox
