// One export of a project's chosen rallies on a thread of its own, seen from
// the GUI thread: the request, the progress it publishes, its cancel flag and
// the result taken once. What the thread does is given as its body.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/job_thread.h"
#include "app/project.h"

namespace rallinox {

struct ExportRequest {
    std::string sourcePath;  // the project's video
    std::string outputPath;  // the MP4 to write
    std::string edlPath;     // empty: no EDL
    std::string title;       // the project's name, for the EDL
    double fps = 0;          // the project's frame rate, for the EDL
    std::vector<Rally> rallies;  // the chosen ones, in list order
    bool keepSound = true;
    bool fast = false;  // copy the picture without re-encoding when no overlay is drawn
};

// Written by the export thread, read by the GUI thread without a lock.
struct ExportProgress {
    std::atomic<float> fraction{0.0f};
    std::atomic<int32_t> currentCut{0};
    std::atomic<bool> cancel{false};
};

struct ExportResult {
    bool ok = false;
    bool cancelled = false;
    bool noSound = false;  // the sound's format could not be kept
    std::string message;   // the error, or the EDL's error after a good video
    double outputSec = 0;
};

class ExportJob {
public:
    // Never throws; returns soon after the progress's cancel flag is set.
    using Body = std::function<ExportResult(const ExportRequest&, ExportProgress&)>;

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
