#include "ui/editor/editor_header.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "edit/rally_queries.h"
#include "ui/editor/editor_context.h"
#include "ui/dialogs/export_dialog.h"
#include "ui/editor/editor_texts.h"
#include "ui/kit/keys.h"
#include "ui/kit/theme.h"
#include "app/core/time_format.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace {

constexpr const char* kAnalyseAgainTitle = "Analyse again?";
// "Analyse again" and "Export video..." stand this far from the right edge.
constexpr float kRightButtons = 360;

void drawProjectName(EditorContext& editor) {
    EditorState& state = editor.state;
    Project& project = editor.project;
    if (!state.editingProjectName) {
        // A long name stops short of the buttons on the right.
        ImGui::SetWindowFontScale(1.2f);
        {
            FittedLine name(ImGui::GetWindowPos().x + ImGui::GetWindowContentRegionMax().x - scaled(kRightButtons) -
                            ImGui::GetStyle().ItemSpacing.x);
            name.text(project.name);
        }
        ImGui::SetWindowFontScale(1.0f);
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
    editor.actions.saveOpenProject();
    editor.actions.setWindowTitle(name + "  -  Rallinox");
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

bool drawEditorHeader(EditorContext& editor) {
    if (ImGui::Button("< Projects")) {
        editor.actions.closeProject();
        return false;
    }
    ImGui::SameLine();
    drawProjectName(editor);
    ImGui::SameLine(ImGui::GetWindowContentRegionMax().x - scaled(kRightButtons));
    if (ImGui::Button("Analyse again", ImVec2(scaled(150), 0))) {
        if (editor.analysing) {
            // Another analysis runs: the request is refused at once, with its message.
            editor.actions.startAnalysis(editor.project);
        } else {
            ImGui::OpenPopup(kAnalyseAgainTitle);
        }
    }
    hoverTip("Run the analysis again with the paddings from Settings. Your edits and scores are replaced.");
    if (drawAnalyseAgainDialog(editor)) return false;
    ImGui::SameLine();
    ImGui::BeginDisabled(editor.exporting);
    if (accentButton("Export video...", ImVec2(scaled(170), 0))) openExportDialog(editor.selectedRallyId);
    ImGui::EndDisabled();
    hoverTip("Save the rallies as one video  [Ctrl+E]");
    return true;
}

bool drawAnalyseAgainDialog(EditorContext& editor) {
    ImGui::SetNextWindowSize(ImVec2(scaled(460), 0));
    centreNextDialog();
    if (!ImGui::BeginPopupModal(kAnalyseAgainTitle, nullptr,
                                ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings)) {
        return false;
    }
    ImGui::TextWrapped("%s",
                       analyseAgainQuestion(editor.settings.startPaddingSec, editor.settings.endPaddingSec).c_str());
    ImGui::Separator();
    bool closed = false;
    if (accentButton("Analyse again", ImVec2(scaled(150), 0))) {
        Project copy = editor.project;
        copy.settings = {editor.settings.startPaddingSec, editor.settings.endPaddingSec, editor.settings.minRallySec};
        ImGui::CloseCurrentPopup();
        editor.actions.closeProject();
        editor.actions.startAnalysis(copy);
        editor.actions.reloadProjects();
        closed = true;
    }
    ImGui::SameLine();
    if (ImGui::Button("Keep my edits", ImVec2(scaled(150), 0)) || keyPressed(Key::Escape)) {
        ImGui::CloseCurrentPopup();
    }
    ImGui::EndPopup();
    return closed;
}

void drawFiguresRow(EditorContext& editor) {
    const Project& project = editor.project;
    const RallyStats stats = rallyStats(project.rallies, project.videoDurationSec);
    figure(std::to_string(stats.count), rallyNoun(stats.count), 110);
    figure(formatClock(stats.totalSec), "play time", 120);
    figure(std::to_string(int(std::lround(stats.share * 100))) + "%", "of the video", 120);
    figure(formatDuration(stats.averageSec), "average rally", 130);
    figure(formatDuration(stats.longestSec), "longest rally", 130);
    figure(formatClock(stats.cutOutSec), "cut out", 110);
    ImGui::NewLine();
    if (project.stats.totalSec > 0) {
        char line[256];
        std::snprintf(line, sizeof line,
                      "Analysed in %s (%.1fx real time)  -  finding the ball: %.0f frames/s, %s decoding",
                      formatDuration(project.stats.totalSec).c_str(), project.stats.realtimeX, project.stats.stage1Fps,
                      project.stats.decoder.c_str());
        FittedLine figures;
        figures.text(line, &colors::kMutedText);
    }
}

}  // namespace rallinox::ui
