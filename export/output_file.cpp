#include "export/output_file.h"

#include <filesystem>

#include "export/av_error.h"

namespace rallinox {

namespace fs = std::filesystem;

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::equivalent(fs::path(a), fs::path(b), error) && !error;
}

std::string partialPathFor(const std::string& outputPath) { return outputPath + ".part"; }

bool renameFinished(const std::string& partialPath, const std::string& outputPath) {
    std::error_code error;
    fs::rename(fs::path(partialPath), fs::path(outputPath), error);
    return !error;
}

void removeFile(const std::string& path) {
    std::error_code ignored;
    fs::remove(fs::path(path), ignored);
}

std::string writeFailedMessage(int avError) {
    return avError < 0 ? withAvError(kWriteFailedMessage, avError) : std::string(kWriteFailedMessage);
}

}  // namespace rallinox
