#include "export/export_body.h"

#include <exception>
#include <filesystem>

#include "app/log.h"
#include "export/cut_list.h"
#include "export/edl.h"
#include "export/mp4_export.h"
#include "export/video_encoder.h"

namespace rallinox {
namespace {

namespace fs = std::filesystem;

ExportResult exportVideo(const ExportRequest& request, ExportProgress& progress, FrameOverlay* overlay) {
    try {
        return exportMp4(request.sourcePath, request.outputPath, cutsOf(request.rallies), request.keepSound,
                         overlay, progress);
    } catch (const std::exception& error) {
        ExportResult result;
        result.message = std::string("Export stopped unexpectedly: ") + error.what();
        return result;
    }
}

}  // namespace

ExportResult runExport(const ExportRequest& request, ExportProgress& progress, FrameOverlay* overlay) {
    ExportResult result;
    if (!videoEncoderAvailable()) {
        result.message = kNoVideoEncoderMessage;
    } else {
        std::error_code ignored;
        fs::create_directories(fs::path(request.outputPath).parent_path(), ignored);
        result = exportVideo(request, progress, overlay);
    }
    if (result.ok && !request.edlPath.empty()) {
        const std::string clipName = fs::path(request.sourcePath).filename().string();
        if (std::string error = saveEdl(request.edlPath, request.title, clipName, request.fps, request.rallies);
            !error.empty())
            result.message = error;
    }
    if (result.ok)
        logInfo("export done: " + std::to_string(request.rallies.size()) + " rallies");
    else if (!result.cancelled)
        logError("export failed: " + result.message);
    return result;
}

ExportJob::Body exportBody(OverlayFactory makeOverlay) {
    return [makeOverlay = std::move(makeOverlay)](const ExportRequest& request, ExportProgress& progress) {
        try {
            std::unique_ptr<FrameOverlay> overlay = makeOverlay ? makeOverlay() : nullptr;
            return runExport(request, progress, overlay.get());
        } catch (const std::exception& error) {
            // The overlay could not be made, or memory ran out around the video.
            ExportResult result;
            result.message = std::string("Export stopped unexpectedly: ") + error.what();
            logError("export failed: " + result.message);
            return result;
        }
    };
}

}  // namespace rallinox
