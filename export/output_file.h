// What every export writer shares about its output: the file is written
// under a partial name and given its real name only when complete, and the
// messages for the steps around it.
#pragma once

#include <string>

namespace rallinox {

inline constexpr const char* kCannotOpenMessage = "Cannot open the source video";
inline constexpr const char* kStoppedMessage = "Export stopped while reading the video";
inline constexpr const char* kCannotFinishMessage = "Cannot finish the output file";
inline constexpr const char* kWriteFailedMessage = "Export stopped: the output file could not be written";

// Whether both names lead to one file (the same path, or hard links).
bool sameFile(const std::string& a, const std::string& b);

// The file being written, next to the chosen name until it is complete.
std::string partialPathFor(const std::string& outputPath);

class Mp4Muxer;

// Completes the muxed file (after its streams were finished, `streamsFinished`
// saying how that went) and gives it the chosen name. Empty on success, else
// the message for the user, naming the cause when the disk refused a write.
std::string finishOutput(Mp4Muxer& muxer, bool streamsFinished, const std::string& partialPath,
                         const std::string& outputPath);

void removeFile(const std::string& path);

// The message for a write that failed; `avError` (negative) names the cause,
// such as a full disk.
std::string writeFailedMessage(int avError);

}  // namespace rallinox
