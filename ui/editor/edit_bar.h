// The row of edit buttons under the player, acting on the highlighted rally at the current time.
#pragma once

namespace rallinox::ui {

struct EditorContext;

void drawEditBar(EditorContext& editor);

}  // namespace rallinox::ui
