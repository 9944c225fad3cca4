#include "ui/editor/player_controls.h"

#include <imgui.h>

#include "app/shell/app.h"
#include "ui/editor/editor_keys.h"
#include "ui/kit/theme.h"
#include "app/core/time_format.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace {

constexpr double kJumpSec = 5.0;

}  // namespace

void togglePlayback(App& app) {
    if (app.player.playing()) {
        app.player.pause();
    } else {
        app.player.play();
    }
}

void drawPlayerControls(App& app) {
    PreviewPlayer& player = app.player;
    EditorState& state = app.editor;
    if (ImGui::Button("< Prev")) goToPreviousRally(app);
    hoverTip("Previous rally  [P or Up]");
    ImGui::SameLine();
    if (accentButton(player.playing() ? "Pause" : "Play", ImVec2(scaled(80), 0))) togglePlayback(app);
    hoverTip("Play / pause  [Space]");
    ImGui::SameLine();
    if (ImGui::Button("Next >")) goToNextRally(app);
    hoverTip("Next rally  [N or Down]");
    ImGui::SameLine();
    if (ImGui::Button("-5s")) player.seek(player.position() - kJumpSec);
    ImGui::SameLine();
    if (ImGui::Button("+5s")) player.seek(player.position() + kJumpSec);
    ImGui::SameLine();
    ImGui::Text("%s / %s", formatClock(player.position()).c_str(), formatClock(player.duration()).c_str());
    ImGui::SameLine();
    ImGui::Checkbox("Rallies only", &state.ralliesOnly);
    hoverTip("Skip the time between rallies while playing");
    ImGui::SameLine();
    if (ImGui::Checkbox("Sound", &state.sound)) player.setMuted(!state.sound);
    ImGui::SameLine();
    ImGui::SetNextItemWidth(scaled(80));
    if (ImGui::Combo("##speed", &state.speedIndex, kPlaybackSpeedNames, IM_ARRAYSIZE(kPlaybackSpeedNames))) {
        player.setRate(kPlaybackSpeeds[state.speedIndex]);
    }
    hoverTip("Playback speed");
    ImGui::SameLine();
    if (ImGui::Button("Shortcuts")) state.shortcutsRequested = true;
    hoverTip("Keyboard shortcuts  [F1]");
}

}  // namespace rallinox::ui
