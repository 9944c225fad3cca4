// The preview picture with the text over it and, while paused, the play
// symbol; clicking the picture plays or pauses.
#pragma once

namespace rallinox::ui {

struct EditorContext;

void drawVideoView(EditorContext& editor, float columnWidth, float height);

}  // namespace rallinox::ui
