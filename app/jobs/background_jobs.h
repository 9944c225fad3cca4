// The analysis and export jobs as the application sees them: at most one of
// each, cancelled analyses winding down beside them, and the hand-over of a
// finished analysis into its project file. Everything here runs on the GUI
// thread; only the jobs' own threads run beside it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/jobs/project_jobs.h"
#include "app/core/project.h"
#include "app/core/project_store.h"

namespace rallinox {

struct FinishedAnalysis {
    std::string projectId;
    // The project as saved after the merge; nothing when it was deleted
    // meanwhile (then nothing was saved).
    std::optional<Project> project;
    bool ok = false;
    std::string error;  // for the error dialog: failed, not cancelled
    std::string toast;  // for the toast: succeeded and saved
    // Why the merged project could not be saved; it is then only in `project`
    // and the error dialog says so instead of the toast.
    std::string saveError;
};

inline constexpr const char* kAnotherAnalysisMessage =
    "Another video is being analysed. Wait for it to finish or cancel it first.";

class BackgroundJobs {
public:
    explicit BackgroundJobs(const ProjectStore& store);
    // Cancels every job, then waits for all of them.
    ~BackgroundJobs();
    BackgroundJobs(const BackgroundJobs&) = delete;
    BackgroundJobs& operator=(const BackgroundJobs&) = delete;

    // Marks the project as being analysed, saves it and starts its job.
    // Empty when started, else the message for the user.
    std::string startAnalysis(Project& project);
    // The project is shown as new at once; its thread winds down unseen.
    void cancelAnalysis();
    // Ends the retired jobs that are done and takes over a finished
    // analysis: merged and saved on success, new after a cancel, failed
    // after an error.
    std::optional<FinishedAnalysis> pollAnalysis();

    // False when an export is already running (the request is dropped).
    // The request's own export runs unless another body is given.
    bool startExport(ExportRequest request, ExportJob::Body body = exportBody());
    std::optional<ExportResult> pollExport();

    bool any() const { return analysisJob || exportJob; }
    // An analysis or an export whose thread has not ended: what quitting
    // would stop. A finished job waiting to be collected is not running.
    bool running() const;
    bool isAnalysing(const std::string& projectId) const;
    // For the launcher: the export's progress, else the analysis's, else -1.
    double progressValue() const;

    std::unique_ptr<AnalysisJob> analysisJob;
    std::vector<std::unique_ptr<AnalysisJob>> retiredJobs;
    std::unique_ptr<ExportJob> exportJob;

private:
    void markProject(const std::string& id, ProjectState state);
    FinishedAnalysis finish(const std::string& projectId, const AnalysisResult& result);

    const ProjectStore& store_;
};

}  // namespace rallinox
