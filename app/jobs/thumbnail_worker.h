// The window-free half of the project-card pictures: a worker thread that
// turns requests into small RGBA pictures, reusing "thumb.jpg" when it is
// there and making it from the video when not. The GUI thread uploads the
// finished pictures as textures.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/core/project.h"

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
    using Maker = std::function<ThumbnailPicture(const ThumbnailRequest&)>;

    // `make` turns one request into its picture on the worker's thread.
    explicit ThumbnailWorker(Maker make = makeThumbnail);
    // Stops the thread; requests still waiting are discarded. A thread stuck
    // in a video that does not answer (a dead network mount) is left behind
    // after a short wait, so that it cannot stop the program from ending.
    ~ThumbnailWorker();
    ThumbnailWorker(const ThumbnailWorker&) = delete;
    ThumbnailWorker& operator=(const ThumbnailWorker&) = delete;

    // Requests are served in order.
    void request(ThumbnailRequest request);
    // The pictures finished since the last call, in the order they were made.
    std::vector<ThumbnailPicture> takeFinished();

private:
    // Shared with the thread, which may outlive the worker.
    struct Queue {
        std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable ended;
        std::deque<ThumbnailRequest> pending;
        std::vector<ThumbnailPicture> finished;
        bool stopping = false;
        bool running = true;
    };

    static void run(const std::shared_ptr<Queue>& queue, const Maker& make);

    std::shared_ptr<Queue> queue_;
    std::thread thread_;
};

}  // namespace rallinox
