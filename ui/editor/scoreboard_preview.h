// The scoreboard over the preview picture while the playhead is inside a scored rally.
#pragma once

#include <imgui.h>

namespace rallinox::ui {

struct EditorContext;

// Draws the board over the image; returns its corner (0 top left, 1 top
// right, 2 bottom left) or -1 when no board is shown.
int drawScoreboardPreview(EditorContext& editor, ImDrawList* draw, ImVec2 imageMin, ImVec2 imageMax);

}  // namespace rallinox::ui
