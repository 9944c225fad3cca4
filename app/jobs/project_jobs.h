// The application's two jobs: the analysis of one project's video and the
// export of a project's chosen rallies (export_job.h), each on a thread of its own.
#pragma once

#include <string>
#include <utility>

#include "app/jobs/export_job.h"
#include "app/jobs/job.h"
#include "engine/analysis.h"

namespace rallinox {

class AnalysisJob : public Job<AnalysisRequest, AnalysisProgress, AnalysisResult> {
public:
    AnalysisJob(std::string projectId, AnalysisRequest request);

    const std::string projectId;
};

}  // namespace rallinox
