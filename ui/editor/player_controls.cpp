#include "ui/editor/player_controls.h"

#include <imgui.h>

#include <string>

#include "ui/editor/editor_context.h"
#include "ui/editor/editor_keys.h"
#include "ui/editor/editor_texts.h"
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
    // A narrow window puts what does not fit on a second line.
    FlowRow row;
    if (row.button("< Prev")) goToPreviousRally(editor);
    hoverTip("Previous rally  [P or Up]");
    if (row.accentButton(player.playing() ? "Pause" : "Play", ImVec2(scaled(80), 0))) togglePlayback(editor);
    hoverTip("Play / pause  [Space]");
    if (row.button("Next >")) goToNextRally(editor);
    hoverTip("Next rally  [N or Down]");
    if (row.button("-5s")) player.seek(player.position() - kJumpSec);
    if (row.button("+5s")) player.seek(player.position() + kJumpSec);
    const std::string times = formatClock(player.position()) + " / " + formatClock(player.duration());
    row.place(ImGui::CalcTextSize(times.c_str()).x);
    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted(times.c_str());
    row.place(checkboxWidth("Rallies only"));
    ImGui::Checkbox("Rallies only", &state.ralliesOnly);
    hoverTip("Skip the time between rallies while playing");
    // Without a sound device the preview is silent: the box says so instead of pretending.
    const bool noDevice = player.soundDeviceMissing();
    const std::string soundLabel = soundBoxLabel(noDevice);
    row.place(checkboxWidth(soundLabel.c_str()));
    ImGui::BeginDisabled(noDevice);
    bool sound = state.sound && !noDevice;
    if (ImGui::Checkbox(soundLabel.c_str(), &sound)) {
        state.sound = sound;
        player.setMuted(!state.sound);
    }
    ImGui::EndDisabled();
    if (noDevice && ImGui::IsItemHovered(ImGuiHoveredFlags_AllowWhenDisabled)) {
        ImGui::SetTooltip("No sound output was found on this computer: the preview plays without sound.");
    }
    row.place(scaled(80));
    ImGui::SetNextItemWidth(scaled(80));
    if (ImGui::Combo("##speed", &state.speedIndex, kPlaybackSpeedNames, IM_ARRAYSIZE(kPlaybackSpeedNames))) {
        player.setRate(kPlaybackSpeeds[state.speedIndex]);
    }
    hoverTip("Playback speed");
    if (row.button("Shortcuts")) state.shortcutsRequested = true;
    hoverTip("Keyboard shortcuts  [F1]");
}

}  // namespace rallinox::ui
