// The export of a project's chosen rallies on a thread of its own; apart from
// the analysis job so that the export dialog and the export's tests need no engine.
#pragma once

#include <utility>

#include "app/jobs/job.h"
#include "export/export_body.h"
#include "export/export_request.h"

namespace rallinox {

class ExportJob : public Job<ExportRequest, ExportProgress, ExportResult> {
public:
    // The request's own export unless another body is given. Defined here so
    // that the export's own tests run it without the engine.
    explicit ExportJob(ExportRequest request, Body body = exportBody())
        : Job("Exporting volleyball rallies", std::move(request), std::move(body)) {}
};

}  // namespace rallinox
