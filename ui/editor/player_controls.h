// The line under the timeline: previous / play / next, small jumps, the
// time, and the player's options.
#pragma once

namespace rallinox::ui {

struct EditorContext;

void drawPlayerControls(EditorContext& editor);
// Play when paused, pause when playing.
void togglePlayback(EditorContext& editor);

}  // namespace rallinox::ui
