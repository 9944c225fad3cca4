#include "app/jobs/background_jobs.h"

#include <algorithm>
#include <filesystem>

#include "app/jobs/analysis_merge.h"
#include "app/core/log.h"

namespace rallinox {

BackgroundJobs::BackgroundJobs(const ProjectStore& store) : store_(store) {}

BackgroundJobs::~BackgroundJobs() {
    // All flags first, so that the threads wind down together.
    if (analysisJob) analysisJob->cancel();
    for (auto& job : retiredJobs) job->cancel();
    if (exportJob) exportJob->cancel();
    analysisJob.reset();
    retiredJobs.clear();
    exportJob.reset();
}

std::string BackgroundJobs::startAnalysis(Project& project) {
    if (analysisJob) return kAnotherAnalysisMessage;
    project.state = ProjectState::Analysing;
    store_.save(project);
    AnalysisRequest request{project.videoPath, project.settings.startPaddingSec, project.settings.endPaddingSec,
                            project.settings.minRallySec};
    analysisJob = std::make_unique<AnalysisJob>(project.id, std::move(request));
    logInfo("analysis started for " + project.id);
    return "";
}

void BackgroundJobs::markProject(const std::string& id, ProjectState state) {
    std::optional<Project> project = store_.load(id);
    if (!project) return;
    project->state = state;
    store_.save(*project);
}

void BackgroundJobs::cancelAnalysis() {
    if (!analysisJob) return;
    analysisJob->cancel();
    const std::string id = analysisJob->projectId;
    retiredJobs.push_back(std::move(analysisJob));
    markProject(id, ProjectState::New);
}

FinishedAnalysis BackgroundJobs::finish(const std::string& projectId, const AnalysisResult& result) {
    FinishedAnalysis finished{projectId, store_.load(projectId), result.ok, "", "", ""};
    if (!finished.project) return finished;  // deleted meanwhile: nothing to save
    Project& project = *finished.project;
    if (result.ok) {
        mergeAnalysis(project, result);
        std::error_code ignored;
        std::filesystem::remove(store_.thumbnailFile(projectId), ignored);
        finished.toast = analysisFinishedText(project.rallies.size(), project.hints.size(), result.warning);
    } else if (result.cancelled) {
        project.state = ProjectState::New;
    } else {
        project.state = ProjectState::Failed;
        finished.error = result.error;
    }
    if (SaveResult saved = store_.save(project); !saved) {
        logError("analysis result of " + projectId + " not saved: " + saved.message);
        finished.saveError = saved.message;
        if (result.ok) finished.error = analysisNotSavedText(project.rallies.size(), saved.message);
        finished.toast.clear();
    }
    return finished;
}

std::optional<FinishedAnalysis> BackgroundJobs::pollAnalysis() {
    std::erase_if(retiredJobs, [](const std::unique_ptr<AnalysisJob>& job) { return job->done(); });
    if (!analysisJob || !analysisJob->done()) return std::nullopt;
    const std::string projectId = analysisJob->projectId;
    const AnalysisResult result = analysisJob->takeResult().value_or(AnalysisResult{});
    analysisJob.reset();
    return finish(projectId, result);
}

bool BackgroundJobs::startExport(ExportRequest request, ExportJob::Body body) {
    if (exportJob) return false;
    logInfo("export started: " + std::to_string(request.rallies.size()) + " rallies");
    exportJob = std::make_unique<ExportJob>(std::move(request), std::move(body));
    return true;
}

std::optional<ExportResult> BackgroundJobs::pollExport() {
    if (!exportJob || !exportJob->done()) return std::nullopt;
    std::optional<ExportResult> result = exportJob->takeResult();
    exportJob.reset();
    return result;
}

bool BackgroundJobs::running() const {
    return (analysisJob && !analysisJob->done()) || (exportJob && !exportJob->done());
}

bool BackgroundJobs::isAnalysing(const std::string& projectId) const {
    return analysisJob && analysisJob->projectId == projectId;
}

double BackgroundJobs::progressValue() const {
    if (exportJob) return exportJob->progress.fraction.load();
    if (analysisJob) return analysisJob->progress.fraction.load();
    return -1;
}

}  // namespace rallinox
