// The program's log: one text file per run, the previous run kept as ".old",
// timestamped lines from any thread. Every failure of the log is silent.
#pragma once

#include <filesystem>
#include <string>

namespace rallinox {

// Keeps the existing log as logFile + ".old" and starts an empty one.
// Lines written before the first call are dropped.
void openLog(const std::filesystem::path& logFile);
// Closes the log; later lines are dropped until it is opened again.
void closeLog();
void logInfo(const std::string& message);
void logError(const std::string& message);
// The first line of every run: "Rallinox <version> started".
void logStartLine();

}  // namespace rallinox
