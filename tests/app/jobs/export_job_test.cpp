// The export job's thread as the GUI sees it: progress, cancel, the result
// taken once. The body here stands in for the encoder and follows its rules.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/jobs/background_jobs.h"
#include "tests/support/temp_dir.h"

namespace rallinox {
namespace {

ExportRequest requestOf(int rallies) {
    ExportRequest request;
    request.sourcePath = "match.mp4";
    request.outputPath = "rallies.mp4";
    request.rallies.resize(rallies);
    return request;
}

// Writes progress until cancelled or released; reports which one it saw.
struct Gate {
    std::atomic<bool> open{false};

    ExportJob::Body body() {
        return [this](const ExportRequest& request, ExportProgress& progress) {
            ExportResult result;
            while (!open.load() && !progress.cancel.load()) {
                progress.fraction.store(0.5f);
                std::this_thread::yield();
            }
            result.cancelled = progress.cancel.load();
            result.ok = !result.cancelled;
            result.outputSec = 8.0 * request.rallies.size();
            return result;
        };
    }
};

TEST(ExportJob, ResultIsTakenOnceAfterTheThreadIsDone) {
    Gate gate;
    ExportJob job(requestOf(3), gate.body());
    EXPECT_FALSE(job.takeResult().has_value()) << "nothing before the end";
    gate.open = true;
    while (!job.done()) std::this_thread::yield();
    const std::optional<ExportResult> result = job.takeResult();
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(result->ok);
    EXPECT_DOUBLE_EQ(result->outputSec, 24.0);
    EXPECT_FALSE(job.takeResult().has_value()) << "taken only once";
}

TEST(ExportJob, CancelFlagStopsTheBody) {
    Gate gate;
    ExportJob job(requestOf(1), gate.body());
    job.cancel();
    while (!job.done()) std::this_thread::yield();
    EXPECT_TRUE(job.takeResult()->cancelled);
}

TEST(ExportJob, DestroyingARunningJobCancelsAndWaitsForIt) {
    Gate gate;
    std::atomic<bool> bodyEnded{false};
    {
        ExportJob job(requestOf(1), [&](const ExportRequest& request, ExportProgress& progress) {
            ExportResult result = gate.body()(request, progress);
            bodyEnded = true;
            return result;
        });
    }
    EXPECT_TRUE(bodyEnded.load());
}

TEST(ExportJob, SecondExportIsDroppedWhileOneRuns) {
    test::TempDir folder;
    ProjectStore store(folder.path());
    BackgroundJobs jobs(store);
    Gate gate;
    EXPECT_TRUE(jobs.startExport(requestOf(2), gate.body()));
    EXPECT_FALSE(jobs.startExport(requestOf(5), gate.body()));
    EXPECT_EQ(jobs.exportJob->request.rallies.size(), 2u);
    EXPECT_FLOAT_EQ(static_cast<float>(jobs.progressValue()), jobs.exportJob->progress.fraction.load());
    gate.open = true;
    std::optional<ExportResult> result;
    while (!(result = jobs.pollExport())) std::this_thread::yield();
    EXPECT_TRUE(result->ok);
    EXPECT_FALSE(jobs.exportJob);
    EXPECT_DOUBLE_EQ(jobs.progressValue(), -1);
}

}  // namespace
}  // namespace rallinox
