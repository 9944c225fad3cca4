// The application's two jobs: the analysis of one project's video and the
// export of a project's chosen rallies, each on a thread of its own.
#pragma once

#include <string>
#include <utility>

#include "app/jobs/job.h"
#include "engine/analysis.h"
#include "export/export_body.h"
#include "export/export_request.h"

namespace rallinox {

class AnalysisJob : public Job<AnalysisRequest, AnalysisProgress, AnalysisResult> {
public:
    AnalysisJob(std::string projectId, AnalysisRequest request);

    const std::string projectId;
};

class ExportJob : public Job<ExportRequest, ExportProgress, ExportResult> {
public:
    // The request's own export unless another body is given. Defined here so
    // that the export's own tests run it without the engine.
    explicit ExportJob(ExportRequest request, Body body = exportBody())
        : Job("Exporting volleyball rallies", std::move(request), std::move(body)) {}
};

}  // namespace rallinox
