// The window-free half of the project-card pictures: a worker thread that
// turns requests into small RGBA pictures, reusing "thumb.jpg" when it is
// there and making it from the video when not. The GUI thread uploads the
// finished pictures as textures.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/project.h"

namespace rallinox {

struct ThumbnailRequest {
    std::string id;
    std::string videoPath;
    std::filesystem::path thumbFile;  // project folder / "thumb.jpg"
    double timeSec = 0;               // where in the video the picture is taken
};

struct ThumbnailPicture {
    std::string id;
    int width = 0;  // 0 when no picture could be made
    int height = 0;
    std::vector<uint8_t> rgba;  // width * height * 4 bytes, rows top to bottom
};

// The middle of the first rally, or 10 % into the video when there is none.
double thumbnailTimeSec(const Project& project);

// Makes one picture on the calling thread; an empty one when the video
// cannot be read there.
ThumbnailPicture makeThumbnail(const ThumbnailRequest& request);

class ThumbnailWorker {
public:
    ThumbnailWorker();
    // Stops the thread; requests still waiting are discarded.
    ~ThumbnailWorker();
    ThumbnailWorker(const ThumbnailWorker&) = delete;
    ThumbnailWorker& operator=(const ThumbnailWorker&) = delete;

    // Requests are served in order.
    void request(ThumbnailRequest request);
    // The pictures finished since the last call, in the order they were made.
    std::vector<ThumbnailPicture> takeFinished();

private:
    void run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<ThumbnailRequest> pending_;
    std::vector<ThumbnailPicture> finished_;
    bool stopping_ = false;
    std::thread thread_;  // last: starts after the members it uses exist
};

}  // namespace rallinox
