#include "ui/editor/editor_header.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "app/shell/app.h"
#include "edit/rally_stats.h"
#include "platform/backend.h"
#include "ui/dialogs/export_dialog.h"
#include "ui/kit/keys.h"
#include "ui/kit/theme.h"
#include "app/core/time_format.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace {

constexpr const char* kAnalyseAgainTitle = "Analyse again?";

void drawProjectName(App& app) {
    EditorState& state = app.editor;
    Project& project = *app.openProject;
    if (!state.editingProjectName) {
        largeText(project.name.c_str(), 1.2f);
        hoverTip("Double-click to rename the project");
        if (ImGui::IsItemHovered() && ImGui::IsMouseDoubleClicked(ImGuiMouseButton_Left)) {
            std::snprintf(state.projectName, sizeof state.projectName, "%s", project.name.c_str());
            state.editingProjectName = true;
            state.focusProjectName = true;
        }
        return;
    }
    if (state.focusProjectName) {
        ImGui::SetKeyboardFocusHere();
        state.focusProjectName = false;
    }
    ImGui::SetNextItemWidth(scaled(360));
    const bool entered = ImGui::InputText("##projname", state.projectName, sizeof state.projectName,
                                          ImGuiInputTextFlags_AutoSelectAll | ImGuiInputTextFlags_EnterReturnsTrue);
    if (ImGui::IsItemActive() && keyPressed(Key::Escape)) {
        state.editingProjectName = false;
        return;
    }
    if (!entered && !ImGui::IsItemDeactivated()) return;
    state.editingProjectName = false;
    const std::string name = state.projectName;
    if (name.empty() || name == project.name) return;
    project.name = name;
    app.saveOpenProject();
    app.window.setTitle(name + "  -  Rallinox");
}

void figure(const std::string& value, const char* caption, float minWidth) {
    ImGui::BeginGroup();
    ImGui::PushStyleColor(ImGuiCol_Text, colors::kAccent);
    largeText(value.c_str(), 1.3f);
    ImGui::PopStyleColor();
    mutedText("%s", caption);
    const float drawn = ImGui::GetItemRectMax().x - ImGui::GetItemRectMin().x;
    if (drawn < scaled(minWidth)) {
        ImGui::SameLine(0, 0);
        ImGui::Dummy(ImVec2(scaled(minWidth) - drawn, 0));
    }
    ImGui::EndGroup();
    ImGui::SameLine();
}

}  // namespace

bool drawEditorHeader(App& app) {
    if (ImGui::Button("< Projects")) {
        app.closeProject();
        return false;
    }
    ImGui::SameLine();
    drawProjectName(app);
    ImGui::SameLine(ImGui::GetWindowContentRegionMax().x - scaled(360));
    if (ImGui::Button("Analyse again", ImVec2(scaled(150), 0))) {
        if (app.jobs.analysisJob) {
            app.showError(kAnotherAnalysisMessage);
        } else {
            ImGui::OpenPopup(kAnalyseAgainTitle);
        }
    }
    hoverTip("Run the analysis again with the paddings from Settings. Your edits are replaced.");
    drawAnalyseAgainDialog(app);
    if (!app.openProject) return false;
    ImGui::SameLine();
    ImGui::BeginDisabled(app.jobs.exportJob != nullptr);
    if (accentButton("Export video...", ImVec2(scaled(170), 0))) openExportDialog(app);
    ImGui::EndDisabled();
    hoverTip("Save the rallies as one video  [Ctrl+E]");
    return true;
}

void drawAnalyseAgainDialog(App& app) {
    ImGui::SetNextWindowSize(ImVec2(scaled(460), 0));
    ImGui::SetNextWindowPos(ImGui::GetMainViewport()->GetCenter(), ImGuiCond_Appearing, ImVec2(0.5f, 0.5f));
    if (!ImGui::BeginPopupModal(kAnalyseAgainTitle, nullptr,
                                ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings)) {
        return;
    }
    ImGui::TextWrapped(
        "The rallies are found again with the paddings from Settings (%.1f s before, %.1f s after). Your edits, "
        "names and answers in \"To check\" are replaced.",
        app.settings.startPaddingSec, app.settings.endPaddingSec);
    ImGui::Separator();
    if (accentButton("Analyse again", ImVec2(scaled(150), 0))) {
        Project copy = *app.openProject;
        copy.settings = {app.settings.startPaddingSec, app.settings.endPaddingSec, app.settings.minRallySec};
        ImGui::CloseCurrentPopup();
        app.closeProject();
        app.startAnalysis(copy);
        app.reloadProjects();
    }
    ImGui::SameLine();
    if (ImGui::Button("Keep my edits", ImVec2(scaled(150), 0)) || keyPressed(Key::Escape)) {
        ImGui::CloseCurrentPopup();
    }
    ImGui::EndPopup();
}

void drawFiguresRow(App& app) {
    const Project& project = *app.openProject;
    const RallyStats stats = rallyStats(project.rallies, project.videoDurationSec);
    figure(std::to_string(stats.count), "rallies", 110);
    figure(formatClock(stats.totalSec), "play time", 120);
    figure(std::to_string(int(std::lround(stats.share * 100))) + "%", "of the video", 120);
    figure(formatDuration(stats.averageSec), "average rally", 130);
    figure(formatDuration(stats.longestSec), "longest rally", 130);
    figure(formatClock(stats.cutOutSec), "cut out", 110);
    ImGui::NewLine();
    if (project.stats.totalSec > 0) {
        mutedText("Analysed in %s (%.1fx real time)  -  finding the ball: %.0f frames/s, %s decoding",
                  formatDuration(project.stats.totalSec).c_str(), project.stats.realtimeX, project.stats.stage1Fps,
                  project.stats.decoder.c_str());
    }
}

}  // namespace rallinox::ui
