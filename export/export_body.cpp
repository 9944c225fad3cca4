#include "export/export_body.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <optional>

#include "app/core/file_io.h"
#include "app/core/log.h"
#include "export/board_overlay.h"
#include "export/cut_list.h"
#include "export/edl.h"
#include "export/mp4_export.h"
#include "export/stream_copy_export.h"
#include "export/video_encoder.h"

namespace rallinox {
namespace {

namespace fs = std::filesystem;

void createParentFolder(const std::string& path) {
    std::error_code ignored;
    fs::create_directories(fs::path(path).parent_path(), ignored);
}

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
        createParentFolder(request.outputPath);
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

// The overlay of the whole export seen by the file of one rally, whose only
// cut is that rally's place among all the exported ones.
class OneRallyOverlay : public FrameOverlay {
public:
    OneRallyOverlay(FrameOverlay& all, size_t rallyIndex) : all_(all), rallyIndex_(rallyIndex) {}
    void draw(Nv12Picture& picture, std::size_t, double secondsIntoCut) override {
        all_.draw(picture, rallyIndex_, secondsIntoCut);
    }

private:
    FrameOverlay& all_;
    const size_t rallyIndex_;
};

void removeFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        std::error_code ignored;
        fs::remove(fs::path(path), ignored);
    }
}

// The one MP4 and then the file of each rally. A failure or a cancel
// removes the files already written, so that no incomplete set is left.
ExportResult exportVideos(const ExportRequest& request, ExportProgress& progress, FrameOverlay* overlay) {
    ExportResult result;
    if (videoFileCount(request) == 0) {
        result.message = kNoRalliesMessage;
        return result;
    }
    result.ok = true;
    std::vector<std::string> written;
    if (!request.outputPath.empty()) {
        result = exportVideo(request, progress, overlay);
        if (!result.ok) return result;
        written.push_back(request.outputPath);
    }
    for (size_t index = 0; index < request.eachPaths.size() && index < request.rallies.size(); ++index) {
        progress.currentFile.store(int32_t(written.size()));
        ExportRequest one = request;
        one.outputPath = request.eachPaths[index];
        one.rallies = {request.rallies[index]};
        std::optional<OneRallyOverlay> board;
        if (overlay) board.emplace(*overlay, index);
        ExportResult part = exportVideo(one, progress, board ? &*board : nullptr);
        if (!part.ok) {
            removeFiles(written);
            return part;
        }
        written.push_back(one.outputPath);
        result.noSound |= part.noSound;
        if (request.outputPath.empty()) result.outputSec += part.outputSec;
    }
    return result;
}

std::unique_ptr<FrameOverlay> scoreboardOf(const ExportRequest& request) {
    if (request.boards.empty()) return nullptr;
    return std::make_unique<BoardOverlay>(request.boards);
}

// Each file appears complete or not at all; an older file of that name stays
// until the new one is there.
std::string saveTextFile(const ExportTextFile& file) {
    createParentFolder(file.path);
    if (replaceWholeFile(file.path, file.text) == WriteStatus::Ok) return {};
    return "Could not write " + file.path;
}

}  // namespace

size_t videoFileCount(const ExportRequest& request) {
    return (request.outputPath.empty() ? 0 : 1) + request.eachPaths.size();
}

double overallFraction(const ExportRequest& request, const ExportProgress& progress) {
    const size_t files = std::max<size_t>(1, videoFileCount(request));
    return std::min(1.0, (progress.currentFile.load() + double(progress.fraction.load())) / double(files));
}

ExportResult runExport(const ExportRequest& request, ExportProgress& progress, FrameOverlay* overlay) {
    ExportResult result = exportVideos(request, progress, overlay);
    if (result.ok && !request.edlPath.empty()) {
        const std::string clipName = fs::path(request.sourcePath).filename().string();
        if (std::string error = saveEdl(request.edlPath, request.title, clipName, request.fps, request.rallies);
            !error.empty())
            result.message = error;
    }
    for (const ExportTextFile& file : request.textFiles) {
        if (!result.ok) break;
        if (std::string error = saveTextFile(file); !error.empty()) result.message = error;
    }
    if (result.ok)
        logInfo("export done: " + std::to_string(request.rallies.size()) + " rallies");
    else if (!result.cancelled)
        logError("export failed: " + result.message);
    return result;
}

ExportBody exportBody(OverlayFactory makeOverlay) {
    return [makeOverlay = std::move(makeOverlay)](const ExportRequest& request, ExportProgress& progress) {
        try {
            std::unique_ptr<FrameOverlay> overlay = makeOverlay ? makeOverlay() : scoreboardOf(request);
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
