// Whole-file reads and writes of the program's own small files (bytes as
// they are, no line-end translation).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace rallinox {

enum class WriteStatus { Ok, CannotOpen, WriteFailed, RenameFailed };

// Nothing when the file cannot be opened or read.
std::optional<std::string> readWholeFile(const std::filesystem::path& file);

// Creates or truncates the file and writes the text. With syncToDisk the
// bytes are on the disk when Ok is returned, which a following rename needs
// to be safe against a power cut.
WriteStatus writeWholeFile(const std::filesystem::path& file, const std::string& text, bool syncToDisk = false);

// Writes the text to "<file>.tmp", puts it on the disk and renames it over
// the file, so that a reader, a crash or a power cut only ever finds the old
// or the new file. On failure the old file is untouched, no temporary file
// is left and `why` (when given) holds the system's reason.
WriteStatus replaceWholeFile(const std::filesystem::path& file, const std::string& text, std::string* why = nullptr);

// "<file>.tmp", where replaceWholeFile writes first.
std::filesystem::path temporaryFileFor(const std::filesystem::path& file);

}  // namespace rallinox
