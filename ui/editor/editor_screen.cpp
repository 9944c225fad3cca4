#include "ui/editor/editor_screen.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "ui/editor/editor_context.h"
#include "edit/playhead_follow.h"
#include "ui/editor/check_tab.h"
#include "ui/editor/deciding_clip.h"
#include "ui/editor/edit_bar.h"
#include "ui/editor/editor_header.h"
#include "ui/editor/editor_keys.h"
#include "ui/editor/player_controls.h"
#include "ui/editor/rally_list.h"
#include "ui/editor/score_tab.h"
#include "ui/editor/shortcuts_window.h"
#include "ui/kit/theme.h"
#include "ui/editor/timeline.h"
#include "ui/editor/trim_strip.h"
#include "ui/editor/video_view.h"
#include "video/preview_player.h"

namespace rallinox::ui {

namespace {

// Highlights the rally under the playhead and, with "Rallies only", skips
// the breaks while playing.
void followPlayhead(EditorContext& editor) {
    if (decidingClipActive(editor)) return;
    PreviewPlayer& player = editor.player;
    const double position = player.position();
    const bool moved = std::abs(position - editor.state.lastPlayerTime) > 0.001;
    editor.state.lastPlayerTime = position;
    const FollowStep step =
        rallinox::followPlayhead(editor.project.rallies, position, moved, player.playing(), editor.state.ralliesOnly);
    if (step.highlightId != 0) editor.selectedRallyId = step.highlightId;
    if (step.seekToSec >= 0) player.seek(step.seekToSec);
    if (step.pause) player.pause();
}

void drawPlayerColumn(EditorContext& editor, float width) {
    // The controls under the video take what they took in the last frame:
    // more when a narrow window wraps them onto more lines.
    ImGuiStorage* storage = ImGui::GetStateStorage();
    const ImGuiID controlsKey = ImGui::GetID("controlsHeight");
    const float controlsHeight = storage->GetFloat(controlsKey, scaled(170));
    const float videoHeight = std::max(ImGui::GetContentRegionAvail().y - controlsHeight, scaled(120));
    drawVideoView(editor, width, videoHeight);
    const float controlsTop = ImGui::GetCursorPosY();
    drawTimeline(editor, width - 4);
    drawTrimStrip(editor, width - 4);
    drawPlayerControls(editor);
    drawEditBar(editor);
    storage->SetFloat(controlsKey, ImGui::GetCursorPosY() - controlsTop);
}

void drawSidePanel(EditorContext& editor) {
    if (!ImGui::BeginTabBar("side")) return;
    const Project& project = editor.project;
    const std::string rallies = "Rallies (" + std::to_string(project.rallies.size()) + ")###rallies";
    if (ImGui::BeginTabItem(rallies.c_str())) {
        drawRallyList(editor);
        ImGui::EndTabItem();
    }
    if (ImGui::BeginTabItem(checkTabTitle(editor).c_str())) {
        drawCheckTab(editor);
        ImGui::EndTabItem();
    }
    // Scoring from the keyboard brings the Score tab to the front.
    const ImGuiTabItemFlags scoreFlags = editor.state.scoreTab.bringToFront ? ImGuiTabItemFlags_SetSelected : 0;
    editor.state.scoreTab.bringToFront = false;
    if (ImGui::BeginTabItem("Score###score", nullptr, scoreFlags)) {
        drawScoreTab(editor);
        ImGui::EndTabItem();
    }
    ImGui::EndTabBar();
}

}  // namespace

void drawEditorScreen(EditorContext& editor) {
    updateHintReview(editor);
    updateDecidingClip(editor);
    followPlayhead(editor);
    if (!drawEditorHeader(editor)) return;
    drawFiguresRow(editor);
    ImGui::Separator();

    const float spacing = ImGui::GetStyle().ItemSpacing.x;
    const float available = ImGui::GetContentRegionAvail().x;
    const float sideWidth =
        std::max({available * 0.3f, scaled(340), rallyListMinimumWidth(editor.project.rallies)});
    const float playerWidth = available - sideWidth - spacing;
    // The timeline and the trim strip bring their own dark ground.
    ImGui::PushStyleColor(ImGuiCol_ChildBg, colors::kTransparent);
    ImGui::BeginChild("player", ImVec2(playerWidth, 0));
    drawPlayerColumn(editor, ImGui::GetContentRegionAvail().x);
    ImGui::EndChild();
    ImGui::PopStyleColor();
    ImGui::SameLine();
    ImGui::BeginChild("rallies", ImVec2(0, 0), true);
    drawSidePanel(editor);
    ImGui::EndChild();

    drawShortcutsWindow(editor);
    handleEditorKeys(editor);
    if (editor.state.saveAtFrameEnd) {
        editor.state.saveAtFrameEnd = false;
        editor.actions.saveOpenProject();
    }
}

}  // namespace rallinox::ui
