// The about screen: version, the log folder and the notices of the
// software Rallinox is built with.
#pragma once

#include <filesystem>
#include <string>

namespace rallinox {
struct DataPaths;
}

namespace rallinox::ui {

class AppActions;

// THIRD_PARTY_NOTICES.md from the program's folder, or the sentence that
// says it is missing.
std::string readThirdPartyNotices(const std::filesystem::path& appDir);

void drawAboutScreen(const DataPaths& paths, AppActions& actions);

}  // namespace rallinox::ui
