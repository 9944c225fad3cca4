// The preview's sound: decodes the audio track of the video with FFmpeg,
// changes its tempo for the playback speeds (atempo, pitch kept) and plays it
// through the platform's audio output. Without an audio track or an output
// device everything here does nothing and the preview stays silent.
#pragma once

#include <memory>
#include <string>

namespace rallinox {

class PreviewSound {
public:
    PreviewSound();
    ~PreviewSound();
    PreviewSound(const PreviewSound&) = delete;
    PreviewSound& operator=(const PreviewSound&) = delete;

    // False when the file has no decodable audio track or no output device
    // could be opened (the latter logs "preview sound unavailable (media engine)").
    bool open(const std::string& path);
    void close();
    bool isOpen() const;
    // The last open found a sound track but no device to play it on.
    bool deviceMissing() const { return deviceMissing_; }

    // Times are media times of the audio track (video position + the
    // file's start offset).
    void play(double fromSeconds);
    void pause();
    void seek(double seconds);
    void setRate(double rate);
    void setMuted(bool muted);
    // Media time of the sound the device is playing now (0 when closed).
    double position() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    bool deviceMissing_ = false;
};

}  // namespace rallinox
