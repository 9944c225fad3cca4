#include "ui/editor/player_controls.h"

#include <imgui.h>

#include "ui/editor/editor_context.h"
#include "ui/editor/editor_keys.h"
#include "ui/kit/theme.h"
#include "app/core/time_format.h"
#include "ui/kit/widgets.h"
#include "video/preview_player.h"

namespace rallinox::ui {

namespace {

constexpr double kJumpSec = 5.0;

}  // namespace

void togglePlayback(EditorContext& editor) {
    if (editor.player.playing()) {
        editor.player.pause();
    } else {
        editor.player.play();
    }
}

void drawPlayerControls(EditorContext& editor) {
    PreviewPlayer& player = editor.player;
    EditorState& state = editor.state;
    if (ImGui::Button("< Prev")) goToPreviousRally(editor);
    hoverTip("Previous rally  [P or Up]");
    ImGui::SameLine();
    if (accentButton(player.playing() ? "Pause" : "Play", ImVec2(scaled(80), 0))) togglePlayback(editor);
    hoverTip("Play / pause  [Space]");
    ImGui::SameLine();
    if (ImGui::Button("Next >")) goToNextRally(editor);
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
