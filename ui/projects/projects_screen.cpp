#include "ui/projects/projects_screen.h"

#include <imgui.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/core/project.h"
#include "ui/kit/file_dialogs.h"
#include "ui/projects/drop_zone.h"
#include "ui/kit/keys.h"
#include "ui/projects/project_card.h"
#include "ui/projects/project_card_text.h"
#include "ui/kit/theme.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace {

constexpr size_t kProjectsForFilter = 6;
constexpr const char* kDeleteTitle = "Delete project?";

// Kept for the run, not saved.
struct ScreenState {
    char filter[64] = "";
    std::string pendingDelete;
};

ScreenState& screenState() {
    static ScreenState state;
    return state;
}

void chooseVideo(ProjectsContext& screen) {
    AppActions& actions = screen.actions;
    screen.fileDialogs.chooseVideoFile([&actions](const std::string& path) { actions.newProjectFromVideo(path); });
}

void drawHeader(ProjectsContext& screen) {
    largeText("Rallinox", 1.6f);
    const float buttons = scaled(100) * 2 + ImGui::GetStyle().ItemSpacing.x;
    ImGui::SameLine(ImGui::GetWindowContentRegionMax().x - buttons);
    if (ImGui::Button("Settings", ImVec2(scaled(100), 0))) screen.actions.setScreen(Screen::Settings);
    hoverTip("Settings  [Ctrl+,]");
    ImGui::SameLine();
    if (ImGui::Button("About", ImVec2(scaled(100), 0))) screen.actions.setScreen(Screen::About);

    mutedText("Cut a full volleyball match down to the rallies.");
    ImGui::Spacing();
    if (accentButton("+  New project from a video...", ImVec2(scaled(320), scaled(44)))) chooseVideo(screen);
    hoverTip("Choose a match video  [Ctrl+O]");
    ImGui::SameLine();
    ImGui::SetCursorPosY(ImGui::GetCursorPosY() + (scaled(44) - ImGui::GetTextLineHeight()) * 0.5f);
    mutedText("or drop a video file anywhere on this window");
    ImGui::Spacing();
    ImGui::Separator();
}

void drawFilter(const ProjectsContext& screen, ScreenState& state) {
    if (screen.projects.size() < kProjectsForFilter) {
        state.filter[0] = '\0';
        return;
    }
    ImGui::SetNextItemWidth(scaled(320));
    ImGui::InputTextWithHint("##filter", "Search projects by name", state.filter, sizeof state.filter);
    ImGui::SameLine();
    mutedText("%zu projects", screen.projects.size());
}

void drawCards(ProjectsContext& screen, ScreenState& state) {
    // The cards stand out on the window's own background.
    ImGui::PushStyleColor(ImGuiCol_ChildBg, colors::kTransparent);
    ImGui::BeginChild("list");
    ImGui::PopStyleColor();
    // A card's buttons can read the project list again; the cards are drawn
    // from a copy so that the list can change under them.
    const std::vector<Project> shown = screen.projects;
    bool anyDrawn = false;
    for (const Project& project : shown) {
        if (!nameMatchesFilter(project.name, state.filter)) continue;
        drawProjectCard(screen, project, state.pendingDelete);
        anyDrawn = true;
    }
    if (!anyDrawn) ImGui::Text("No project name contains \"%s\".", state.filter);
    ImGui::EndChild();
}

void drawDeleteConfirmation(ProjectsContext& screen, ScreenState& state) {
    if (state.pendingDelete.empty()) return;
    if (!ImGui::IsPopupOpen(kDeleteTitle)) ImGui::OpenPopup(kDeleteTitle);
    ImGui::SetNextWindowSize(ImVec2(scaled(420), 0));
    centreNextDialog();
    if (!ImGui::BeginPopupModal(kDeleteTitle, nullptr, ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings)) {
        return;
    }
    const auto project = std::find_if(screen.projects.begin(), screen.projects.end(),
                                      [&](const Project& listed) { return listed.id == state.pendingDelete; });
    const std::string name = project != screen.projects.end() ? project->name : state.pendingDelete;
    ImGui::TextWrapped("%s", deleteProjectQuestion(name).c_str());
    ImGui::Separator();
    if (dangerButton("Delete", ImVec2(scaled(120), 0))) {
        screen.actions.deleteProject(state.pendingDelete);
        state.pendingDelete.clear();
        ImGui::CloseCurrentPopup();
    }
    ImGui::SameLine();
    if (ImGui::Button("Keep", ImVec2(scaled(120), 0)) || keyPressed(Key::Escape)) {
        state.pendingDelete.clear();
        ImGui::CloseCurrentPopup();
    }
    ImGui::EndPopup();
}

}  // namespace

void drawProjectsScreen(ProjectsContext& screen) {
    ScreenState& state = screenState();
    drawHeader(screen);
    if (screen.projects.empty()) {
        if (drawDropZone()) chooseVideo(screen);
    } else {
        drawFilter(screen, state);
        drawCards(screen, state);
    }
    drawDeleteConfirmation(screen, state);
}

}  // namespace rallinox::ui
