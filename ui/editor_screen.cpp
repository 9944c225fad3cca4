#include "ui/editor_screen.h"

#include <imgui.h>

#include <algorithm>
#include <string>

#include "app/app.h"
#include "ui/check_tab.h"
#include "ui/edit_bar.h"
#include "ui/editor_keys.h"
#include "ui/rally_list.h"
#include "ui/score_tab.h"
#include "ui/shortcuts_window.h"
#include "ui/trim_strip.h"
#include "ui/widgets.h"

namespace rallinox::ui {

namespace {

void drawPlayerColumn(App& app, float width) {
    const float videoHeight = std::max(ImGui::GetContentRegionAvail().y - 170.0f, 120.0f);
    app.playerTexture.update(app.player);
    const float aspect = app.playerTexture.valid()
                             ? float(app.playerTexture.width()) / float(app.playerTexture.height())
                             : 16.0f / 9.0f;
    const float videoWidth = std::min(videoHeight * aspect, width);
    ImGui::SetCursorPosX(ImGui::GetCursorPosX() + (width - videoWidth) * 0.5f);
    if (app.playerTexture.valid()) {
        ImGui::Image(app.playerTexture.id(), ImVec2(videoWidth, videoHeight));
    } else {
        ImGui::Dummy(ImVec2(videoWidth, videoHeight));
    }
    drawTrimStrip(app, width - 4);
    drawEditBar(app);
}

void drawSidePanel(App& app) {
    if (!ImGui::BeginTabBar("side")) return;
    const std::string rallies = "Rallies (" + std::to_string(app.openProject->rallies.size()) + ")###rallies";
    if (ImGui::BeginTabItem(rallies.c_str())) {
        drawRallyList(app);
        ImGui::EndTabItem();
    }
    if (ImGui::BeginTabItem("To check###check")) {
        drawCheckTab(app);
        ImGui::EndTabItem();
    }
    if (ImGui::BeginTabItem("Score###score")) {
        drawScoreTab(app);
        ImGui::EndTabItem();
    }
    ImGui::EndTabBar();
}

}  // namespace

void drawEditorScreen(App& app) {
    if (!app.openProject) {
        app.closeProject();
        return;
    }
    if (ImGui::Button("< Projects")) {
        app.closeProject();
        return;
    }
    ImGui::SameLine();
    largeText(app.openProject->name.c_str(), 1.2f);
    ImGui::Separator();

    const float spacing = ImGui::GetStyle().ItemSpacing.x;
    const float available = ImGui::GetContentRegionAvail().x;
    const float sideWidth = std::max(available * 0.3f, 340.0f);
    const float playerWidth = available - sideWidth - spacing;
    ImGui::BeginChild("player", ImVec2(playerWidth, 0));
    drawPlayerColumn(app, playerWidth);
    ImGui::EndChild();
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
