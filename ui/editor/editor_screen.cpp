#include "ui/editor/editor_screen.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "app/shell/app.h"
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

namespace rallinox::ui {

namespace {

// Highlights the rally under the playhead and, with "Rallies only", skips
// the breaks while playing.
void followPlayhead(App& app) {
    if (decidingClipActive(app)) return;
    PreviewPlayer& player = app.player;
    const double position = player.position();
    const bool moved = std::abs(position - app.editor.lastPlayerTime) > 0.001;
    app.editor.lastPlayerTime = position;
    const FollowStep step =
        rallinox::followPlayhead(app.openProject->rallies, position, moved, player.playing(), app.editor.ralliesOnly);
    if (step.highlightId != 0) app.selectedRallyId = step.highlightId;
    if (step.seekToSec >= 0) player.seek(step.seekToSec);
    if (step.pause) player.pause();
}

void drawPlayerColumn(App& app, float width) {
    const float videoHeight = std::max(ImGui::GetContentRegionAvail().y - scaled(170), scaled(120));
    drawVideoView(app, width, videoHeight);
    drawTimeline(app, width - 4);
    drawTrimStrip(app, width - 4);
    drawPlayerControls(app);
    drawEditBar(app);
}

void drawSidePanel(App& app) {
    if (!ImGui::BeginTabBar("side")) return;
    const Project& project = *app.openProject;
    const std::string rallies = "Rallies (" + std::to_string(project.rallies.size()) + ")###rallies";
    if (ImGui::BeginTabItem(rallies.c_str())) {
        drawRallyList(app);
        ImGui::EndTabItem();
    }
    if (ImGui::BeginTabItem(checkTabTitle(app).c_str())) {
        drawCheckTab(app);
        ImGui::EndTabItem();
    }
    // Scoring from the keyboard brings the Score tab to the front.
    const ImGuiTabItemFlags scoreFlags = app.editor.showScoreTab ? ImGuiTabItemFlags_SetSelected : 0;
    app.editor.showScoreTab = false;
    if (ImGui::BeginTabItem("Score###score", nullptr, scoreFlags)) {
        drawScoreTab(app);
        ImGui::EndTabItem();
    }
    ImGui::EndTabBar();
}

}  // namespace

void drawEditorScreen(App& app) {
    if (!app.openProject) {
        app.screen = Screen::projects;
        return;
    }
    updateHintReview(app);
    updateDecidingClip(app);
    followPlayhead(app);
    if (!drawEditorHeader(app)) return;
    drawFiguresRow(app);
    ImGui::Separator();

    const float spacing = ImGui::GetStyle().ItemSpacing.x;
    const float available = ImGui::GetContentRegionAvail().x;
    const float playerWidth = available - std::max(available * 0.3f, scaled(340)) - spacing;
    // The timeline and the trim strip bring their own dark ground.
    ImGui::PushStyleColor(ImGuiCol_ChildBg, ImVec4(0, 0, 0, 0));
    ImGui::BeginChild("player", ImVec2(playerWidth, 0));
    drawPlayerColumn(app, ImGui::GetContentRegionAvail().x);
    ImGui::EndChild();
    ImGui::PopStyleColor();
    ImGui::SameLine();
    ImGui::BeginChild("rallies", ImVec2(0, 0), true);
    drawSidePanel(app);
    ImGui::EndChild();

    drawShortcutsWindow(app);
    handleEditorKeys(app);
    if (app.editor.saveAtFrameEnd) {
        app.editor.saveAtFrameEnd = false;
        app.saveOpenProject();
    }
}

}  // namespace rallinox::ui
