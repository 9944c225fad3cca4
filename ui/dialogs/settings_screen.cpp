#include "ui/dialogs/settings_screen.h"

#include <imgui.h>

#include <filesystem>

#include "app/core/data_paths.h"
#include "app/core/settings.h"
#include "ui/kit/app_actions.h"
#include "ui/kit/file_dialogs.h"
#include "ui/kit/theme.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace {

constexpr float kRallySec = 8;

ImU32 accentWithAlpha(int alpha) {
    ImVec4 color = colors::kAccent;
    color.w = alpha / 255.0f;
    return ImGui::ColorConvertFloat4ToU32(color);
}

// What the paddings do to a rally of 8 seconds.
void drawClipPicture(float before, float after) {
    ImGui::Spacing();
    const float total = before + kRallySec + after;
    const ImVec2 origin = ImGui::GetCursorScreenPos();
    const float width = scaled(420);
    const float height = scaled(22);
    const float rallyLeft = origin.x + width * before / total;
    const float rallyRight = rallyLeft + width * kRallySec / total;
    const float bottom = origin.y + height;
    ImDrawList* draw = ImGui::GetWindowDrawList();
    draw->AddRectFilled(origin, {rallyLeft, bottom}, accentWithAlpha(0x5A), scaled(3));
    draw->AddRectFilled({rallyLeft, origin.y}, {rallyRight, bottom}, accentWithAlpha(0xE6));
    draw->AddRectFilled({rallyRight, origin.y}, {origin.x + width, bottom}, accentWithAlpha(0x5A), scaled(3));
    const ImVec2 label = ImGui::CalcTextSize("the rally");
    draw->AddText({(rallyLeft + rallyRight - label.x) * 0.5f, origin.y + (height - label.y) * 0.5f},
                  colors::kOnAccent, "the rally");
    ImGui::Dummy(ImVec2(width, height));
    mutedText("An 8 s rally becomes a %.1f s clip: %.1f s before, %.1f s after.", total, before, after);
}

// True when a slider moved or the defaults came back.
bool drawRallyDetection(Settings& settings) {
    sectionTitle("Rally detection (applies to the next analysis)");
    float before = static_cast<float>(settings.startPaddingSec);
    float after = static_cast<float>(settings.endPaddingSec);
    float shortest = static_cast<float>(settings.minRallySec);
    bool changed = ImGui::SliderFloat("Time before each rally", &before, 0, 4, "%.1f s");
    mutedText("Keeps the serve preparation in the clip.");
    changed |= ImGui::SliderFloat("Time after each rally", &after, 0, 4, "%.1f s");
    mutedText("Keeps the reaction after the point.");
    changed |= ImGui::SliderFloat("Shortest rally", &shortest, 0.5f, 5, "%.1f s");
    mutedText("Moments of play shorter than this are not counted as rallies.");
    drawClipPicture(before, after);
    if (ImGui::Button("Reset to defaults")) {
        const Settings defaults;
        before = static_cast<float>(defaults.startPaddingSec);
        after = static_cast<float>(defaults.endPaddingSec);
        shortest = static_cast<float>(defaults.minRallySec);
        changed = true;
    }
    settings.startPaddingSec = before;
    settings.endPaddingSec = after;
    settings.minRallySec = shortest;
    return changed;
}

// True when a checkbox changed; a chosen folder is saved when it arrives.
bool drawExport(Settings& settings, const DataPaths& paths, FileDialogs& fileDialogs, AppActions& actions) {
    sectionTitle("Export");
    const std::string shown =
        settings.exportDir.empty() ? paths.defaultExportDir.string() : settings.exportDir;
    mutedText("Save videos in: %s", shown.c_str());
    if (ImGui::Button("Change folder...")) {
        fileDialogs.chooseFolder(shown, [&settings, &actions](const std::string& folder) {
            settings.exportDir = folder;
            actions.saveSettings();
        });
    }
    ImGui::SameLine();
    if (ImGui::Button("Open folder")) {
        std::error_code ignored;
        std::filesystem::create_directories(shown, ignored);
        actions.openWithDesktop(shown);
    }
    bool changed = ImGui::Checkbox("Keep the sound in exported videos", &settings.includeAudio);
    changed |= ImGui::Checkbox("Save an EDL next to each export", &settings.writeEdl);
    mutedText("An EDL lets DaVinci Resolve, Premiere or Final Cut open the cut list on the original video.");
    return changed;
}

void drawStorage(const DataPaths& paths) {
    sectionTitle("Storage");
    mutedText("Esc goes back.");
    mutedText("Projects are kept in %s", paths.projectsDir.string().c_str());
    mutedText("Your videos are never copied or changed.");
}

}  // namespace

void drawSettingsScreen(Settings& settings, const DataPaths& paths, FileDialogs& fileDialogs, AppActions& actions) {
    if (screenHeader("Settings", true)) {
        actions.saveSettings();
        actions.setScreen(Screen::Projects);
        return;
    }
    // A low window scrolls the settings under the header.
    ImGui::PushStyleColor(ImGuiCol_ChildBg, colors::kTransparent);
    ImGui::BeginChild("settings");
    ImGui::PopStyleColor();
    ImGui::PushItemWidth(scaled(320));
    bool changed = drawRallyDetection(settings);
    changed |= drawExport(settings, paths, fileDialogs, actions);
    drawStorage(paths);
    ImGui::PopItemWidth();
    ImGui::EndChild();
    if (changed) actions.saveSettings();
}

}  // namespace rallinox::ui
