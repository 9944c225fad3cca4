// One export of a project's chosen rallies on a thread of its own, seen from
// the GUI thread: the request, the progress it publishes, its cancel flag and
// the result taken once. What the thread does is given as its body.
#pragma once

#include <optional>

#include "app/jobs/job_thread.h"
#include "export/export_request.h"

namespace rallinox {

class ExportJob {
public:
    // Never throws; returns soon after the progress's cancel flag is set.
    using Body = ExportBody;

    // Starts the thread at once.
    ExportJob(ExportRequest request, Body body);
    // Sets the cancel flag and waits for the thread to end.
    ~ExportJob();
    ExportJob(const ExportJob&) = delete;
    ExportJob& operator=(const ExportJob&) = delete;

    void cancel() { progress.cancel.exchange(true); }
    bool done() const { return runner_.done(); }
    std::optional<ExportResult> takeResult() { return runner_.takeResult(); }

    const ExportRequest request;
    ExportProgress progress;

private:
    const Body body_;
    JobThread<ExportResult> runner_;  // last: its thread uses the members above
};

}  // namespace rallinox
