#include "ui/dialogs/locate_video_dialog.h"

#include <imgui.h>

#include "app/core/project_store.h"
#include "app/jobs/project_flows.h"
#include "ui/kit/app_actions.h"
#include "ui/kit/file_dialogs.h"
#include "ui/kit/keys.h"
#include "ui/kit/theme.h"
#include "ui/kit/widgets.h"
#include "video/probe.h"

namespace rallinox::ui {

namespace {

constexpr const char* kTitle = "Where is the video?";

void useChosenVideo(ProjectStore& store, AppActions& actions, const std::string& id, const std::string& path) {
    if (std::string error; !checkIsVideoFile(path, error)) {
        actions.showError(error);
        return;
    }
    if (!relocateVideo(store, id, path)) return;
    actions.reloadProjects();
    actions.openProjectById(id);
}

}  // namespace

void drawLocateVideoDialog(std::string& request, ProjectStore& store, FileDialogs& fileDialogs, AppActions& actions) {
    // The file dialog is a window of its own; this one waits behind it and
    // comes back when the choice was cancelled.
    if (fileDialogs.isOpen()) return;
    if (!ImGui::IsPopupOpen(kTitle)) ImGui::OpenPopup(kTitle);
    ImGui::SetNextWindowSize(ImVec2(scaled(520), 0));
    centreNextDialog();
    if (!ImGui::BeginPopupModal(kTitle, nullptr, ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings)) return;

    const std::string id = request;
    const std::optional<Project> project = store.load(id);
    ImGui::TextUnformatted("The video of this project is not where it was:");
    ImGui::TextWrapped("%s", project ? project->videoPath.c_str() : "");
    ImGui::TextWrapped("If you moved or renamed it, show Rallinox where it is now. Your rallies and edits are kept.");
    ImGui::Separator();
    if (accentButton("Locate the video...", ImVec2(scaled(190), 0))) {
        ImGui::CloseCurrentPopup();
        fileDialogs.chooseVideoFile([&request, &store, &actions, id](const std::string& path) {
            request.clear();
            useChosenVideo(store, actions, id, path);
        });
    }
    ImGui::SameLine();
    if (ImGui::Button("Cancel", ImVec2(scaled(120), 0)) || keyPressed(Key::Escape)) {
        request.clear();
        ImGui::CloseCurrentPopup();
    }
    ImGui::EndPopup();
}

}  // namespace rallinox::ui
