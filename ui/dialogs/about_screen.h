// The about screen: version, the log folder and the notices of the
// software Rallinox is built with.
#pragma once

#include <filesystem>
#include <string>

namespace rallinox {
class App;
}

namespace rallinox::ui {

// THIRD_PARTY_NOTICES.md from the program's folder, or the sentence that
// says it is missing.
std::string readThirdPartyNotices(const std::filesystem::path& appDir);

void drawAboutScreen(App& app);

}  // namespace rallinox::ui
