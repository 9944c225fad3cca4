#include "ui/editor/shortcuts_window.h"

#include <imgui.h>

#include "ui/editor/editor_context.h"
#include "ui/kit/keys.h"
#include "ui/kit/theme.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace {

constexpr const char* kTitle = "Keyboard shortcuts";

struct Shortcut {
    const char* keys;
    const char* description;
};

constexpr Shortcut kShortcuts[] = {
    {"Space", "Play / pause"},
    {"Left / Right", "Back / forward 5 s (with Shift: 1 s)"},
    {"N or Down", "Next rally"},
    {"P or Up", "Previous rally (or the start of this one)"},
    {"I / O", "Start / end of the highlighted rally at the current frame"},
    {"A", "Add a rally at the current frame"},
    {"Delete", "Delete the highlighted rally"},
    {"Ctrl+Z", "Undo"},
    {"Ctrl+Y", "Redo (also Ctrl+Shift+Z)"},
    {"F2", "Rename the highlighted rally"},
    {"Ctrl+E", "Export video"},
    {"Ctrl+O", "New project from a video"},
    {"Ctrl+,", "Settings (from the projects screen)"},
    {"1 / 2", "The team on the left / right won the highlighted rally"},
    {"U", "Next rally without a score"},
    {"0", "Clear the rally's winner"},
    {"S", "A new set starts at the highlighted rally"},
    {"R", "Play the clip that decides the rally (its end or the next serve)"},
    {"M", "Show 5 s more of that clip"},
    {"Esc", "Back to the projects"},
    {"F1", "This list"},
};

void drawTable() {
    if (!ImGui::BeginTable("keys", 2, ImGuiTableFlags_RowBg | ImGuiTableFlags_BordersInnerH)) return;
    ImGui::TableSetupColumn("key", ImGuiTableColumnFlags_WidthFixed, scaled(110));
    ImGui::TableSetupColumn("what", ImGuiTableColumnFlags_WidthStretch);
    for (const Shortcut& shortcut : kShortcuts) {
        ImGui::TableNextRow();
        ImGui::TableNextColumn();
        ImGui::TextColored(colors::kAccent, "%s", shortcut.keys);
        ImGui::TableNextColumn();
        ImGui::TextWrapped("%s", shortcut.description);
    }
    ImGui::EndTable();
}

}  // namespace

void drawShortcutsWindow(EditorContext& editor) {
    if (editor.state.shortcutsRequested) {
        editor.state.shortcutsRequested = false;
        ImGui::OpenPopup(kTitle);
    }
    ImGui::SetNextWindowSize(ImVec2(scaled(560), 0));
    centreNextDialog();
    if (!ImGui::BeginPopupModal(kTitle, nullptr, ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings)) {
        return;
    }
    drawTable();
    ImGui::Spacing();
    if (ImGui::Button("Close", ImVec2(scaled(120), 0)) || keyPressed(Key::Escape)) ImGui::CloseCurrentPopup();
    ImGui::EndPopup();
}

}  // namespace rallinox::ui
