// Whole-file reads and writes of the program's own small files (bytes as
// they are, no line-end translation).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace rallinox {

enum class WriteStatus { Ok, CannotOpen, WriteFailed };

// Nothing when the file cannot be opened or read.
std::optional<std::string> readWholeFile(const std::filesystem::path& file);

// Creates or truncates the file and writes the text. With syncToDisk the
// bytes are on the disk when Ok is returned, which a following rename needs
// to be safe against a power cut.
WriteStatus writeWholeFile(const std::filesystem::path& file, const std::string& text, bool syncToDisk = false);

}  // namespace rallinox
