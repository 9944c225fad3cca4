#include "export/export_body.h"

#include <exception>
#include <filesystem>

#include "app/log.h"
#include "export/cut_list.h"
#include "export/edl.h"
#include "export/mp4_export.h"
#include "export/stream_copy_export.h"
#include "export/video_encoder.h"

namespace rallinox {
namespace {

namespace fs = std::filesystem;

// Re-encodes the picture, as it must when an overlay draws into it or the
// source's picture cannot be copied into MP4.
ExportResult reencode(const ExportRequest& request, ExportProgress& progress, FrameOverlay* overlay) {
    ExportResult result;
    if (!videoEncoderAvailable()) {
        result.message = kNoVideoEncoderMessage;
        return result;
    }
    result = exportMp4(request.sourcePath, request.outputPath, cutsOf(request.rallies), request.keepSound, overlay,
                       progress);
    if (result.ok && request.fast && !overlay) result.message = kPictureReencodedMessage;
    return result;
}

ExportResult exportVideo(const ExportRequest& request, ExportProgress& progress, FrameOverlay* overlay) {
    try {
        std::error_code ignored;
        fs::create_directories(fs::path(request.outputPath).parent_path(), ignored);
        if (request.fast && !overlay && pictureCanBeCopied(request.sourcePath))
            return exportStreamCopy(request.sourcePath, request.outputPath, cutsOf(request.rallies),
                                    request.keepSound, progress);
        return reencode(request, progress, overlay);
    } catch (const std::exception& error) {
        ExportResult result;
        result.message = std::string("Export stopped unexpectedly: ") + error.what();
        return result;
    }
}

}  // namespace

ExportResult runExport(const ExportRequest& request, ExportProgress& progress, FrameOverlay* overlay) {
    ExportResult result = exportVideo(request, progress, overlay);
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
