#include "ui/projects/analysis_pill.h"

#include <imgui.h>

#include <algorithm>

#include "app/shell/app.h"
#include "ui/kit/theme.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace {

std::string projectName(const App& app, const std::string& id) {
    const auto it = std::find_if(app.projects.begin(), app.projects.end(), [&](const Project& p) { return p.id == id; });
    return it != app.projects.end() ? it->name : id;
}

}  // namespace

void drawAnalysisPill(const App& app) {
    const AnalysisJob* job = app.jobs.analysisJob.get();
    if (!job || app.screen == Screen::projects) return;
    const float fraction = job->progress.fraction.load();
    const ImGuiViewport* viewport = ImGui::GetMainViewport();
    const ImVec2 corner{viewport->Pos.x + viewport->Size.x - scaled(16), viewport->Pos.y + viewport->Size.y - scaled(16)};
    ImGui::SetNextWindowPos(corner, ImGuiCond_Always, ImVec2(1.0f, 1.0f));
    ImGui::SetNextWindowBgAlpha(0.92f);
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_AlwaysAutoResize |
                                   ImGuiWindowFlags_NoFocusOnAppearing | ImGuiWindowFlags_NoNav |
                                   ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoMove;
    if (ImGui::Begin("##jobpill", nullptr, flags)) {
        ImGui::Text("Analysing %s  %d%%", projectName(app, job->projectId).c_str(), static_cast<int>(fraction * 100));
        ImGui::ProgressBar(fraction, ImVec2(scaled(220), scaled(6)), "");
        if (ImGui::IsWindowHovered()) ImGui::SetTooltip("Runs in the background. See or cancel it on the projects screen.");
    }
    ImGui::End();
}

}  // namespace rallinox::ui
