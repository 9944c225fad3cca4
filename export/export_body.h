// What the export thread does: the MP4 and the file of each rally, then the
// EDL, the rally list and the timelines when asked, and the log lines of the
// outcome.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

#include "export/export_request.h"
#include "export/frame_overlay.h"

namespace rallinox {

// Makes the overlay of one export on the export thread; may give nullptr.
using OverlayFactory = std::function<std::unique_ptr<FrameOverlay>()>;

// How many video files the request writes: the one MP4 and one per rally.
size_t videoFileCount(const ExportRequest& request);
// 0 to 1 over all the files of the export.
double overallFraction(const ExportRequest& request, const ExportProgress& progress);

// Runs the whole export of `request`; never throws.
ExportResult runExport(const ExportRequest& request, ExportProgress& progress, FrameOverlay* overlay);

// The body of an export job. It draws the request's scoreboards, or what
// `makeOverlay` makes when given, into every exported picture.
ExportBody exportBody(OverlayFactory makeOverlay = {});

}  // namespace rallinox
