#include "app/jobs/export_job.h"

namespace rallinox {

ExportJob::ExportJob(ExportRequest exportRequest, Body body)
    : request(std::move(exportRequest)),
      body_(std::move(body)),
      runner_("Exporting volleyball rallies", [this] { return body_(request, progress); }) {}

ExportJob::~ExportJob() { cancel(); }

}  // namespace rallinox
