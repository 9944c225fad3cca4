// The editor: one open project with its header, figures, the preview player
// with its timeline and controls, and the side panel with the rallies, the
// places to check and the score.
#pragma once

namespace rallinox::ui {

struct EditorContext;

void drawEditorScreen(EditorContext& editor);

}  // namespace rallinox::ui
