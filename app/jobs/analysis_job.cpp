#include "app/jobs/analysis_job.h"

#include "engine/analysis_job.h"

namespace rallinox {

AnalysisJob::AnalysisJob(std::string id, AnalysisRequest analysisRequest)
    : projectId(std::move(id)),
      request(std::move(analysisRequest)),
      startTime(Clock::now()),
      runner_("Analysing a volleyball match video", [this] { return analysisJobBody(request, progress); }) {}

AnalysisJob::~AnalysisJob() { cancel(); }

double AnalysisJob::elapsedSec() const { return std::chrono::duration<double>(Clock::now() - startTime).count(); }

}  // namespace rallinox
