// The whole match as one bar: the rallies, the unscored and unchecked marks,
// the playhead; clicking or dragging on it moves the player.
#pragma once

namespace rallinox::ui {

struct EditorContext;

void drawTimeline(EditorContext& editor, float width);

}  // namespace rallinox::ui
