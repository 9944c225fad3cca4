#include "ui/dialogs/about_screen.h"

#include <imgui.h>

#include "app/core/data_paths.h"
#include "app/core/file_io.h"
#include "app/core/version.h"
#include "ui/kit/app_actions.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

std::string readThirdPartyNotices(const std::filesystem::path& appDir) {
    std::optional<std::string> notices = readWholeFile(appDir / "THIRD_PARTY_NOTICES.md");
    if (!notices || notices->empty()) return "THIRD_PARTY_NOTICES.md is missing from the app folder.";
    return *notices;
}

void drawAboutScreen(const DataPaths& paths, AppActions& actions) {
    if (screenHeader("About Rallinox", true)) {
        actions.saveSettings();
        actions.setScreen(Screen::Projects);
        return;
    }
    ImGui::Text("Rallinox for Linux  %s", kAppVersion);
    mutedText("Finds the rallies in a volleyball match video and cuts out the rest. Runs fully on this PC.");
    ImGui::Spacing();
    if (ImGui::Button("Open log folder")) actions.openWithDesktop(paths.dataDir.string());
    hoverTip("Attach rallinox.log when you report a problem");
    sectionTitle("Third-party software");
    // Read once per run: a file added later shows after a restart.
    static const std::string notices = readThirdPartyNotices(paths.appDir);
    ImGui::BeginChild("notices", ImVec2(0, 0), true);
    ImGui::TextUnformatted(notices.c_str(), notices.c_str() + notices.size());
    ImGui::EndChild();
}

}  // namespace rallinox::ui
