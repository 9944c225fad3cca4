#include "app/jobs/project_jobs.h"

#include "engine/analysis_job.h"

namespace rallinox {

AnalysisJob::AnalysisJob(std::string id, AnalysisRequest request)
    : Job("Analysing a volleyball match video", std::move(request), analysisJobBody), projectId(std::move(id)) {}

}  // namespace rallinox
