#include "ui/projects/analysis_pill.h"

#include <imgui.h>

#include <algorithm>

#include "app/core/project.h"
#include "ui/kit/app_actions.h"
#include "ui/kit/theme.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace {

std::string projectName(const std::vector<Project>& projects, const std::string& id) {
    const auto it = std::find_if(projects.begin(), projects.end(), [&](const Project& p) { return p.id == id; });
    return it != projects.end() ? it->name : id;
}

}  // namespace

void drawAnalysisPill(const AnalysisView& analysis, const std::vector<Project>& projects) {
    const float fraction = analysis.fraction;
    const ImGuiViewport* viewport = ImGui::GetMainViewport();
    const ImVec2 corner{viewport->Pos.x + viewport->Size.x - scaled(16), viewport->Pos.y + viewport->Size.y - scaled(16)};
    ImGui::SetNextWindowPos(corner, ImGuiCond_Always, ImVec2(1.0f, 1.0f));
    ImGui::SetNextWindowBgAlpha(0.92f);
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_AlwaysAutoResize |
                                   ImGuiWindowFlags_NoFocusOnAppearing | ImGuiWindowFlags_NoNav |
                                   ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoMove;
    if (ImGui::Begin("##jobpill", nullptr, flags)) {
        const std::string name = projectName(projects, analysis.projectId);
        ImGui::Text("Analysing %s  %d%%", name.c_str(), static_cast<int>(fraction * 100));
        ImGui::ProgressBar(fraction, ImVec2(scaled(220), scaled(6)), "");
        if (ImGui::IsWindowHovered()) ImGui::SetTooltip("Runs in the background. See or cancel it on the projects screen.");
    }
    ImGui::End();
}

}  // namespace rallinox::ui
