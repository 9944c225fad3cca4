// File-name patterns of the file dialogs ("*.mp4") and the default extension.
#pragma once

#include <string>
#include <vector>

namespace rallinox::ui {

// "*" and "*.*" match everything, "*.mp4" names ending in ".mp4" in any
// letter case; anything else must equal the name (ignoring case).
bool matchesPattern(const std::string& name, const std::string& pattern);

// "*.mp4;*.mov" as single patterns; empty parts are dropped.
std::vector<std::string> splitPatterns(const std::string& patterns);

// The path with ".<extension>" added when its file name has no extension.
std::string withDefaultExtension(const std::string& path, const std::string& extension);

}  // namespace rallinox::ui
