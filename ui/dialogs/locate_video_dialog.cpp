#include "ui/dialogs/locate_video_dialog.h"

#include <imgui.h>

#include "app/shell/app.h"
#include "app/jobs/project_flows.h"
#include "ui/kit/keys.h"
#include "ui/kit/theme.h"
#include "ui/kit/widgets.h"
#include "video/probe.h"

namespace rallinox::ui {

namespace {

constexpr const char* kTitle = "Where is the video?";

void useChosenVideo(App& app, const std::string& id, const std::string& path) {
    app.locateRequest.clear();
    if (std::string error; !checkIsVideoFile(path, error)) {
        app.showError(error);
        return;
    }
    if (!relocateVideo(app.store, id, path)) return;
    app.reloadProjects();
    app.openProjectById(id);
}

}  // namespace

void drawLocateVideoDialog(App& app) {
    // The file dialog is a window of its own; this one waits behind it and
    // comes back when the choice was cancelled.
    if (app.fileDialogs.isOpen()) return;
    if (!ImGui::IsPopupOpen(kTitle)) ImGui::OpenPopup(kTitle);
    ImGui::SetNextWindowSize(ImVec2(scaled(520), 0));
    ImGui::SetNextWindowPos(ImGui::GetMainViewport()->GetCenter(), ImGuiCond_Appearing, ImVec2(0.5f, 0.5f));
    if (!ImGui::BeginPopupModal(kTitle, nullptr, ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings)) return;

    const std::string id = app.locateRequest;
    const std::optional<Project> project = app.store.load(id);
    ImGui::TextUnformatted("The video of this project is not where it was:");
    ImGui::TextWrapped("%s", project ? project->videoPath.c_str() : "");
    ImGui::TextWrapped("If you moved or renamed it, show Rallinox where it is now. Your rallies and edits are kept.");
    ImGui::Separator();
    if (accentButton("Locate the video...", ImVec2(scaled(190), 0))) {
        ImGui::CloseCurrentPopup();
        app.fileDialogs.chooseVideoFile([&app, id](const std::string& path) { useChosenVideo(app, id, path); });
    }
    ImGui::SameLine();
    if (ImGui::Button("Cancel", ImVec2(scaled(120), 0)) || keyPressed(Key::Escape)) {
        app.locateRequest.clear();
        ImGui::CloseCurrentPopup();
    }
    ImGui::EndPopup();
}

}  // namespace rallinox::ui
