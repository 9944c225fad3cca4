#include "ui/projects_screen.h"

#include <imgui.h>

#include <algorithm>

#include "app/app.h"
#include "ui/drop_zone.h"
#include "ui/theme.h"
#include "ui/widgets.h"

namespace rallinox::ui {

namespace {

void chooseVideo(App& app) {
    app.fileDialogs.chooseVideoFile([&app](const std::string& path) { app.newProjectFromVideo(path); });
}

void drawHeader(App& app) {
    largeText("Rallinox", 1.6f);
    mutedText("Cut a full volleyball match down to the rallies.");
    ImGui::Spacing();
    if (accentButton("+  New project from a video...", ImVec2(scaled(320), scaled(44)))) chooseVideo(app);
    hoverTip("Choose a match video  [Ctrl+O]");
    ImGui::SameLine();
    ImGui::SetCursorPosY(ImGui::GetCursorPosY() + (scaled(44) - ImGui::GetTextLineHeight()) * 0.5f);
    mutedText("or drop a video file anywhere on this window");
    ImGui::Spacing();
    ImGui::Separator();
}

void drawProjectNames(const App& app) {
    ImGui::BeginChild("list");
    for (const Project& project : app.projects) {
        ImGui::PushID(project.id.c_str());
        ImGui::TextUnformatted(project.name.c_str());
        ImGui::PopID();
    }
    ImGui::EndChild();
}

}  // namespace

void drawProjectsScreen(App& app) {
    drawHeader(app);
    if (app.projects.empty()) {
        if (drawDropZone()) chooseVideo(app);
        return;
    }
    drawProjectNames(app);
}

}  // namespace rallinox::ui
