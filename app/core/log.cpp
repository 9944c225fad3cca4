#include "app/core/log.h"

#include <cstdio>
#include <ctime>
#include <mutex>

#include "app/core/version.h"

namespace rallinox {

namespace {

std::mutex logMutex;
std::FILE* logStream = nullptr;

void writeLine(const char* level, const std::string& message) {
    std::lock_guard lock(logMutex);
    if (!logStream) return;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::fprintf(logStream, "%s [%s] ", stamp, level);
    std::fwrite(message.data(), 1, message.size(), logStream);
    std::fputc('\n', logStream);
    std::fflush(logStream);
}

void closeLocked() {
    if (logStream) std::fclose(logStream);
    logStream = nullptr;
}

}  // namespace

void openLog(const std::filesystem::path& logFile) {
    std::lock_guard lock(logMutex);
    closeLocked();
    std::error_code ignored;
    std::filesystem::create_directories(logFile.parent_path(), ignored);
    if (std::filesystem::exists(std::filesystem::symlink_status(logFile, ignored))) {
        std::filesystem::path old = logFile;
        old += ".old";
        std::filesystem::rename(logFile, old, ignored);
    }
    // "e": the log stays private to this process when it starts helper programs.
    logStream = std::fopen(logFile.c_str(), "we");
}

void closeLog() {
    std::lock_guard lock(logMutex);
    closeLocked();
}

void logInfo(const std::string& message) { writeLine("info", message); }

void logError(const std::string& message) { writeLine("error", message); }

void logStartLine() { logInfo(std::string("Rallinox ") + kAppVersion + " started"); }

}  // namespace rallinox
