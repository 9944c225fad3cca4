// What the export thread does: the MP4, then the EDL next to it when asked,
// and the log lines of the outcome.
#pragma once

#include <functional>
#include <memory>

#include "app/export_job.h"
#include "export/frame_overlay.h"

namespace rallinox {

// Makes the overlay of one export on the export thread; may give nullptr.
using OverlayFactory = std::function<std::unique_ptr<FrameOverlay>()>;

// Runs the whole export of `request`; never throws.
ExportResult runExport(const ExportRequest& request, ExportProgress& progress, FrameOverlay* overlay);

// The body for `App::startExport`; the overlay, when given, draws into every
// exported picture (the scoreboard).
ExportJob::Body exportBody(OverlayFactory makeOverlay = {});

}  // namespace rallinox
