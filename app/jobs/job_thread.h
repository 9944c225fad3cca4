// The thread of one background job: runs the job's body once, keeps the
// computer awake meanwhile, hands the result over under a lock and only then
// raises the done flag, so that a done job's result is always complete.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "platform/sleep_inhibitor.h"

namespace rallinox {

template <typename Result>
class JobThread {
public:
    // The body runs on the new thread; it must not throw and should return
    // soon after its job's cancel flag is set.
    template <typename Body>
    JobThread(const char* why, Body body) : thread_([this, why, body = std::move(body)]() mutable {
        Result result;
        {
            SleepInhibitor awake(why);
            result = body();
        }
        {
            std::lock_guard lock(mutex_);
            result_ = std::move(result);
        }
        done_.store(true, std::memory_order_release);
    }) {}

    // Waits for the body: the job's owner sets the cancel flag first.
    ~JobThread() { thread_.join(); }
    JobThread(const JobThread&) = delete;
    JobThread& operator=(const JobThread&) = delete;

    bool done() const { return done_.load(std::memory_order_acquire); }

    // The result once the job is done; nothing before, and nothing the
    // second time.
    std::optional<Result> takeResult() {
        if (!done()) return std::nullopt;
        std::lock_guard lock(mutex_);
        return std::exchange(result_, std::nullopt);
    }

private:
    std::mutex mutex_;
    std::optional<Result> result_;
    std::atomic<bool> done_{false};
    std::thread thread_;  // last: starts once the members above exist
};

}  // namespace rallinox
