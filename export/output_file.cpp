#include "export/output_file.h"

#include <filesystem>

#include "export/av_error.h"
#include "export/mp4_muxer.h"

namespace rallinox {

namespace fs = std::filesystem;

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::equivalent(fs::path(a), fs::path(b), error) && !error;
}

std::string partialPathFor(const std::string& outputPath) { return outputPath + ".part"; }

std::string finishOutput(Mp4Muxer& muxer, bool streamsFinished, const std::string& partialPath,
                         const std::string& outputPath) {
    const bool finished = streamsFinished && muxer.finish();
    if (const int error = muxer.writeError(); error < 0) return withAvError(kCannotFinishMessage, error);
    std::error_code renameError;
    if (finished) fs::rename(fs::path(partialPath), fs::path(outputPath), renameError);
    return finished && !renameError ? std::string() : std::string(kCannotFinishMessage);
}

void removeFile(const std::string& path) {
    std::error_code ignored;
    fs::remove(fs::path(path), ignored);
}

std::string writeFailedMessage(int avError) {
    return avError < 0 ? withAvError(kWriteFailedMessage, avError) : std::string(kWriteFailedMessage);
}

}  // namespace rallinox
