#include "platform/desktop_requests.h"

#include "platform/desktop.h"
#include "platform/frame_wake.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>

namespace rallinox {
namespace {

// How long closing waits for a call under way before letting it go.
constexpr auto kStopWait = std::chrono::seconds(2);

struct Request {
    bool showInFolder = false;
    std::string path;
};

}  // namespace

struct DesktopRequests::Shared {
    std::mutex lock;
    std::condition_variable wake;   // the thread: a request or the stop
    std::condition_variable ended;  // the owner: the thread has returned
    std::deque<Request> requests;
    std::vector<std::string> failures;
    bool stop = false;
    bool exited = false;
};

namespace {

void serveRequests(std::shared_ptr<DesktopRequests::Shared> s) {
    std::unique_lock<std::mutex> held(s->lock);
    for (;;) {
        s->wake.wait(held, [&] { return s->stop || !s->requests.empty(); });
        if (s->stop) break;
        const Request request = std::move(s->requests.front());
        s->requests.pop_front();
        held.unlock();
        const bool done = request.showInFolder ? showInFolder(request.path) : shellOpen(request.path);
        held.lock();
        if (!done) {
            s->failures.push_back(request.showInFolder ? "Could not open the folder of " + request.path
                                                       : "Could not open " + request.path);
            // The window may be waiting for input: the toast is news.
            wakeFrameLoop();
        }
    }
    s->exited = true;
    s->ended.notify_all();
}

}  // namespace

DesktopRequests::DesktopRequests() : shared_(std::make_shared<Shared>()), thread_(serveRequests, shared_) {}

DesktopRequests::~DesktopRequests() {
    std::unique_lock<std::mutex> held(shared_->lock);
    shared_->stop = true;
    shared_->wake.notify_one();
    const bool exited = shared_->ended.wait_for(held, kStopWait, [this] { return shared_->exited; });
    held.unlock();
    if (exited) {
        thread_.join();
    } else {
        thread_.detach();
    }
}

void DesktopRequests::open(const std::string& path) {
    std::lock_guard<std::mutex> held(shared_->lock);
    shared_->requests.push_back({false, path});
    shared_->wake.notify_one();
}

void DesktopRequests::showInFolder(const std::string& path) {
    std::lock_guard<std::mutex> held(shared_->lock);
    shared_->requests.push_back({true, path});
    shared_->wake.notify_one();
}

std::vector<std::string> DesktopRequests::takeFailures() {
    std::lock_guard<std::mutex> held(shared_->lock);
    return std::exchange(shared_->failures, {});
}

}  // namespace rallinox
