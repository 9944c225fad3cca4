// One analysis of one project on a thread of its own. The GUI thread owns
// the job, reads its progress without a lock every frame, may set its cancel
// flag, and takes the result once the job is done.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "app/jobs/job_thread.h"
#include "engine/analysis.h"

namespace rallinox {

class AnalysisJob {
public:
    using Clock = std::chrono::steady_clock;

    // Starts the thread at once.
    AnalysisJob(std::string projectId, AnalysisRequest request);
    // Sets the cancel flag and waits for the thread to end.
    ~AnalysisJob();
    AnalysisJob(const AnalysisJob&) = delete;
    AnalysisJob& operator=(const AnalysisJob&) = delete;

    void cancel() { progress.cancel.exchange(1); }
    bool done() const { return runner_.done(); }
    // The result once done; nothing before and nothing the second time.
    std::optional<AnalysisResult> takeResult() { return runner_.takeResult(); }
    double elapsedSec() const;

    const std::string projectId;
    const AnalysisRequest request;
    AnalysisProgress progress;
    const Clock::time_point startTime;

private:
    JobThread<AnalysisResult> runner_;  // last: its thread uses the members above
};

}  // namespace rallinox
