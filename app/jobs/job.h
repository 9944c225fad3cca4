// One background job seen from the GUI thread: what it was asked, the
// progress its thread publishes, its cancel flag and its result, taken once.
// The GUI thread owns the job, reads the progress without a lock every frame
// and may set the cancel flag; what the thread does is the job's body.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <utility>

#include "app/jobs/job_thread.h"

namespace rallinox {

// `Progress` has an atomic `cancel` flag beside what the body publishes.
template <typename Request, typename Progress, typename Result>
class Job {
public:
    using Clock = std::chrono::steady_clock;
    // Never throws; returns soon after the progress's cancel flag is set.
    using Body = std::function<Result(const Request&, Progress&)>;

    // Starts the thread at once; `why` is told to the system that is kept
    // awake meanwhile.
    Job(const char* why, Request jobRequest, Body body)
        : request(std::move(jobRequest)),
          startTime(Clock::now()),
          body_(std::move(body)),
          runner_(why, [this] { return body_(request, progress); }) {}
    // Sets the cancel flag and waits for the thread to end.
    ~Job() { cancel(); }
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

    void cancel() { progress.cancel.store(true); }
    bool done() const { return runner_.done(); }
    // The result once done; nothing before and nothing the second time.
    std::optional<Result> takeResult() { return runner_.takeResult(); }
    double elapsedSec() const { return std::chrono::duration<double>(Clock::now() - startTime).count(); }

    const Request request;
    Progress progress;
    const Clock::time_point startTime;

private:
    const Body body_;
    JobThread<Result> runner_;  // last: its thread uses the members above
};

}  // namespace rallinox
